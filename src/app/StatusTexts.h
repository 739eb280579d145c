// The progress window's texts, which the interactive and the silent run
// show alike.
#pragma once

#include "ui/SetupCallback.h"

#include <string>

// The message for each step.
std::string StatusText(const StatusStep& step);

// The count beside the progress bar: "42%(5/12)", with the share the bar
// shows.
std::string ProgressCountText(int shownPercent, const CopyProgress& progress);
