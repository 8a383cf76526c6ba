// Registry accessor for one group of registry work: the caller makes it, sets
// the root, opens a key, reads or writes values, closes the key and frees it.
// At most one key is open at a time; opening another closes the previous one.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "ui/exceptions.h"
#include "ui/handles.h"

namespace engine {

// A value that cannot be written or read back as text.
class ERegistryException : public ui::Exception {
public:
    using Exception::Exception;
};

class TRegistry {
public:
    // Root HKEY_CURRENT_USER, no key open.
    TRegistry() = default;
    // Closes the current key.
    ~TRegistry() = default;
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey() const { return root_; }
    // A different root closes the current key.
    void SetRootKey(HKEY root);

    HKEY CurrentKey() const { return current_.Get(); }
    const std::string& CurrentPath() const { return currentPath_; }
    // Closing a key only closes its handle; nothing is ever flushed.
    bool LazyWrite() const { return true; }

    // A path with a leading backslash starts at the root; any other path at
    // the current key, or at the root while none is open. With `canCreate`
    // missing keys along the path are made. On failure nothing changes.
    bool OpenRegistryKey(const std::string& path, bool canCreate);
    void CloseRegistryKey();

    // REG_SZ without a terminating zero: the size is the text's length.
    void WriteTextValue(const std::string& name, const std::string& text);
    void WriteByteValue(const std::string& name, const void* bytes, std::size_t count);
    // Empty when the value is missing; raises for data that is not text.
    std::string ReadTextValue(const std::string& name) const;

    bool RegistryKeyPresent(const std::string& path) const;
    // Deletes the key with everything below it; true when the key itself went.
    bool DeleteRegistryTree(const std::string& path);

private:
    struct Location {
        HKEY base;
        std::string path;  // without the leading backslash of an absolute path
        bool relative;
    };
    Location Locate(const std::string& path) const;

    HKEY root_ = HKEY_CURRENT_USER;
    ui::RegKey current_;
    std::string currentPath_;
};

}  // namespace engine
