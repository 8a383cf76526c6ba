// The text of answer files, free of the platform.
#include <cstddef>

#include "engine/AnswerFile.h"
#include "engine/AsciiText.h"
#include "engine/IniText.h"

namespace engine {

namespace {

constexpr char kSection[] = "Setup";
constexpr char kDirKey[] = "Dir";
constexpr char kComponentsKey[] = "Components";
constexpr char kMenuGroupKey[] = "MenuGroup";
constexpr char kViewReadmeKey[] = "ViewReadme";
constexpr char kStartupShortcutKey[] = "StartupShortcut";

std::string ReadYesNo(const std::string& key, const std::string& value,
                      std::optional<bool>& answer) {
    if (SameName(value, "Yes")) {
        answer = true;
    } else if (SameName(value, "No")) {
        answer = false;
    } else {
        return key + "= takes Yes or No, not " + value;
    }
    return "";
}

const char* YesNo(bool value) { return value ? "Yes" : "No"; }

}  // namespace

std::string ParseAnswers(const std::string& text, Answers& answers) {
    const IniText ini = ParseIniText(text);
    if (!ini.Understood()) return ini.error;
    Answers read;
    for (const IniSection& section : ini.sections) {
        if (!SameName(section.name, kSection)) return "unknown section [" + section.name + "]";
        for (const IniEntry& entry : section.entries) {
            std::string why;
            if (SameName(entry.key, kDirKey)) {
                if (entry.value.empty()) why = "Dir= needs a directory";
                read.directory = entry.value;
            } else if (SameName(entry.key, kComponentsKey)) {
                std::array<bool, kComponentCount> ticks{};
                why = ReadComponentList(entry.value, "Components=", ticks);
                read.components = ticks;
            } else if (SameName(entry.key, kMenuGroupKey)) {
                why = ReadYesNo(kMenuGroupKey, entry.value, read.menuGroup);
            } else if (SameName(entry.key, kViewReadmeKey)) {
                why = ReadYesNo(kViewReadmeKey, entry.value, read.viewReadme);
            } else if (SameName(entry.key, kStartupShortcutKey)) {
                why = ReadYesNo(kStartupShortcutKey, entry.value, read.startupShortcut);
            } else {
                why = "unknown key " + entry.key + "=";
            }
            if (!why.empty()) return why;
        }
    }
    if (ini.Find(kSection) == nullptr) return std::string("no [") + kSection + "] section";
    answers = read;
    return "";
}

std::string AnswersText(const Answers& answers) {
    std::string text = std::string("[") + kSection + "]\r\n";
    const auto add = [&text](const char* key, const std::string& value) {
        text += std::string(key) + "=" + value + "\r\n";
    };
    if (answers.directory) add(kDirKey, *answers.directory);
    if (answers.components) {
        std::string names;
        for (std::size_t i = 0; i < kComponentCount; ++i) {
            if (!(*answers.components)[i]) continue;
            if (!names.empty()) names += ",";
            names += ComponentTable()[i].name;
        }
        add(kComponentsKey, names);
    }
    if (answers.menuGroup) add(kMenuGroupKey, YesNo(*answers.menuGroup));
    if (answers.viewReadme) add(kViewReadmeKey, YesNo(*answers.viewReadme));
    if (answers.startupShortcut) add(kStartupShortcutKey, YesNo(*answers.startupShortcut));
    return text;
}

void ApplyAnswers(const Answers& answers, SetupCommandLine& line) {
    if (answers.directory && !line.directoryGiven) {
        line.directory = *answers.directory;
        line.directoryGiven = true;
    }
    if (answers.components && !line.componentsGiven) {
        line.components = *answers.components;
        line.componentsGiven = true;
    }
    // The options' switches only untick: one given is false and stays so.
    if (answers.menuGroup && line.menuGroup) line.menuGroup = *answers.menuGroup;
    if (answers.startupShortcut && line.startupShortcut)
        line.startupShortcut = *answers.startupShortcut;
    if (answers.viewReadme) line.viewReadme = *answers.viewReadme;
}

}  // namespace engine
