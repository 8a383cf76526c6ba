// What a removal deletes under the install directory and in the registry,
// against real files and the real registry of the test prefix.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "engine/ComponentTable.h"
#include "engine/Registry.h"
#include "engine/RemovalList.h"
#include "engine/RenameList.h"
#include "engine/SetupLog.h"
#include "engine/SetupProcedure.h"
#include "engine/ShellLinks.h"
#include "registry_keys.h"
#include "temp_dir.h"
#include "ui/handles.h"

namespace {

using testing_support::TempDir;
using testing_support::WriteFileOfSize;

// Every file a full installation and its programs may leave, by the names
// each list entry is to catch.
const std::vector<std::string> kInstalledFiles = {
    "WARDEX\\wardex.exe",   "WARDEX\\wardex.ini",   "WARDEX\\smart.001",    "WARDEX\\smart.002",
    "WARDEX\\dlsize.dat",   "WARDEX\\startup.log",  "WARDEX\\log.txt",      "WARDEX\\alert.wav",
    "WARDEX\\wardex.doc",   "WARDEX\\wardex_d.zip", "SULMET\\sulmet.exe",   "SULMET\\sulmet_d.zip",
    "SULMET\\sulmet_d.doc", "PELKIN\\pelkin.exe",   "PELKIN\\pelkin_d.zip", "PELKIN\\pelkin_d.doc",
    "ORVANE\\orvane.exe",   "ORVANE\\orvane_d.zip", "ORVANE\\orvane_d.doc", "TRIVEL\\trivel.exe",
    "TRIVEL\\trivel_d.zip", "TRIVEL\\trivel_d.doc",
};
// Files beside them that no entry names.
const std::vector<std::string> kOtherFiles = {
    "setup.exe",         "readme.doc",           "TRIVEL\\Diskware\\keldan.dw",
    "WARDEX\\notes.txt", "WARDEX\\smartlog.txt", "SULMET\\results.txt",
};
const std::vector<std::string> kDirectories = {
    "WARDEX", "SULMET", "PELKIN", "ORVANE", "TRIVEL", "TRIVEL\\Defects", "TRIVEL\\Diskware"};

bool Present(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(ComponentFiles, EveryListedFileGoesAndEverythingElseStays) {
    TempDir temp;
    for (const std::string& dir : kDirectories) {
        ASSERT_TRUE(::CreateDirectoryA((temp / dir).c_str(), nullptr)) << dir;
    }
    for (const auto* files : {&kInstalledFiles, &kOtherFiles}) {
        for (const std::string& file : *files)
            ASSERT_TRUE(WriteFileOfSize(temp / file, 10)) << file;
    }

    engine::DeleteComponentFiles(temp.Path());

    for (const std::string& file : kInstalledFiles) EXPECT_FALSE(Present(temp / file)) << file;
    for (const std::string& file : kOtherFiles) EXPECT_TRUE(Present(temp / file)) << file;
    for (const std::string& dir : kDirectories) EXPECT_TRUE(Present(temp / dir)) << dir;
}

bool SameName(const std::string& a, const std::string& b) {
    return ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

TEST(ComponentFileList, NamesEveryFileTheInstallCopiesButTheDiskware) {
    for (const engine::Component& component : engine::ComponentTable()) {
        for (const engine::ComponentFile& file : component.files) {
            if (file.source == nullptr) continue;
            const bool listed =
                std::any_of(std::begin(engine::kComponentFiles), std::end(engine::kComponentFiles),
                            [&](const char* entry) { return SameName(entry, file.destination); });
            EXPECT_EQ(!SameName(file.destination, "TRIVEL\\Diskware\\keldan.dw"), listed)
                << file.destination;
        }
    }
}

using testing_registry::KeyExists;
using testing_registry::RemoveKeyTree;

void MakeKey(const std::string& path) {
    ui::RegKey key;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                               KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr));
}

TEST(InstallationRecords, GoWithTheirSubkeysWhileTheVendorAndItsOtherProductsStay) {
    const std::string otherProduct = "SOFTWARE\\Brenvik\\QuarnelTestsOtherProduct";
    RemoveKeyTree(HKEY_LOCAL_MACHINE, otherProduct);
    for (const char* key : engine::kRemovedRecordKeys) MakeKey(std::string(key) + "\\Sub\\Deeper");
    MakeKey(otherProduct);

    engine::TRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    engine::DeleteInstallationRecords(registry);

    for (const char* key : engine::kRemovedRecordKeys) EXPECT_FALSE(KeyExists(key)) << key;
    EXPECT_TRUE(KeyExists(otherProduct));
    RemoveKeyTree(HKEY_LOCAL_MACHINE, otherProduct);
    EXPECT_TRUE(KeyExists("SOFTWARE\\Brenvik"));
}

// Nobody at the machine: every question is Yes.
class AnswersYes : public engine::SetupHost {
public:
    void ShowStatus(const std::string&, bool) override {}
    void ShowFreeSpace(std::int64_t) override {}
    void ShowError(const std::string&) override {}
    void ShowInformation(const std::string&) override {}
    bool Confirm(const std::string&, ui::TMsgDlgType) override { return true; }
    ui::TComponent* ProgressTarget() override { return nullptr; }
    void OpenReadme(const std::string&) override {}
    void HideWindows() override {}
    void OfferRestart(const std::string&) override {}
    void RequestEnd() override {}
};

// A special folder the shell does not give is one whose shortcuts were never
// looked for: the log says so, and the removal is not complete.
TEST(RemovalOfShortcuts, AFolderTheShellDoesNotGiveIsLoggedAndLeavesTheRemovalIncomplete) {
    TempDir temp;
    const std::string list = engine::SystemRenameList();
    const bool hadList = Present(list);
    const std::string listBefore = hadList ? testing_support::ReadWholeFile(list) : "";
    ASSERT_TRUE(WriteFileOfSize(temp / "setup.exe", 10));
    {
        ui::RegKey key;
        ASSERT_EQ(ERROR_SUCCESS,
                  ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brenvik\\Quarnel", 0, nullptr, 0,
                                    KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr));
        const std::string path = temp.Path();
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(key.Get(), "Path", 0, REG_SZ,
                                                  reinterpret_cast<const BYTE*>(path.c_str()),
                                                  static_cast<DWORD>(path.size() + 1)));
    }
    engine::StartLog(temp / "removal.log");
    engine::SetDisplayNameQuery([](IShellFolder&, LPCITEMIDLIST, STRRET&) { return E_FAIL; });
    AnswersYes host;
    std::string installDir;
    const engine::Outcome outcome = engine::RunRemoval(installDir, host);
    engine::SetDisplayNameQuery(nullptr);
    engine::StartLog("");

    EXPECT_EQ(outcome, engine::Outcome::Failed);
    const std::string log = testing_support::ReadWholeFile(temp / "removal.log");
    for (const char* folder : {"Programs", "Startup"}) {
        EXPECT_NE(std::string::npos, log.find(std::string("Error: Cannot find the ") + folder +
                                              " folder; its shortcuts are not removed"))
            << log;
    }
    EXPECT_TRUE(engine::CancelStartupOperations(list, temp / "setup.exe"));
    if (hadList)
        EXPECT_EQ(listBefore, testing_support::ReadWholeFile(list));
    else
        ::DeleteFileA(list.c_str());
}

}  // namespace
