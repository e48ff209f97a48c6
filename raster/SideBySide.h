// Two pieces of work run at the same time on the calling thread and one more.
#pragma once

#include <functional>

// Runs `first` on a second thread and `second` on this one, and returns when both are done.
// Without a reason to (`worthASecondThread` false), on a processor with one core, or when no
// thread can be had, both run here one after the other. An exception from either is raised here
// once both have ended (the first's when both raise).
void RunSideBySide(bool worthASecondThread, const std::function<void()>& first,
                   const std::function<void()>& second);
