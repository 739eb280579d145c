// The usage text of /? and of a command line that is not understood.
#pragma once

enum class UsageOutput {
    ConsoleOrBox,  // the calling console or a redirected output when there is one, else a box
    Box,
};

void ShowUsage(UsageOutput output);
