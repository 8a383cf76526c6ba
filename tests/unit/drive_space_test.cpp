// Free space as the Windows 95 family reports it for drives larger than
// this machine can make: the figures are put in the platform's place, and
// the free-space text and the install's check are read back.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/Platform.h"
#include "engine/DriveSpace.h"
#include "engine/SetupProcedure.h"
#include "temp_dir.h"

namespace {

engine::FreeSpaceReply Clusters(std::uint32_t sectors, std::uint32_t bytes, std::uint32_t free) {
    engine::FreeSpaceReply reply;
    reply.answered = true;
    reply.sectorsPerCluster = sectors;
    reply.bytesPerSector = bytes;
    reply.freeClusters = free;
    return reply;
}

// Records the free space the install shows and answers No to its question,
// so that a check that passes ends in Cancelled with nothing written.
class QuestionDeclined : public engine::SetupHost {
public:
    std::vector<std::int64_t> shown;
    std::vector<std::string> errors;
    void ShowStatus(const std::string&, bool) override {}
    void ShowFreeSpace(std::int64_t bytes) override { shown.push_back(bytes); }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void ShowInformation(const std::string&) override {}
    bool Confirm(const std::string&, ui::TMsgDlgType) override { return false; }
    ui::TComponent* ProgressTarget() override { return nullptr; }
    void OpenReadme(const std::string&) override {}
    void HideWindows() override {}
    void OfferRestart(const std::string&) override {}
    void RequestEnd() override {}
};

class LargeDrive : public ::testing::Test {
protected:
    void TearDown() override { engine::SetFreeSpaceQuery(nullptr); }

    void Answer(const engine::FreeSpaceReply& reply) {
        engine::SetFreeSpaceQuery([reply](const char*) { return reply; });
    }

    // What the install shows, and how it ends, on a drive giving `reply`.
    engine::Outcome InstallOn(const engine::FreeSpaceReply& reply, std::int64_t& shown) {
        Answer(reply);
        engine::InstallChoices choices;
        choices.installDir = dir_ / "QUARNEL";
        choices.sourceDir = dir_.Path();
        choices.components[1] = true;
        QuestionDeclined host;
        const engine::Outcome outcome = engine::RunInstall(choices, host);
        shown = host.shown.empty() ? 0 : host.shown.front();
        return outcome;
    }

    testing_support::TempDir dir_;
};

TEST_F(LargeDrive, DocumentedFiguresGiveTheirTrueSizeShownAndPassTheCheck) {
    struct Case {
        engine::FreeSpaceReply reply;
        std::int64_t bytes;
        const char* text;
    };
    engine::FreeSpaceReply large = Clusters(64, 512, 65536);  // capped as OSR2 and 98 do
    large.exAnswered = true;
    large.exFreeBytes = 4617089843ull;  // 4.3 GB, as GetDiskFreeSpaceExA tells it
    const Case cases[] = {
        {Clusters(64, 512, 65536), 2147483648ll, "2097 MB"},  // 2^31: negative in 32 bits
        {Clusters(64, 512, 65535), 2147450880ll, "2097 MB"},  // Wine's cap
        {Clusters(64, 512, 20000), 655360000ll, "640 MB"},    // FAT16
        {large, 4617089843ll, "4508 MB"},
    };
    for (const Case& c : cases) {
        Answer(c.reply);
        EXPECT_EQ(engine::DriveFreeBytes(3), c.bytes);
        EXPECT_EQ(app::FreeSpaceText(engine::DriveFreeBytes(3)), c.text);
        std::int64_t shown = 0;
        EXPECT_EQ(InstallOn(c.reply, shown), engine::Outcome::Cancelled) << c.text;
        EXPECT_EQ(shown, c.bytes);
    }
}

TEST_F(LargeDrive, TheInstallStillRefusesTooLittleRoomAndADriveWithoutAnswer) {
    std::int64_t shown = 0;
    EXPECT_EQ(InstallOn(Clusters(1, 1, 10240000), shown), engine::Outcome::Cancelled);
    EXPECT_EQ(InstallOn(Clusters(1, 1, 10239999), shown), engine::Outcome::Refused);
    EXPECT_EQ(InstallOn(engine::FreeSpaceReply{}, shown), engine::Outcome::Refused);
    EXPECT_EQ(shown, -1);
    EXPECT_EQ(app::FreeSpaceText(shown), "0 MB");
    // Figures whose product passes 64 bits stay at the largest positive count.
    Answer(Clusters(0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu));
    EXPECT_GT(engine::DriveFreeBytes(3), 0);
}

// Windows 95 and 98 make a directory of at most 248 characters, and take a
// directory of at most 246 (MAX_PATH - 14) for a temporary file: below the
// longest install directory accepted, TRIVEL\Diskware still has 246, so
// that it is made and keldan.dw in use can be copied beside itself. A
// longer one is refused before anything is written.
TEST_F(LargeDrive, ADirectoryIsRefusedWhereTheInstallCouldNotMakeItsOwnBelowIt) {
    Answer(Clusters(64, 512, 65535));
    const auto installOf = [&](std::size_t length, QuestionDeclined& host) {
        std::string directory = dir_ / "Q";
        directory.resize(length, 'x');
        engine::InstallChoices choices;
        choices.installDir = directory;
        choices.sourceDir = dir_.Path();
        choices.components[4] = true;
        return engine::RunInstall(choices, host);
    };
    QuestionDeclined longest;
    EXPECT_EQ(installOf(230, longest), engine::Outcome::Cancelled);
    EXPECT_EQ(longest.errors, std::vector<std::string>{});
    QuestionDeclined tooLong;
    EXPECT_EQ(installOf(231, tooLong), engine::Outcome::Refused);
    EXPECT_EQ(tooLong.errors,
              std::vector<std::string>{
                  "The directory name is too long. Please choose one of at most 230 characters"});
}

}  // namespace
