#include "engine/ShellLinks.h"

#include <objidl.h>

#include <cstddef>
#include <cstring>
#include <utility>

#include "engine/FileUtil.h"
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

// The text of `text` up to its first zero, or all `room` characters.
std::string TextUpToZero(const char* text, std::size_t room) {
    const void* zero = std::memchr(text, '\0', room);
    return std::string(text, zero != nullptr
                                 ? static_cast<std::size_t>(static_cast<const char*>(zero) - text)
                                 : room);
}

// Bytes of an item list, its terminating zero count included.
std::size_t ItemListSize(LPCITEMIDLIST items) {
    if (items == nullptr) return 0;
    const auto* bytes = reinterpret_cast<const BYTE*>(items);
    std::size_t size = 0;
    for (;;) {
        USHORT length;
        std::memcpy(&length, bytes + size, sizeof length);
        if (length == 0) return size + sizeof length;
        size += length;
    }
}

// The ANSI form of a wide text; empty when a character has none.
std::string AnsiFromWide(const wchar_t* wide) {
    const int length = ::WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return std::string();
    std::string text(static_cast<std::size_t>(length), '\0');
    BOOL defaulted = FALSE;
    ::WideCharToMultiByte(CP_ACP, 0, wide, -1, &text[0], length, nullptr, &defaulted);
    if (defaulted) return std::string();
    text.resize(static_cast<std::size_t>(length) - 1);
    return text;
}

DisplayNameQuery& NameQuery() {
    static DisplayNameQuery query;
    return query;
}

}  // namespace

std::string DisplayNamePath(STRRET& name, LPCITEMIDLIST items, IMalloc& allocator) {
    switch (name.uType) {
        case STRRET_CSTR:
            return TextUpToZero(name.cStr, sizeof(name.cStr));
        case STRRET_OFFSET: {
            // Within the item list only: its identifiers, then its two-byte end.
            const std::size_t size = ItemListSize(items);
            if (items == nullptr || name.uOffset >= size) return std::string();
            return TextUpToZero(reinterpret_cast<const char*>(items) + name.uOffset,
                                size - name.uOffset);
        }
        case STRRET_WSTR: {
            const LPWSTR wide = name.pOleStr;
            name.pOleStr = nullptr;
            if (wide == nullptr) return std::string();
            const std::string text = AnsiFromWide(wide);
            allocator.Free(wide);
            return text;
        }
        default:
            return std::string();
    }
}

void SetDisplayNameQuery(DisplayNameQuery query) { NameQuery() = std::move(query); }

std::string SpecialFolderPath(int folder) {
    // The item list and a wide answer are the shell's memory, freed with its
    // own allocator.
    ui::ComPtr<IMalloc> allocator;
    if (FAILED(::SHGetMalloc(allocator.Receive()))) return "";
    ui::AllocatorMemory<ITEMIDLIST> items(*allocator.Get());
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, folder, items.Receive()))) return "";
    ui::ComPtr<IShellFolder> desktop;
    if (FAILED(::SHGetDesktopFolder(desktop.Receive()))) return "";
    // The parsing form is the file-system path; the plain form is a friendly
    // name such as "Programs", which taken as a path would put the menu group
    // under the current directory.
    STRRET name{};
    const HRESULT answered = NameQuery()
                                 ? NameQuery()(*desktop.Get(), items.Get(), name)
                                 : desktop->GetDisplayNameOf(items.Get(), SHGDN_FORPARSING, &name);
    if (FAILED(answered)) return "";
    return DisplayNamePath(name, items.Get(), *allocator.Get());
}

std::string SpecialFolderPathOrLogged(int folder, const char* lost) {
    const std::string path = SpecialFolderPath(folder);
    if (path.empty()) {
        LogError(std::string("Cannot find the ") +
                 (folder == kProgramsFolder ? "Programs" : "Startup") + " folder; " + lost);
    }
    return path;
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

    // The link keeps the paths as the platform is given them: Windows
    // resolves its target at every start.
    link->SetPath(PlatformPath(target).c_str());
    link->SetArguments(arguments.c_str());
    link->SetWorkingDirectory(PlatformPath(workingDirectory).c_str());
    // FALSE: the object does not take the file as its current one.
    const std::wstring path = WideFromAnsi(PlatformPath(linkFile));
    if (SUCCEEDED(file->Save(path.c_str(), FALSE))) {
        LogLine("Shortcut created: " + PlatformPath(linkFile) + " to " + PlatformPath(target));
    } else {
        LogError("Cannot save shortcut " + PlatformPath(linkFile));
    }
}

}  // namespace engine
