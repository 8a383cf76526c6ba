// Reads shortcuts back through the shell, one line per field, so that the
// shortcuts two installs made can be compared as the shell sees them: their
// files also hold the times of their targets, which differ from run to run.
//   read_shortcut.exe LINK...
#include <shlobj.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "ui/handles.h"

namespace {

bool PrintShortcut(const char* path) {
    ui::ComPtr<IShellLinkA> link;
    ui::ComPtr<IPersistFile> file;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  link.ReceiveVoid())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.ReceiveVoid())))
        return false;
    const std::string narrow(path);
    const std::wstring wide(narrow.begin(), narrow.end());
    if (FAILED(file->Load(wide.c_str(), STGM_READ))) return false;
    char text[MAX_PATH] = "";
    WIN32_FIND_DATAA found;
    if (FAILED(link->GetPath(text, sizeof text, &found, SLGP_RAWPATH))) text[0] = '\0';
    std::printf("target=%s\n", text);
    text[0] = '\0';
    link->GetArguments(text, sizeof text);
    std::printf("arguments=%s\n", text);
    text[0] = '\0';
    link->GetWorkingDirectory(text, sizeof text);
    std::printf("directory=%s\n", text);
    text[0] = '\0';
    link->GetDescription(text, sizeof text);
    std::printf("description=%s\n", text);
    text[0] = '\0';
    int icon = 0;
    link->GetIconLocation(text, sizeof text, &icon);
    std::printf("icon=%s,%d\n", text, icon);
    int show = 0;
    link->GetShowCmd(&show);
    WORD hotkey = 0;
    link->GetHotkey(&hotkey);
    std::printf("show=%d hotkey=%u\n", show, hotkey);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    ui::ComApartment apartment;
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        if (!PrintShortcut(argv[i])) {
            std::printf("unreadable\n");
            status = 1;
        }
    }
    return status;
}
