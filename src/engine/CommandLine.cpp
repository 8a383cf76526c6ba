#include "engine/CommandLine.h"

#include <cstddef>
#include <vector>

#include "engine/AsciiText.h"
#include "engine/StatusMif.h"

namespace engine {

std::string ReadComponentList(const std::string& list, const std::string& where,
                              std::array<bool, kComponentCount>& ticks) {
    ticks.fill(false);
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        const std::string name =
            Trimmed(list.substr(start, comma == std::string::npos ? comma : comma - start));
        if (name.empty()) return "A component name is missing in " + where + list;
        bool known = false;
        for (std::size_t i = 0; i < kComponentCount; ++i) {
            if (SameName(name, ComponentTable()[i].name)) ticks[i] = known = true;
        }
        if (!known) return "Unknown component: " + name;
        if (comma == std::string::npos) return "";
        start = comma + 1;
    }
}

namespace {

// The value of a switch that names a file the run writes or reads, into
// `file` only when it is taken. Opened, a printer port or a serial line can
// hold the run up for as long as nobody answers it, and on Windows 95/98 a
// name under \\.\ opens, or loads, a virtual device driver.
std::string ReadFileName(const std::string& name, const std::string& value, std::string& file) {
    if (Trimmed(value).empty()) return name + " needs a file name";
    if (NamesDevice(value)) return name + " names a device, not a file: " + value;
    file = value;
    return "";
}

// One switch the program knows: its name as typed before any "=", whether
// it takes a value, and what reading it does to the line (an error text
// when the value is refused, and then the line is left as it was).
struct SwitchRule {
    const char* name;
    bool takesValue;
    std::string (*read)(SetupCommandLine& line, const std::string& value);
};

std::string ReadMifSwitch(SetupCommandLine& line, const std::string& value) {
    return ReadMifName(value, line.mifName);
}

const SwitchRule kSwitches[] = {
    {"/SILENT", false,
     [](SetupCommandLine& line, const std::string&) {
         line.silent = true;
         return std::string();
     }},
    {"/REMOVE", false,
     [](SetupCommandLine& line, const std::string&) {
         line.remove = true;
         return std::string();
     }},
    {"/NOMENU", false,
     [](SetupCommandLine& line, const std::string&) {
         line.menuGroup = false;
         return std::string();
     }},
    {"/NOSTARTUP", false,
     [](SetupCommandLine& line, const std::string&) {
         line.startupShortcut = false;
         return std::string();
     }},
    {"/DIR", true,
     [](SetupCommandLine& line, const std::string& value) {
         // A blank-only directory is as empty as none: the field would
         // hold nothing but blanks, and no directory has such a name.
         line.directoryGiven = true;
         line.directory = value;
         return Trimmed(value).empty() ? std::string("/DIR= needs a directory") : std::string();
     }},
    {"/COMPONENTS", true,
     [](SetupCommandLine& line, const std::string& value) {
         line.componentsGiven = true;
         return ReadComponentList(value, "/COMPONENTS=", line.components);
     }},
    {"/LOG", true,
     [](SetupCommandLine& line, const std::string& value) {
         return ReadFileName("/LOG=", value, line.logFile);
     }},
    {"/MIF", true, ReadMifSwitch},
    {"/SAVEINF", true,
     [](SetupCommandLine& line, const std::string& value) {
         return ReadFileName("/SAVEINF=", value, line.saveAnswerFile);
     }},
    {"/LOADINF", true,
     [](SetupCommandLine& line, const std::string& value) {
         return ReadFileName("/LOADINF=", value, line.loadAnswerFile);
     }},
};

constexpr std::size_t kSwitchCount = sizeof kSwitches / sizeof kSwitches[0];

// The rule an argument is read by; kSwitchCount when none fits.
std::size_t RuleOf(const std::string& name, bool hasValue) {
    for (std::size_t i = 0; i < kSwitchCount; ++i)
        if (kSwitches[i].takesValue == hasValue && SameName(name, kSwitches[i].name)) return i;
    return kSwitchCount;
}

// True when a double quote opens a stretch that nothing closes.
bool HasUnclosedQuote(const std::string& arguments) {
    bool quoted = false;
    for (const char c : arguments)
        if (c == '"') quoted = !quoted;
    return quoted;
}

}  // namespace

