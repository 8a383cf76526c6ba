// What a test needs of the host that Wine runs on: the host path of a path
// in the prefix, drive letters mapped to host directories, and symbolic links
// the prefix's own platform cannot make. Every such test works inside its
// own temporary directory and puts back what it changed.
#pragma once

#include <string>

namespace testing_support {

// The host path Wine keeps `windowsPath` at; "" where it cannot tell.
std::string HostPathOf(const std::string& windowsPath);

// Maps drive `letter` to the host directory as a drive of `type` (DRIVE_FIXED,
// DRIVE_CDROM, ...), or takes the mapping away when `hostDir` is empty,
// through Wine's mount manager. Answers whether it did.
bool DefineHostDrive(char letter, const std::string& hostDir, unsigned type = 3);

// A drive letter that names nothing in the prefix, from Y down; 0 when all
// are taken.
char FreeDriveLetter();

// A drive letter mapped to a directory of the prefix for as long as the
// object lives, a fixed disk unless `type` says otherwise (DRIVE_CDROM for a
// disc); whatever "X:" names on it, current directory or root, lies in that
// directory.
class ScopedDriveLetter {
public:
    explicit ScopedDriveLetter(const std::string& directory, unsigned type = 3);
    ~ScopedDriveLetter();
    ScopedDriveLetter(const ScopedDriveLetter&) = delete;
    ScopedDriveLetter& operator=(const ScopedDriveLetter&) = delete;
    // "X:", or "" when no letter could be mapped.
    std::string Drive() const;

private:
    char letter_ = 0;
};

// A host symbolic link at `link` (a path in the prefix) to `target`, made
// and taken away by the host's own programs: the prefix's platform makes
// none, and its deletion of a link reaches the link's target.
class HostLink {
public:
    HostLink(const std::string& link, const std::string& target);
    ~HostLink();
    HostLink(const HostLink&) = delete;
    HostLink& operator=(const HostLink&) = delete;
    bool Made() const { return made_; }

private:
    std::string link_;
    std::string hostLink_;
    bool made_ = false;
};

}  // namespace testing_support
