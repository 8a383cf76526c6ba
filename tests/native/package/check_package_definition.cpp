// Checks the package definition file of a medium as Systems Management
// Server 2.0 would import it, and as the setup program would run it: its
// sections and keys, every value within SMS's limits, the MIF keys equal to
// what the program's status MIF says, each command line read by the
// program's own parser, and the disk space of each install program worked
// out again from the medium's files and the component table.
//
// Usage: check_package_definition MEDIUM_DIR   (reads MEDIUM_DIR/QUARNEL.SMS)
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/AnswerFile.h"
#include "engine/AsciiText.h"
#include "engine/CommandLine.h"
#include "engine/ComponentTable.h"
#include "engine/IniText.h"
#include "engine/InstallRecords.h"
#include "engine/StatusMif.h"

namespace {

std::vector<std::string> failures;

void Fail(const std::string& what) { failures.push_back(what); }

bool ReadFile(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    text = bytes.str();
    return true;
}

long long FileSize(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

// A key's value, failing when it is missing or longer than `longest`.
std::string Value(const engine::IniSection& section, const std::string& key, std::size_t longest) {
    const std::string* value = section.Find(key);
    if (value == nullptr) {
        Fail("[" + section.name + "] has no " + key + "=");
        return "";
    }
    if (value->size() > longest)
        Fail("[" + section.name + "] " + key + "= is longer than " + std::to_string(longest));
    return *value;
}

void Expect(const engine::IniSection& section, const std::string& key, const std::string& wanted,
            std::size_t longest = 127) {
    const std::string value = Value(section, key, longest);
    if (value != wanted) Fail("[" + section.name + "] " + key + "=" + value + ", wanted " + wanted);
}

void OnlyKeys(const engine::IniSection& section, const std::set<std::string>& allowed) {
    for (const engine::IniEntry& entry : section.entries)
        if (allowed.count(entry.key) == 0)
            Fail("[" + section.name + "] has a key SMS does not know: " + entry.key);
}

// What an install of these components copies, in bytes.
long long InstalledBytes(const std::string& medium,
                         const std::array<bool, engine::kComponentCount>& chosen) {
    std::vector<std::string> names = {"SETUP.EXE", "quarnel", "readme"};
    for (std::size_t i = 0; i < engine::kComponentCount; ++i) {
        if (!chosen[i]) continue;
        for (const engine::ComponentFile& file : engine::ComponentTable()[i].files) {
            if (file.source == nullptr) continue;
            std::string name = file.source;
            if (!name.empty() && name.back() == '.') name.pop_back();  // "wardex." is wardex
            names.push_back(name);
        }
    }
    long long total = 0;
    for (const std::string& name : names) {
        const long long size = FileSize(medium + "/" + name);
        if (size < 0) Fail("the medium has no " + name);
        total += size;
    }
    return total;
}

void CheckEstimates(const engine::IniSection& program, long long bytes) {
    Expect(program, "EstimatedDiskSpace", std::to_string((bytes + 1023) / 1024) + "KB");
    // Read at a single-speed CD drive's 150 KB/s, at least a minute.
    const long long minutes = std::max(1LL, (bytes + 153600 * 60 - 1) / (153600 * 60));
    Expect(program, "EstimatedRunTime", std::to_string(minutes));
}

void CheckProgram(const engine::IniSection& program, const std::string& medium,
                  const std::string& mifName) {
    OnlyKeys(program, {"Name",
                       "CommandLine",
                       "StartIn",
                       "Comment",
                       "Run",
                       "AfterRunning",
                       "EstimatedDiskSpace",
                       "EstimatedRunTime",
                       "AdditionalProgramRequirements",
                       "CanRunWhen",
                       "UserInputRequired",
                       "AdminRightsRequired",
                       "UseInstallAccount",
                       "DriveLetterConnection",
                       "ReconnectDriveAtLogon",
                       "SpecifyDrive",
                       "DependentProgram",
                       "Assignment",
                       "Disabled",
                       "RemoveProgram",
                       "UninstallKey"});
    Expect(program, "Name", program.name, 50);
    Value(program, "Comment", 127);
    Expect(program, "Run", "Hidden");
    Expect(program, "CanRunWhen", "UserLoggedOn");
    Expect(program, "UserInputRequired", "False");
    // Every run leaves something to the next start: the driver, or the
    // deletion of the installed setup program.
    Expect(program, "AfterRunning", "SMSRestart");
    // SMS's automatic removal runs the UninstallString of the entry that
    // UninstallKey names, as it stands: the installed setup program without
    // a switch, which opens its windows and waits for a user that nobody at
    // the machine answers. The Uninstall program is the way to remove.
    const std::string* remove = program.Find("RemoveProgram");
    if ((remove != nullptr && !engine::SameName(*remove, "False")) ||
        program.Find("UninstallKey") != nullptr)
        Fail("[" + program.name + "] has SMS run the Uninstall entry's command, which waits " +
             "for a user");

    // SMS starts the program it finds in the package's folder with the rest
    // of the line; no console, no command interpreter between.
    const std::string commandLine = Value(program, "CommandLine", 127);
    const std::vector<std::string> words = engine::SplitArguments(commandLine);
    if (words.empty() || words[0] != "SETUP.EXE" || FileSize(medium + "/SETUP.EXE") < 0) {
        Fail("[" + program.name + "] does not start the medium's SETUP.EXE: " + commandLine);
        return;
    }
    const engine::SetupCommandLine line =
        engine::ParseCommandLine(commandLine.substr(commandLine.find(words[0]) + words[0].size()));
    if (!line.Understood()) Fail("[" + program.name + "] " + commandLine + ": " + line.error);
    if (!line.silent) Fail("[" + program.name + "] runs with windows: " + commandLine);
    if (line.mifName != mifName)
        Fail("[" + program.name + "] writes the MIF " + line.mifName + ", not " + mifName);

    const bool removal = program.name == "Uninstall";
    if (line.remove != removal) Fail("[" + program.name + "] " + commandLine);
    if (removal) {
        Expect(program, "EstimatedDiskSpace", "0KB");
        Expect(program, "EstimatedRunTime", "1");
        return;
    }

    engine::SetupCommandLine chosen = line;
    if (!line.loadAnswerFile.empty()) {
        std::string text;
        engine::Answers answers;
        std::string why;
        if (!ReadFile(medium + "/" + line.loadAnswerFile, text)) {
            why = "cannot be read";
        } else {
            why = engine::ParseAnswers(text, answers);
        }
        if (!why.empty()) Fail("[" + program.name + "] " + line.loadAnswerFile + ": " + why);
        engine::ApplyAnswers(answers, chosen);
    }
    if (program.name == "Typical" && (chosen.componentsGiven || !line.loadAnswerFile.empty()))
        Fail("[Typical] does not install every component: " + commandLine);
    if (program.name == "Custom" && line.loadAnswerFile.empty())
        Fail("[Custom] reads no answer file: " + commandLine);
    CheckEstimates(program, InstalledBytes(medium, chosen.components));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s MEDIUM_DIR\n", argv[0]);
        return 2;
    }
    const std::string medium = argv[1];
    std::string text;
    if (!ReadFile(medium + "/QUARNEL.SMS", text)) {
        std::printf("%s/QUARNEL.SMS cannot be read\n", medium.c_str());
        return 1;
    }
    const engine::IniText ini = engine::ParseIniText(text);
    if (!ini.Understood()) Fail("not INI text: " + ini.error);

    const engine::IniSection* pdf = ini.Find("PDF");
    const engine::IniSection* package = ini.Find("Package Definition");
    std::set<std::string> programNames;
    std::string mifName;
    if (pdf == nullptr || package == nullptr) {
        Fail("[PDF] or [Package Definition] is missing");
    } else {
        OnlyKeys(*pdf, {"Version"});
        Expect(*pdf, "Version", "2.0");
        OnlyKeys(*package, {"Name", "Version", "Publisher", "Language", "Comment", "Icon",
                            "Programs", "MIFFileName", "MIFName", "MIFVersion", "MIFPublisher"});
        Value(*package, "Name", 50);
        Expect(*package, "Version", engine::records::kVersion, 32);
        Value(*package, "Publisher", 32);
        Value(*package, "Language", 32);
        Value(*package, "Comment", 127);
        mifName = Value(*package, "MIFFileName", 50);
        // The MIF the program writes must pair with the package.
        Expect(*package, "MIFName", engine::mif::kProduct, 50);
        Expect(*package, "MIFVersion", engine::mif::kVersion, 32);
        Expect(*package, "MIFPublisher", engine::mif::kManufacturer, 32);
        Expect(*package, "Programs", "Typical, Custom, Uninstall");
        std::stringstream list(Value(*package, "Programs", 127));
        for (std::string name; std::getline(list, name, ',');) {
            name.erase(0, name.find_first_not_of(' '));
            if (!programNames.insert(name).second) Fail("program " + name + " listed twice");
            const engine::IniSection* program = ini.Find(name);
            if (program == nullptr) {
                Fail("no section [" + name + "] for the program listed");
            } else {
                CheckProgram(*program, medium, mifName);
            }
        }
    }
    for (const engine::IniSection& section : ini.sections) {
        if (section.name != "PDF" && section.name != "Package Definition" &&
            programNames.count(section.name) == 0)
            Fail("section [" + section.name + "] is not a listed program");
    }
    for (const std::string& failure : failures) std::printf("QUARNEL.SMS: %s\n", failure.c_str());
    if (!failures.empty()) return 1;
    std::printf("QUARNEL.SMS: %zu programs, every value within SMS's limits\n",
                programNames.size());
    return 0;
}
