// The platform's own words for a failure code, as the log and the error
// boxes quote them.
#pragma once

#include <windows.h>

#include <string>

namespace engine {

// The system's text for `code` without its line end and full stop (a box
// adds its own full stop); empty when the system has none.
std::string SystemErrorText(DWORD code);

}  // namespace engine
