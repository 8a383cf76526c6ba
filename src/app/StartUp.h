// The start of a run: the command line decides between the unattended run
// and the windows, and presets the setup window.
#pragma once

#include <string>

namespace app {

// Runs the program for the command line after its name; answers the exit
// code. Without any switch: the agreement, then the setup window, as ever.
int RunSetup(const std::string& arguments, int showCommand);

}  // namespace app
