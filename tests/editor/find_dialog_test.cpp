#include <gtest/gtest.h>

#include "editor/find_dialog.h"
#include "support/fake_desktop.h"

namespace tal::test {
namespace {

TEST(FindDialogTest, ShowsTheEntryAndKeepsTypedDigitsOnly) {
    FakeDesktop desktop;
    FindDialog dialog(desktop);
    dialog.FormShow(0);
    EXPECT_EQ(dialog.entryText(), "0");
    dialog.FormShow(65535);
    EXPECT_EQ(dialog.entryText(), "65535");

    std::u32string kept;
    for (char32_t key : std::u32string(U"0a9\b\r\x1b-+ ٣5."))
        if (dialog.Edit1KeyPress(key))
            kept += key;
    EXPECT_EQ(kept, U"095");
    EXPECT_EQ(desktop.beeps, 9);
}

TEST(FindDialogTest, FindHandsBackTheNumberInFull) {
    struct Case {
        const char* text;
        std::optional<long long> number;
    } cases[] = {
        {"", std::nullopt},  // nothing happens; the dialog stays open
        {"0", 0},           {"255", 255}, {"0007", 7}, {"70000", 70000}, {"2147483647", 2147483647},
    };
    FakeDesktop desktop;
    FindDialog dialog(desktop);
    for (const Case& c : cases) {
        dialog.setEntryText(c.text);
        EXPECT_EQ(dialog.Button1Click(), c.number) << c.text;
    }
    EXPECT_TRUE(desktop.messages.empty());
}

// Such texts reach the field by pasting, or as numbers too long for an integer; the error goes to
// the standard error report and the dialog stays open.
TEST(FindDialogTest, ATextThatIsNoIntegerIsRefusedWithTheFrameworksWording) {
    FakeDesktop desktop;
    FindDialog dialog(desktop);
    for (const char* text : {"2147483648", "99999999999999999999999", "12a", " "}) {
        dialog.setEntryText(text);
        try {
            (void)dialog.Button1Click();
            ADD_FAILURE() << text << " was accepted";
        } catch (const InvalidIntegerError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(text) + "' is not a valid integer value");
        }
    }
    EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
}  // namespace tal::test
