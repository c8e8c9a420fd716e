#include <gtest/gtest.h>

#include "editor/new_program_dialog.h"
#include "editor/update_enabling.h"
#include "support/fake_desktop.h"

namespace tal::test {
namespace {

TEST(UpdateEnablingTest, FollowsTheCountsAndTheFocusedGrid) {
    struct Case {
        int headers, lines;
        Grid focus;
        std::optional<bool> deleteButton;  // nothing: left as it was
        bool lineGrid, linePanel;
    } cases[] = {
        {0, 0, Grid::Headers, false, false, false},    {0, 0, Grid::Lines, false, false, false},
        {1, 0, Grid::Headers, true, true, false},      {1, 0, Grid::Lines, false, true, false},
        {1, 3, Grid::Lines, true, true, true},         {1, 3, Grid::Headers, true, true, true},
        {2, 0, Grid::None, std::nullopt, true, false},
    };
    for (const auto& c : cases) {
        FakeDesktop desktop;
        desktop.focus = c.focus;
        UpdateEnabling(desktop, c.headers, c.lines);
        const auto where = std::to_string(c.headers) + "/" + std::to_string(c.lines);
        EXPECT_EQ(desktop.enabled.count(Control::SpeedButton9) == 1, c.deleteButton.has_value())
            << where;
        if (c.deleteButton) {
            EXPECT_EQ(desktop.isEnabled(Control::SpeedButton9), *c.deleteButton) << where;
        }
        EXPECT_EQ(desktop.isEnabled(Control::DBGrid1), c.lineGrid) << where;
        EXPECT_EQ(desktop.isEnabled(Control::ScrollBox1), c.linePanel) << where;
        EXPECT_EQ(desktop.isEnabled(Control::ScrollBox0), c.headers > 0) << where;
        EXPECT_EQ(desktop.isEnabled(Control::EditAddLine), c.headers > 0) << where;
        EXPECT_EQ(desktop.isEnabled(Control::DBNavigator1), c.headers > 0) << where;
    }
}

TEST(NewProgramDialogTest, KeepsDigitsOnlyAndStaysOpenWhileEmpty) {
    FakeDesktop desktop;
    NewProgramDialog dialog(desktop);
    dialog.FormShow(3, false);
    EXPECT_EQ(dialog.entryText(), "3");
    EXPECT_FALSE(dialog.pasteEnabled());
    dialog.setEntryText("");
    std::string typed;
    for (char32_t key : {U'1', U'a', U'2', U'\b', U'\r'})
        if (dialog.Edit1KeyPress(key))
            typed += static_cast<char>(key);
    EXPECT_EQ(typed, "12");
    EXPECT_EQ(desktop.beeps, 3);

    dialog.setEntryText("");
    EXPECT_FALSE(dialog.Button1Click());
    EXPECT_FALSE(dialog.Button2Click());  // no program on the clipboard
    dialog.setEntryText("99999999999999999999999");
    const auto huge = dialog.Button1Click();
    ASSERT_TRUE(huge);
    EXPECT_GT(huge->number, 255);  // out of range, never wrapped into it
    dialog.setEntryText("1 2");
    EXPECT_FALSE(dialog.Button1Click());
    EXPECT_EQ(desktop.messages.size(), 1u);

    dialog.FormShow(7, true);
    const auto paste = dialog.Button2Click();
    ASSERT_TRUE(paste);
    EXPECT_EQ(paste->answer, DialogAnswer::Paste);
    EXPECT_EQ(paste->number, 7);
    EXPECT_EQ(dialog.Button3Click().answer, DialogAnswer::Cancel);
}

}  // namespace
}  // namespace tal::test
