// The screenshot tool's registry: each file in this folder registers the windows it renders,
// one PNG per window named after its role.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

struct TScreenshot {
    std::string role;                // file name without ".png", e.g. "main"
    std::function<QWidget*()> stage; // brings the window into a realistic state, returns it
};

std::vector<TScreenshot>& Screenshots();

// Registers at static initialisation: `static TRegisterScreenshot shot{"main", [] {...}};`
struct TRegisterScreenshot {
    TRegisterScreenshot(std::string role, std::function<QWidget*()> stage) {
        Screenshots().push_back({std::move(role), std::move(stage)});
    }
};
