// The status MIF a distribution tool (Systems Management Server) reads after
// it ran the program: a small text file in the Windows directory naming the
// product and telling success or failure in words. Its product, manufacturer
// and version are those the package definition on the medium gives as its
// MIF keys, so that the tool pairs the file with the package.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>

#include "engine/InstallRecords.h"
#include "ui/path_text.h"

namespace engine::mif {

inline constexpr char kManufacturer[] = "Brenvik";
inline constexpr char kProduct[] = "Quarnel";
inline constexpr const char* kVersion = records::kVersion;
inline constexpr char kLocale[] = "ENU";
inline constexpr char kExtension[] = ".MIF";

// The package definition's limit for the file's name without ".MIF", and
// the reader's for the description.
inline constexpr std::size_t kLongestName = 50;
inline constexpr std::size_t kLongestDescription = 128;

// What the file says: the outcome and, on a failure, the error text the log has.
struct Status {
    bool success = false;
    std::string description;
};

}  // namespace engine::mif

namespace engine {

// Reads the value of /MIF=: a plain file name, given with or without ".MIF",
// into `name` without it. An error text, and `name` untouched, when it
// cannot name a file in the Windows directory.
std::string ReadMifName(const std::string& value, std::string& name);

// The whole file in the layout the SMS SDK's own writer produced, with CR LF
// line ends. Each value is written as the MIF grammar reads strings (a
// backslash, a double quote and a control character escaped), and cut to
// its limit, escapes counted, before a whole escape or character.
std::string StatusMifText(const mif::Status& status, ui::LeadByteTest isLead);

struct SetupCommandLine;

// With /MIF=, writes the file of the run's outcome in the Windows directory,
// replacing an older one whole: success for the exit codes of a completed
// run, with `summary`; otherwise failure with the last error the log has.
void WriteStatusMif(const SetupCommandLine& line, int exitCode, const std::string& summary);

}  // namespace engine
