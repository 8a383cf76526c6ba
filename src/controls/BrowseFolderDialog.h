// The platform's shell folder browser (TBrowseFolderDlg): a tree of the
// shell's folders with a prompt above it.
#pragma once

#include <windows.h>

#include <string>

namespace controls {

// Opens the browser at `directory`; on OK answers true and leaves the chosen
// file-system folder in `directory`.
bool BrowseForFolder(std::string& directory, const std::string& prompt, HWND owner);

}  // namespace controls
