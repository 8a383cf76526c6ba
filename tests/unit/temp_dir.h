// A fresh directory under the platform's temporary directory, removed with
// everything in it (read-only files included) when the test ends.
#pragma once

#include <windows.h>

#include <string>

namespace testing_support {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory with a trailing backslash.
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + relative; }

private:
    std::string path_;
};

// Writes `size` bytes of a repeating pattern; answers whether it worked.
bool WriteFileOfSize(const std::string& path, size_t size);
std::string ReadWholeFile(const std::string& path);

// Restores the process's current directory when it goes out of scope.
class CurrentDirectoryScope {
public:
    explicit CurrentDirectoryScope(const std::string& directory);
    ~CurrentDirectoryScope();
    CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
    CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;
    bool Entered() const { return entered_; }

private:
    std::string previous_;
    bool entered_;
};

}  // namespace testing_support
