#include "engine/DriveSpace.h"

#include <windows.h>

#include <limits>

namespace engine {

namespace {

using GetDiskFreeSpaceExFunction = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER,
                                                 PULARGE_INTEGER);

// Looked up, not imported: the first release of Windows 95 lacks it, and
// its loader refuses a program that imports a function it does not have.
GetDiskFreeSpaceExFunction DiskFreeSpaceEx() {
    static const auto function =
        reinterpret_cast<GetDiskFreeSpaceExFunction>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleA("KERNEL32.DLL"), "GetDiskFreeSpaceExA")));
    return function;
}

FreeSpaceReply AskPlatform(const char* root) {
    FreeSpaceReply reply;
    if (const GetDiskFreeSpaceExFunction ex = DiskFreeSpaceEx()) {
        ULARGE_INTEGER available{}, total{}, free{};
        if (ex(root, &available, &total, &free)) {
            reply.exAnswered = true;
            reply.exFreeBytes = available.QuadPart;
            return reply;
        }
    }
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (::GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters,
                            &totalClusters)) {
        reply.answered = true;
        reply.sectorsPerCluster = sectorsPerCluster;
        reply.bytesPerSector = bytesPerSector;
        reply.freeClusters = freeClusters;
    }
    return reply;
}

FreeSpaceQuery& Query() {
    static FreeSpaceQuery query;
    return query;
}

constexpr std::uint64_t kMostBytes = std::numeric_limits<std::int64_t>::max();

std::uint64_t Times(std::uint64_t a, std::uint64_t b) {
    return (a != 0 && b > kMostBytes / a) ? kMostBytes : a * b;
}

}  // namespace

int DriveNumberFromPath(const std::string& path) {
    if (!path.empty()) {
        const char c = path[0];
        if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
        if (c >= 'a' && c <= 'z') return c - 'a' + 1;
    }
    return 3;
}

void SetFreeSpaceQuery(FreeSpaceQuery query) { Query() = std::move(query); }

std::int64_t FreeBytesFrom(const FreeSpaceReply& reply) {
    std::uint64_t bytes = 0;
    if (reply.exAnswered) {
        bytes = reply.exFreeBytes;
    } else if (reply.answered) {
        // 64 x 512 x 65536 is 2^31: one more than a signed 32-bit product holds.
        bytes = Times(Times(reply.sectorsPerCluster, reply.bytesPerSector), reply.freeClusters);
    } else {
        return -1;
    }
    return static_cast<std::int64_t>(bytes < kMostBytes ? bytes : kMostBytes);
}

std::int64_t DriveFreeBytes(int drive) {
    char root[4] = {static_cast<char>(64 + drive), ':', '\\', '\0'};
    const char* asked = drive >= 1 ? root : nullptr;
    return FreeBytesFrom(Query() ? Query()(asked) : AskPlatform(asked));
}

}  // namespace engine
