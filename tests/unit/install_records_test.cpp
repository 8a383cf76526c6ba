// The command the platform's software list runs to remove the suite.
#include <gtest/gtest.h>

#include "engine/InstallRecords.h"

namespace {

TEST(UninstallCommand, IsTheInstalledSetupProgramQuotedOnlyWhenThePathHasABlank) {
    EXPECT_EQ("C:\\QUARNEL\\Setup.exe", engine::records::UninstallCommand("C:\\QUARNEL\\"));
    EXPECT_EQ("\"C:\\Program Files\\Quarnel\\Setup.exe\"",
              engine::records::UninstallCommand("C:\\Program Files\\Quarnel\\"));
}

}  // namespace
