#include "controls/BrowseFolderDialog.h"

#include <shlobj.h>

#include "ui/handles.h"

namespace controls {
namespace {

int CALLBACK SelectStartFolder(HWND dialog, UINT message, LPARAM, LPARAM start) {
    if (message == BFFM_INITIALIZED) ::SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, start);
    return 0;
}

}  // namespace

bool BrowseForFolder(std::string& directory, const std::string& prompt, HWND owner) {
    char display[MAX_PATH] = "";
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pszDisplayName = display;
    info.lpszTitle = prompt.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = &SelectStartFolder;
    info.lParam = reinterpret_cast<LPARAM>(directory.c_str());
    LPITEMIDLIST chosen = ::SHBrowseForFolderA(&info);
    if (chosen == nullptr) return false;
    char path[MAX_PATH] = "";
    const bool ok = ::SHGetPathFromIDListA(chosen, path) != FALSE;
    ui::ComPtr<IMalloc> allocator;
    if (SUCCEEDED(::SHGetMalloc(allocator.Receive()))) allocator->Free(chosen);
    if (ok) directory = path;
    return ok;
}

}  // namespace controls
