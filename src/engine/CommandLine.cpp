#include "engine/CommandLine.h"

#include <cstddef>

namespace engine {

namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Compared in ASCII only: switch and component names are plain ASCII, and a
// byte above 0x7F must never match one of them by a code page's case rules.
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string Trimmed(const std::string& text) {
    std::size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

// Reads "Wardex,Trivel" into the ticks; an error text when a name is unknown
// or missing.
std::string ReadComponents(const std::string& list, std::array<bool, kComponentCount>& ticks) {
    ticks.fill(false);
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        const std::string name =
            Trimmed(list.substr(start, comma == std::string::npos ? comma : comma - start));
        if (name.empty()) return "A component name is missing in /COMPONENTS=" + list;
        bool known = false;
        for (std::size_t i = 0; i < kComponentCount; ++i) {
            if (SameName(name, ComponentTable()[i].name)) ticks[i] = known = true;
        }
        if (!known) return "Unknown component: " + name;
        if (comma == std::string::npos) return "";
        start = comma + 1;
    }
}

}  // namespace

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
    for (const std::string& argument : SplitArguments(arguments)) {
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const bool hasValue = equals != std::string::npos;
        const std::string value = hasValue ? argument.substr(equals + 1) : std::string();
        if (!hasValue && SameName(name, "/SILENT")) {
            line.silent = true;
        } else if (!hasValue && SameName(name, "/REMOVE")) {
            line.remove = true;
        } else if (!hasValue && SameName(name, "/NOMENU")) {
            line.menuGroup = false;
        } else if (!hasValue && SameName(name, "/NOSTARTUP")) {
            line.startupShortcut = false;
        } else if (hasValue && SameName(name, "/DIR")) {
            // A blank-only directory is as empty as none: the field would
            // hold nothing but blanks, and no directory has such a name.
            if (Trimmed(value).empty()) fail("/DIR= needs a directory");
            line.directoryGiven = true;
            line.directory = value;
        } else if (hasValue && SameName(name, "/COMPONENTS")) {
            const std::string why = ReadComponents(value, line.components);
            if (!why.empty()) fail(why);
            line.componentsGiven = true;
        } else if (hasValue && SameName(name, "/LOG")) {
            if (Trimmed(value).empty()) {
                fail("/LOG= needs a file name");
            } else {
                line.logFile = value;
            }
        } else {
            fail("Unknown switch: " + argument);
        }
    }
    // The removal takes the recorded directory and whatever was installed;
    // a choice given with it would be silently ignored, so it is refused.
    if (line.remove && !line.silent) fail("/REMOVE needs /SILENT");
    if (line.remove &&
        (line.directoryGiven || line.componentsGiven || !line.menuGroup || !line.startupShortcut)) {
        fail("/REMOVE takes none of /DIR=, /COMPONENTS=, /NOMENU and /NOSTARTUP");
    }
    return line;
}

}  // namespace engine
