#include "engine/ComponentTable.h"

#include <algorithm>
#include <cstring>

namespace engine {

const std::array<Component, kComponentCount>& ComponentTable() {
    static const std::array<Component, kComponentCount> table = {{
        {"Wardex",
         {"WARDEX\\", nullptr, nullptr},
         {{{"wardex.", "WARDEX\\wardex.exe", "Copying Wardex Executable"},
           {"alert.", "WARDEX\\alert.wav", nullptr}}},
         {"\\Quarnel\\Wardex.lnk", "WARDEX\\WARDEX.EXE", "Creating Wardex shortcut"}},
        {"Pelkin",
         {"PELKIN\\", nullptr, nullptr},
         {{{"pelkin.", "PELKIN\\pelkin.exe", "Copying Pelkin Executable"}, {}}},
         {"\\Quarnel\\Pelkin.lnk", "PELKIN\\PELKIN.EXE", "Creating Pelkin shortcut"}},
        {"Orvane",
         {"ORVANE\\", nullptr, nullptr},
         {{{"orvane.", "ORVANE\\orvane.exe", "Copying Orvane Executable"}, {}}},
         {"\\Quarnel\\Orvane.lnk", "ORVANE\\ORVANE.EXE", "Creating Orvane shortcut"}},
        {"Sulmet",
         {"SULMET\\", nullptr, nullptr},
         {{{"sulmet.", "SULMET\\sulmet.exe", "Copying Sulmet Executable"}, {}}},
         {"\\Quarnel\\Sulmet.lnk", "SULMET\\SULMET.EXE", "Creating Sulmet shortcut"}},
        // Defects is made empty, for the program to fill; the diskware goes
        // in before the executable that reads it.
        {"Trivel",
         {"TRIVEL\\", "TRIVEL\\Defects", "TRIVEL\\Diskware"},
         {{{"keldan.", "TRIVEL\\Diskware\\keldan.dw", "Copying KELDAN diskware"},
           {"trivel.", "TRIVEL\\trivel.exe", "Copying Trivel Executable"}}},
         {"\\Quarnel\\Trivel.lnk", "TRIVEL\\TRIVEL.EXE", "Creating Trivel shortcut"}},
    }};
    return table;
}

std::size_t LongestInstalledName() {
    std::size_t longest =
        std::max(std::strlen(kInstalledSetupName) + 1, std::strlen(kReadmeCopyName));
    for (const Component& component : ComponentTable()) {
        for (const char* directory : component.directories) {
            if (directory != nullptr) longest = std::max(longest, std::strlen(directory));
        }
        for (const ComponentFile& file : component.files) {
            if (file.source != nullptr) longest = std::max(longest, std::strlen(file.destination));
        }
    }
    return longest;
}

std::size_t LongestInstalledDirectory() {
    std::size_t longest = 0;
    for (const Component& component : ComponentTable()) {
        for (const char* directory : component.directories) {
            if (directory == nullptr) continue;
            std::size_t length = std::strlen(directory);
            if (length > 0 && directory[length - 1] == '\\') --length;
            longest = std::max(longest, length);
        }
    }
    return longest;
}

std::size_t LongestInstallDirectory() {
    // Every file lies in one of the directories, so the longest directory
    // also bounds the one a temporary beside a file in use is made in.
    const std::size_t directory = LongestInstalledDirectory();
    return std::min({kLongestPath - LongestInstalledName(), kLongestDirectory - directory,
                     kLongestTemporaryDirectory - directory});
}

}  // namespace engine
