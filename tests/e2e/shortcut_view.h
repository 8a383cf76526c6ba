// A shortcut as the shell reads it back: what the scenarios check of the
// shortcuts an install made, and what the shipped file's check compares
// between two installs (the link files also hold their targets' times,
// which differ from run to run).
#pragma once

#include <optional>
#include <string>

namespace e2e {

struct ShortcutView {
    std::string target;
    std::string workingDirectory;
    std::string arguments;
    std::string description;
    std::string iconFile;
    int iconIndex = 0;
    int showCommand = 0;
    unsigned hotkey = 0;
};

// A shortcut loaded back through the shell; nothing when it cannot be
// loaded. Raises DriverError when the shell's link object cannot be made.
std::optional<ShortcutView> ReadShortcut(const std::string& linkPath);

}  // namespace e2e
