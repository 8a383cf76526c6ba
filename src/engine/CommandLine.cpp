#include "engine/CommandLine.h"

#include <cstddef>

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
            const std::string why = ReadComponentList(value, "/COMPONENTS=", line.components);
            if (!why.empty()) fail(why);
            line.componentsGiven = true;
        } else if (hasValue && SameName(name, "/LOG")) {
            if (Trimmed(value).empty()) {
                fail("/LOG= needs a file name");
            } else {
                line.logFile = value;
            }
        } else if (hasValue && SameName(name, "/MIF")) {
            const std::string why = ReadMifName(value, line.mifName);
            if (!why.empty()) fail(why);
        } else if (hasValue && SameName(name, "/SAVEINF")) {
            if (Trimmed(value).empty()) fail("/SAVEINF= needs a file name");
            line.saveAnswerFile = value;
        } else if (hasValue && SameName(name, "/LOADINF")) {
            if (Trimmed(value).empty()) fail("/LOADINF= needs a file name");
            line.loadAnswerFile = value;
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
    if (line.remove && (!line.saveAnswerFile.empty() || !line.loadAnswerFile.empty()))
        fail("/REMOVE takes neither /SAVEINF= nor /LOADINF=");
    // A status file is read by a distribution tool that started the run; a
    // run with windows may be left open or closed at any point by its user.
    if (!line.mifName.empty() && !line.silent) fail("/MIF= needs /SILENT");
    return line;
}

}  // namespace engine
