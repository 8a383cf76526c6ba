#include "shortcut_view.h"

#include <shlobj.h>
#include <windows.h>

#include "driver_error.h"
#include "ui/handles.h"

namespace e2e {

std::optional<ShortcutView> ReadShortcut(const std::string& linkPath) {
    ui::ComApartment apartment;
    ui::ComPtr<IShellLinkA> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  link.ReceiveVoid())))
        throw DriverError("the shell's link object cannot be made");
    ui::ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.ReceiveVoid())))
        throw DriverError("the link object cannot load files");
    std::wstring wide(linkPath.begin(), linkPath.end());
    if (FAILED(file->Load(wide.c_str(), STGM_READ))) return std::nullopt;
    ShortcutView view;
    char text[MAX_PATH] = "";
    WIN32_FIND_DATAA data;
    if (SUCCEEDED(link->GetPath(text, sizeof text, &data, SLGP_RAWPATH))) view.target = text;
    text[0] = '\0';
    if (SUCCEEDED(link->GetWorkingDirectory(text, sizeof text))) view.workingDirectory = text;
    text[0] = '\0';
    if (SUCCEEDED(link->GetArguments(text, sizeof text))) view.arguments = text;
    text[0] = '\0';
    if (SUCCEEDED(link->GetDescription(text, sizeof text))) view.description = text;
    text[0] = '\0';
    if (SUCCEEDED(link->GetIconLocation(text, sizeof text, &view.iconIndex))) view.iconFile = text;
    link->GetShowCmd(&view.showCommand);
    WORD hotkey = 0;
    if (SUCCEEDED(link->GetHotkey(&hotkey))) view.hotkey = hotkey;
    return view;
}

}  // namespace e2e
