// The benchmark's distribution medium and the peer installer made from it:
// the setup program and nine payload files, laid out as the install reads
// them, and NSIS scripts that install the same files, registry values and
// shortcuts as the install does.
#pragma once

#include <string>
#include <vector>

namespace bench {

struct MediumFile {
    std::string source;       // name on the medium
    std::string destination;  // below the install directory, or the system directory
    bool toSystemDirectory = false;
};

// The ten files an install of every component copies, in the install's order.
std::vector<MediumFile> MediumFiles();

// Writes the medium into `medium` (a directory that exists): `setupProgram`
// as setup.exe and every other file of `payloadBytes` bytes.
void WriteMedium(const std::string& medium, const std::string& setupProgram,
                 unsigned long long payloadBytes);

// An NSIS script, to be built in `benchDir` by makensis, of a silent installer
// (`output`, relative to `benchDir`) that installs the medium below
// benchDir\medium into its /D= directory as the install does.
std::string PeerScript(const std::string& output);
// An NSIS script of a silent installer that does nothing: its start and end.
std::string EmptyPeerScript(const std::string& output);

void WriteTextFile(const std::string& path, const std::string& text);

}  // namespace bench
