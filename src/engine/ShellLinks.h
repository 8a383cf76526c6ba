// Special folders of the Start menu and the shortcut files the install puts
// in them.
#pragma once

#include <shlobj.h>
#include <windows.h>

#include <string>

#include "engine/OleErrors.h"

namespace engine {

constexpr int kProgramsFolder = 2;  // CSIDL_PROGRAMS: the Start menu's program groups
constexpr int kStartupFolder = 7;   // CSIDL_STARTUP

// The folder's path without a trailing backslash; empty when the folder is
// unknown. Never raises.
std::string SpecialFolderPath(int folder);

// The path in a display name answer of the desktop folder: only an 8-bit
// string held inside the answer counts (at most 260 characters, up to the
// first zero); any other kind gives the empty text. Frees a wide string the
// answer may carry.
std::string DisplayNamePath(STRRET& name);

// Writes a shortcut file (an existing one is replaced) that starts `target`
// with `arguments` in `workingDirectory`. Raises EOleSysError when the link
// object cannot be made and EIntfCastError when it lacks an interface; a
// setter or save that fails goes unnoticed.
void CreateShellLink(const std::string& target, const std::string& arguments,
                     const std::string& workingDirectory, const std::string& linkFile);

}  // namespace engine
