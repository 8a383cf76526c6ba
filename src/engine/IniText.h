// INI text as technicians and tools write it: [section] lines and key=value
// lines below them, blank lines and ";" comments between. Read strictly, for
// files whose every line means something to the program (answer files,
// package definitions): names compared in ASCII without regard to case, a
// section or key given twice refused rather than one of them silently lost.
// Plain text in, plain data out.
#pragma once

#include <string>
#include <vector>

namespace engine {

struct IniEntry {
    std::string key;
    std::string value;  // without the blanks around it
};

struct IniSection {
    std::string name;
    std::vector<IniEntry> entries;  // in the order of the text

    // The value of `key`, or nullptr when the section has none.
    const std::string* Find(const std::string& key) const;
};

struct IniText {
    std::vector<IniSection> sections;
    std::string error;  // why the text was refused, naming the line; empty when read

    bool Understood() const { return error.empty(); }

    const IniSection* Find(const std::string& section) const;
};

IniText ParseIniText(const std::string& text);

}  // namespace engine
