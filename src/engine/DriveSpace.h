// The room on the drive an install goes to, as the Windows 95 family
// reports it to a 32-bit program.
#pragma once

#include <cstdint>
#include <string>

namespace engine {

// 'A' to 'Z' in either case give 1 to 26; anything else drive C (3).
int DriveNumberFromPath(const std::string& path);

// Free bytes of a drive (1 = A:, 0 = the current drive) as the signed 32-bit
// product of the platform's three figures; -1 when the drive cannot be asked.
std::int32_t DriveFreeBytes(int drive);

}  // namespace engine
