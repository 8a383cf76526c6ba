#include "engine/IniText.h"

#include "engine/AsciiText.h"

namespace engine {

const std::string* IniSection::Find(const std::string& key) const {
    for (const IniEntry& entry : entries)
        if (SameName(entry.key, key)) return &entry.value;
    return nullptr;
}

const IniSection* IniText::Find(const std::string& section) const {
    for (const IniSection& candidate : sections)
        if (SameName(candidate.name, section)) return &candidate;
    return nullptr;
}

IniText ParseIniText(const std::string& text) {
    IniText ini;
    std::size_t start = 0;
    for (int number = 1; start < text.size() && ini.error.empty(); ++number) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        const std::string where = "line " + std::to_string(number);
        const std::size_t equals = line.find('=');
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            if (line.back() != ']') {
                ini.error = where + ": a section name without its closing ]";
                continue;
            }
            const std::string name = Trimmed(line.substr(1, line.size() - 2));
            if (name.empty()) {
                ini.error = where + ": a section without a name";
            } else if (ini.Find(name) != nullptr) {
                ini.error = where + ": section [" + name + "] given twice";
            } else {
                ini.sections.push_back({name, {}});
            }
        } else if (equals == std::string::npos || Trimmed(line.substr(0, equals)).empty()) {
            ini.error = where + ": neither a [section] nor a key=value";
        } else if (ini.sections.empty()) {
            ini.error = where + ": a key before any [section]";
        } else {
            IniSection& section = ini.sections.back();
            const std::string key = Trimmed(line.substr(0, equals));
            if (section.Find(key) != nullptr) {
                ini.error = where + ": " + key + " given twice in [" + section.name + "]";
            } else {
                section.entries.push_back({key, Trimmed(line.substr(equals + 1))});
            }
        }
    }
    if (!ini.error.empty()) ini.sections.clear();
    return ini;
}

}  // namespace engine
