// Where the driver finds the shipped build and puts its screenshots. The
// build hands over host paths; inside the prefix the host's root is drive Z:.
#pragma once

#include <string>

namespace e2e {

// "/tmp/build" gives "Z:\tmp\build"; a path that already names a drive keeps
// its drive and only has its slashes turned into backslashes.
std::string WindowsPathOf(const std::string& path);

// "dir" + "\" + "name", without doubling a separator that "dir" already ends in.
std::string JoinPath(const std::string& dir, const std::string& name);

// The value of an environment variable, or "" when it is not set.
std::string EnvironmentText(const char* name);

// The directory of the shipped setup.exe: env QUARNEL_SHIPPED_DIR, else the
// directory the test build was configured with.
std::string ShippedDir();

// Where screenshots go: env QUARNEL_SCREENSHOTS, else screenshots/ in the
// test's build directory. Made on first use.
std::string ScreenshotDir();

// Makes a directory and its missing parents; answers whether it exists after.
bool MakeDirectories(const std::string& path);

bool FileExists(const std::string& path);

// Deletes a directory with everything in it; what cannot be deleted stays.
void RemoveDirectoryTree(const std::string& dir);

}  // namespace e2e
