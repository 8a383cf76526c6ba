#include "engine/DriveSpace.h"

#include <windows.h>

namespace engine {

int DriveNumberFromPath(const std::string& path) {
    if (!path.empty()) {
        const char c = path[0];
        if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
        if (c >= 'a' && c <= 'z') return c - 'a' + 1;
    }
    return 3;
}

std::int32_t DriveFreeBytes(int drive) {
    char root[4] = {static_cast<char>(64 + drive), ':', '\\', '\0'};
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!::GetDiskFreeSpaceA(drive >= 1 ? root : nullptr, &sectorsPerCluster, &bytesPerSector,
                             &freeClusters, &totalClusters))
        return -1;
    const std::uint32_t product =
        static_cast<std::uint32_t>(sectorsPerCluster) * bytesPerSector * freeClusters;
    return static_cast<std::int32_t>(product);
}

}  // namespace engine
