#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "support/fake_desktop.h"

namespace tal::test {
namespace {

// A scripted answer nobody asked for means a question the test counted on never came.
TEST(FakeDesktopScript, AnswersLeftUnusedFailTheTestNamingTheirQueues) {
    EXPECT_NONFATAL_FAILURE(
        {
            FakeDesktop desktop;
            desktop.messageAnswers.push_back(MessageAnswer::Yes);
            desktop.saveFileAnswers.push_back("A.bin");
            desktop.saveFileAnswers.push_back(std::nullopt);
        },
        "1 messageAnswers, 2 saveFileAnswers");
    EXPECT_NONFATAL_FAILURE(
        {
            FakeDesktop desktop;
            desktop.folderAnswers.push_back(std::nullopt);
            desktop = FakeDesktop();  // replacing the desktop checks the script it had
        },
        "1 folderAnswers");
}

TEST(FakeDesktopScript, AnswersUsedUpLeaveNothing) {
    FakeDesktop desktop;
    desktop.messageAnswers.push_back(MessageAnswer::Yes);
    desktop.openFileAnswers.push_back("A.bin");
    EXPECT_EQ(desktop.showMessage("?", "", MessageIcon::None, MessageButtons::YesNo),
              MessageAnswer::Yes);
    EXPECT_EQ(desktop.chooseOpenFile({}), "A.bin");
    EXPECT_TRUE(desktop.unusedAnswers().empty());
}

}  // namespace
}  // namespace tal::test
