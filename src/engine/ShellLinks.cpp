#include "engine/ShellLinks.h"

#include <objidl.h>

#include <cstring>

#include "engine/SetupLog.h"
#include "ui/handles.h"

namespace engine {

namespace {

constexpr DWORD kServerContext = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER;

std::wstring WideFromAnsi(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length =
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

}  // namespace

std::string DisplayNamePath(STRRET& name) {
    if (name.uType == STRRET_WSTR) {
        // Not taken as a path, but the memory is the caller's to free.
        ui::CoTaskMem<WCHAR> owned;
        *owned.Receive() = name.pOleStr;
        name.pOleStr = nullptr;
        return std::string();
    }
    if (name.uType != STRRET_CSTR) return std::string();
    const char* text = name.cStr;
    const void* zero = std::memchr(text, '\0', sizeof(name.cStr));
    const size_t length = zero != nullptr
                              ? static_cast<size_t>(static_cast<const char*>(zero) - text)
                              : sizeof(name.cStr);
    return std::string(text, length);
}

std::string SpecialFolderPath(int folder) {
    ui::CoTaskMem<ITEMIDLIST> items;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, folder, items.Receive()))) return "";
    ui::ComPtr<IShellFolder> desktop;
    if (FAILED(::SHGetDesktopFolder(desktop.Receive()))) return "";
    // The parsing form is the file-system path; the plain form is a friendly
    // name such as "Programs", which taken as a path would put the menu group
    // under the current directory.
    STRRET name{};
    if (FAILED(desktop->GetDisplayNameOf(items.Get(), SHGDN_FORPARSING, &name))) return "";
    return DisplayNamePath(name);
}

void CreateShellLink(const std::string& target, const std::string& arguments,
                     const std::string& workingDirectory, const std::string& linkFile) {
    ui::ComPtr<IUnknown> object;
    const HRESULT created = ::CoCreateInstance(CLSID_ShellLink, nullptr, kServerContext,
                                               IID_IUnknown, object.ReceiveVoid());
    if (FAILED(created)) throw EOleSysError(created);

    ui::ComPtr<IShellLinkA> link;
    ui::ComPtr<IPersistFile> file;
    if (FAILED(object->QueryInterface(IID_IShellLinkA, link.ReceiveVoid())) ||
        FAILED(object->QueryInterface(IID_IPersistFile, file.ReceiveVoid()))) {
        throw EIntfCastError();
    }

    link->SetPath(target.c_str());
    link->SetArguments(arguments.c_str());
    link->SetWorkingDirectory(workingDirectory.c_str());
    // FALSE: the object does not take the file as its current one.
    const std::wstring path = WideFromAnsi(linkFile);
    if (SUCCEEDED(file->Save(path.c_str(), FALSE))) {
        LogLine("Shortcut created: " + linkFile + " to " + target);
    } else {
        LogError("Cannot save shortcut " + linkFile);
    }
}

}  // namespace engine
