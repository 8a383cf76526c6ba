#include "bench_medium.h"

#include <windows.h>

#include <stdexcept>

#include "engine/ComponentTable.h"
#include "engine/InstallRecords.h"
#include "ui/handles.h"

namespace bench {

namespace {

// A medium name as the table writes it ("wardex.") names the file without
// an extension ("wardex").
std::string MediumName(const char* source) {
    std::string name = source;
    if (!name.empty() && name.back() == '.') name.pop_back();
    return name;
}

// Every block of every file differs, so that an installer that stores equal
// blocks once (the peer does) still carries and writes all the data.
void WriteFileOfSize(const std::string& path, unsigned long long size, unsigned seed) {
    ui::ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) throw std::runtime_error("cannot create " + path);
    std::vector<unsigned> block((1 << 20) / sizeof(unsigned));
    unsigned state = seed * 2654435761u + 1;
    for (unsigned long long left = size; left > 0;) {
        for (unsigned& word : block) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            word = state;
        }
        const std::size_t blockBytes = block.size() * sizeof(unsigned);
        const DWORD n = static_cast<DWORD>(left < blockBytes ? left : blockBytes);
        DWORD written = 0;
        if (!::WriteFile(file.Get(), block.data(), n, &written, nullptr) || written != n)
            throw std::runtime_error("cannot write " + path);
        left -= n;
    }
}

std::string WithoutTrailingBackslash(std::string path) {
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

std::string PeerHeader(const std::string& output) {
    // An uncompressed installer, as a vendor shipping large programs would
    // build one, for the same processor as the program measured beside it.
#ifdef _WIN64
    const char* target = "amd64-unicode";
#else
    const char* target = "x86-ansi";
#endif
    return std::string("Target ") + target +
           "\n"
           "SetCompress off\n"
           "Name \"Quarnel\"\n"
           "OutFile \"" +
           output +
           "\"\n"
           "InstallDir \"C:\\quarnel-peer\"\n"
           "RequestExecutionLevel user\n"
           "SilentInstall silent\n";
}

}  // namespace

std::vector<MediumFile> MediumFiles() {
    std::vector<MediumFile> files = {{"setup.exe", "setup.exe"}};
    for (const engine::Component& component : engine::ComponentTable()) {
        for (const engine::ComponentFile& file : component.files) {
            if (file.source != nullptr)
                files.push_back({MediumName(file.source), file.destination});
        }
    }
    files.push_back({"quarnel", "quarnel.vxd", true});
    files.push_back({"readme", "readme.doc"});
    return files;
}

void WriteMedium(const std::string& medium, const std::string& setupProgram,
                 unsigned long long payloadBytes) {
    unsigned seed = 0;
    for (const MediumFile& file : MediumFiles()) {
        const std::string path = medium + "\\" + file.source;
        if (file.source == "setup.exe") {
            if (!::CopyFileA(setupProgram.c_str(), path.c_str(), FALSE))
                throw std::runtime_error("cannot copy the setup program to " + path);
        } else {
            WriteFileOfSize(path, payloadBytes, ++seed);
        }
    }
}

std::string PeerScript(const std::string& output) {
    namespace records = engine::records;
    // The same work in the same order as the Install button's procedure.
    std::string s = PeerHeader(output) + "Section\n";
    s += "SetOutPath \"$INSTDIR\"\n";
    s += std::string("WriteRegStr HKLM \"") + records::kInstallKey + "\" \"" +
         records::kVersionValue + "\" \"" + records::kVersion + "\"\n";
    s += std::string("WriteRegStr HKLM \"") + records::kInstallKey + "\" \"" + records::kPathValue +
         "\" \"$INSTDIR\\\"\n";
    s += std::string("WriteRegStr HKLM \"") + records::kUninstallKey + "\" \"" +
         records::kDisplayNameValue + "\" \"" + records::kDisplayName + "\"\n";
    s += std::string("WriteRegStr HKLM \"") + records::kUninstallKey + "\" \"" +
         records::kUninstallStringValue + "\" \"" + records::UninstallCommand("$INSTDIR\\") +
         "\"\n";
    s += "CreateDirectory \"$SMPROGRAMS\\Quarnel\"\n";
    s += "File \"/oname=setup.exe\" \"medium/setup.exe\"\n";
    s += "CreateShortCut \"$SMPROGRAMS\\Quarnel\\Quarnel Setup.lnk\" \"$INSTDIR\\Setup.EXE\"\n";
    for (const engine::Component& component : engine::ComponentTable()) {
        for (const char* directory : component.directories) {
            if (directory != nullptr)
                s += "CreateDirectory \"$INSTDIR\\" + WithoutTrailingBackslash(directory) + "\"\n";
        }
        for (const engine::ComponentFile& file : component.files) {
            if (file.source == nullptr) continue;
            s += std::string("File \"/oname=") + file.destination + "\" \"medium/" +
                 MediumName(file.source) + "\"\n";
        }
        // A shortcut's working directory is the output directory.
        s +=
            "SetOutPath \"$INSTDIR\\" + WithoutTrailingBackslash(component.directories[0]) + "\"\n";
        s += std::string("CreateShortCut \"$SMPROGRAMS") + component.shortcut.linkName +
             "\" \"$INSTDIR\\" + component.shortcut.target + "\"\n";
        s += "SetOutPath \"$INSTDIR\"\n";
    }
    s += "SetOutPath \"$SYSDIR\"\n";
    s += "File \"/oname=quarnel.vxd\" \"medium/quarnel\"\n";
    s += std::string("WriteRegBin HKLM \"") + records::kDriverKey + "\" \"" + records::kStartValue +
         "\" 00\n";
    s += std::string("WriteRegStr HKLM \"") + records::kDriverKey + "\" \"" +
         records::kStaticVxdValue + "\" \"" + records::kStaticVxd + "\"\n";
    s += "SetOutPath \"$INSTDIR\\WARDEX\"\n";
    s += "CreateShortCut \"$SMSTARTUP\\Wardex.lnk\" \"$INSTDIR\\WARDEX\\WARDEX.EXE\"\n";
    s += "SetOutPath \"$INSTDIR\"\n";
    s += "File \"/oname=readme.doc\" \"medium/readme\"\n";
    s += "SectionEnd\n";
    return s;
}

std::string EmptyPeerScript(const std::string& output) {
    return PeerHeader(output) + "Section\nSectionEnd\n";
}

void WriteTextFile(const std::string& path, const std::string& text) {
    ui::ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file.IsValid() ||
        !::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
        written != text.size())
        throw std::runtime_error("cannot write " + path);
}

}  // namespace bench
