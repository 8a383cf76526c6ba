// The room on the drive an install goes to, as the Windows 95 family
// reports it to a 32-bit program.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace engine {

// 'A' to 'Z' in either case give 1 to 26; anything else drive C (3).
int DriveNumberFromPath(const std::string& path);

// What the platform answers for a drive's root ("C:\", or nullptr for the
// current drive). GetDiskFreeSpaceA's three figures: Windows 95 OSR2 and 98
// cap the free clusters at 65536, so that no drive seems to hold more than
// 2 GB. GetDiskFreeSpaceExA's free bytes where the system has that call
// (from Windows 95 OSR2 on, not on the first release).
struct FreeSpaceReply {
    bool answered = false;
    std::uint32_t sectorsPerCluster = 0;
    std::uint32_t bytesPerSector = 0;
    std::uint32_t freeClusters = 0;
    bool exAnswered = false;
    std::uint64_t exFreeBytes = 0;
};
using FreeSpaceQuery = std::function<FreeSpaceReply(const char* root)>;

// Puts a query in the platform's place (tests: the figures of drives that
// cannot be made here); an empty one gives the platform back.
void SetFreeSpaceQuery(FreeSpaceQuery query);

// Free bytes from a reply: the Ex figure where there is one, else the
// product of the three figures; never negative; -1 for no answer.
std::int64_t FreeBytesFrom(const FreeSpaceReply& reply);

// Free bytes of a drive (1 = A:, 0 = the current drive); -1 when the drive
// cannot be asked.
std::int64_t DriveFreeBytes(int drive);

}  // namespace engine
