// The velmora-batch commands; each returns the process's exit status (0 or 1).
#pragma once

#include "batch/Arguments.h"

int RunFish(const Options& options);
int RunRotate(const Options& options);
int RunAccessory(const Options& options);
int RunPreview(const Options& options);
int RunPen(const Options& options);
int RunConvert(const Options& options);
int RunCheck(const Options& options);
