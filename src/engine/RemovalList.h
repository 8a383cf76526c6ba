// What a removal deletes: the records in the registry, the driver file, the
// shortcuts, and the component files under the install directory. The same
// lists serve whatever components were installed; an entry that matches
// nothing is passed over.
#pragma once

#include <cstddef>
#include <string>

namespace engine {

class TRegistry;

// The records, in the order they go: the removable-software entry first, so
// that the platform stops offering a removal that is under way, then the
// installation record, then the driver registration. The vendor key above
// the installation record stays: other products of the vendor may live there.
extern const char* const kRemovedRecordKeys[3];

// How often a record key that is present is tried before the removal goes on
// without it, and the pause between two tries. The platform refuses a
// deletion for reasons that last (no rights) far more often than for passing
// ones, so a few tries suffice, and the window takes no input meanwhile.
constexpr int kKeyDeletionTries = 5;
constexpr unsigned kKeyDeletionPauseMs = 100;

// Deletes each record key that `registry` finds present (paths from its
// root; no key may be open), with everything below it, retrying a failed
// deletion up to kKeyDeletionTries times in all. True when none of them is
// left.
bool DeleteInstallationRecords(TRegistry& registry);

// Names joined to the platform's folders as they come (no trailing backslash).
inline constexpr char kDriverFileName[] = "\\quarnel.vxd";
inline constexpr char kMenuGroupName[] = "\\Quarnel";
inline constexpr char kMenuGroupShortcuts[] = "\\Quarnel\\*.lnk";
inline constexpr char kStartupShortcutName[] = "\\Wardex.lnk";

// Component files, relative to the install directory, in deletion order;
// names or wildcard masks. Files a component writes while it runs (logs,
// saved drive data) are here too; the readme, the diskware and every
// directory are not.
inline constexpr std::size_t kComponentFileCount = 21;
extern const char* const kComponentFiles[kComponentFileCount];

// The directory whose presence tells that component files may be there at
// all; it guards the whole list, every component's entries included.
inline constexpr char kComponentGuardDirectory[] = "WARDEX";

// Deletes the component files below `installDir` (which ends in a
// backslash) when its Wardex directory is present. A file that cannot be
// deleted stays, logged with its reason; the later matches of its mask and
// the next entries are tried all the same. True when nothing stayed (what
// the next Windows start deletes counts as gone).
bool DeleteComponentFiles(const std::string& installDir);

}  // namespace engine
