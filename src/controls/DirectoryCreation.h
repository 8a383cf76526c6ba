// Directory tests and the creation of a directory with its missing parents,
// as the select-directory dialog performs it.
#pragma once

#include <string>

namespace controls {

// True when the platform reports attributes for the path and they include
// the directory attribute.
bool DirectoryExists(const std::string& path);

// Creates the directory and any missing parents. An empty path raises
// ui::Exception "Unable to create directory"; a creation that fails is not
// reported (the caller finds out by testing the directory).
void ForceDirectories(const std::string& path);

// The directory part of a path with its last separator: "C:\A\" for
// "C:\A\B", "C:" for "C:B", "" for a bare name.
std::string ExtractFilePath(const std::string& path);

// The path without a trailing backslash, kept where the path is no longer
// than `keep` characters (a drive's root "C:\" keeps its own).
std::string WithoutTrailingBackslash(std::string path, std::size_t keep);

}  // namespace controls
