// Special folders of the Start menu and the shortcut files the install puts
// in them.
#pragma once

#include <shlobj.h>
#include <windows.h>

#include <functional>
#include <string>

#include "engine/OleErrors.h"

namespace engine {

constexpr int kProgramsFolder = 2;  // CSIDL_PROGRAMS: the Start menu's program groups
constexpr int kStartupFolder = 7;   // CSIDL_STARTUP

// The folder's path without a trailing backslash; empty when the folder is
// unknown. Never raises.
std::string SpecialFolderPath(int folder);
// The same, with a folder that the shell does not give logged as an error,
// followed by what its absence costs (`lost`).
std::string SpecialFolderPathOrLogged(int folder, const char* lost);

// The path in a display name answer of the desktop folder for `items`, in
// whichever of its forms the shell gave it: an 8-bit string held inside the
// answer (at most 260 characters, up to the first zero), one at an offset
// into the item list, or a wide string, which is freed with `allocator`
// (the shell's, as the answer's owner) and taken in the ANSI code page.
// Empty when the answer holds no text, or a wide one with a character the
// code page lacks (the 8-bit file routines could not name it).
std::string DisplayNamePath(STRRET& name, LPCITEMIDLIST items, IMalloc& allocator);

// How the desktop folder is asked for the parsing name of a folder's item
// list: its GetDisplayNameOf. Windows 95 and 98 may answer in any form of
// STRRET; Wine answers in one only, so tests put a query here that answers
// in another. An empty one puts the desktop folder's own back.
using DisplayNameQuery =
    std::function<HRESULT(IShellFolder& desktop, LPCITEMIDLIST items, STRRET& name)>;
void SetDisplayNameQuery(DisplayNameQuery query);

// Writes a shortcut file (an existing one is replaced) that starts `target`
// with `arguments` in `workingDirectory`. Raises EOleSysError when the link
// object cannot be made and EIntfCastError when it lacks an interface; a
// setter or save that fails goes unnoticed.
void CreateShellLink(const std::string& target, const std::string& arguments,
                     const std::string& workingDirectory, const std::string& linkFile);

}  // namespace engine