bool NamesDevice(const std::string& path) {
    // The device namespace, whatever follows: "\\.\NAME" is a driver on
    // Windows 95/98 and any device on NT, "\\?\" hands the rest to NT's
    // object manager unchecked. Either slash, as the platform takes both.
    const auto isSlash = [](char c) { return c == '\\' || c == '/'; };
    if (path.size() >= 4 && isSlash(path[0]) && isSlash(path[1]) &&
        (path[2] == '.' || path[2] == '?') && isSlash(path[3]))
        return true;
    // The last component, without a drive ("C:CON" is the device too), cut
    // at its extension or a colon ("PRN.TXT" and "LPT1:" are the printer),
    // without the blanks DOS drops at the end of a name. Bytewise: a second
    // byte of a double-byte character taken for a backslash can only make
    // a name look like a device, and that is refused, never written to.
    std::size_t start = path.find_last_of("\\/");
    start = start == std::string::npos ? 0 : start + 1;
    if (path.size() >= start + 2 && path[start + 1] == ':') start += 2;
    std::string name = path.substr(start, path.find_first_of(".:", start) - start);
    while (!name.empty() && IsBlank(name.back())) name.pop_back();
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CLOCK$"})
        if (SameName(name, device)) return true;
    return name.size() == 4 &&
           (SameName(name.substr(0, 3), "COM") || SameName(name.substr(0, 3), "LPT")) &&
           name[3] >= '1' && name[3] <= '9';
}

std::vector<std::string> SplitArguments(const std::string& arguments) {
    std::vector<std::string> result;
    std::string current;
    bool inArgument = false, quoted = false;
    // Bytewise: no double-byte code page has a blank or a double quote as
    // the second byte of a character.
    for (const char c : arguments) {
        if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if (!quoted && IsBlank(c)) {
            if (inArgument) result.push_back(current);
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument) result.push_back(current);
    return result;
}

SetupCommandLine ParseCommandLine(const std::string& arguments) {
    SetupCommandLine line;
    const auto fail = [&line](const std::string& why) {
        if (line.error.empty()) line.error = why;
    };
    std::vector<std::string> all = SplitArguments(arguments);
    // The stretch an unclosed quote opens swallows every switch after it
    // into the last argument; that argument is not read at all, so that
    // none of them is taken as part of a path.
    if (HasUnclosedQuote(arguments) && !all.empty()) {
        fail("A double quote is not closed: \"" + all.back());
        all.pop_back();
    }
    bool seen[kSwitchCount] = {};
    bool mifRefused = false;
    for (const std::string& argument : all) {
        const std::size_t equals = argument.find('=');
        const bool hasValue = equals != std::string::npos;
        const std::size_t rule = RuleOf(argument.substr(0, equals), hasValue);
        if (rule == kSwitchCount) {
            fail("Unknown switch: " + argument);
            continue;
        }
        // Which one was meant cannot be known; the first stays read.
        if (seen[rule]) {
            fail(std::string(kSwitches[rule].name) + (hasValue ? "=" : "") + " is given twice");
            if (kSwitches[rule].read == ReadMifSwitch) mifRefused = true;
            continue;
        }
        seen[rule] = true;
        const std::string why =
            kSwitches[rule].read(line, hasValue ? argument.substr(equals + 1) : std::string());
        if (!why.empty()) fail(why);
        if (!why.empty() && kSwitches[rule].read == ReadMifSwitch) mifRefused = true;
    }
    // The removal takes the recorded directory and whatever was installed;
    // a choice given with it would be silently ignored, so it is refused.
    if (line.remove && !line.silent) fail("/REMOVE needs /SILENT");
    if (line.remove &&
        (line.directoryGiven || line.componentsGiven || !line.menuGroup || !line.startupShortcut)) {
        fail("/REMOVE takes none of /DIR=, /COMPONENTS=, /NOMENU and /NOSTARTUP");
    }
    if (line.remove && (!line.saveAnswerFile.empty() || !line.loadAnswerFile.empty()))
        fail("/REMOVE takes neither /SAVEINF= nor /LOADINF=");
    // A status file is read by a distribution tool that started the run; a
    // run with windows may be left open or closed at any point by its user.
    if (!line.mifName.empty() && !line.silent) {
        fail("/MIF= needs /SILENT");
        mifRefused = true;
    }
    // A refused /MIF= names no status file: written all the same, the file
    // would go where the refused value points and replace what lies there.
    if (mifRefused) line.mifName.clear();
    return line;
}

}  // namespace engine
