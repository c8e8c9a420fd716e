// The edit window's logic and its record navigators, on the fake desktop.

#include <gtest/gtest.h>

#include "store/edit_window_commands.h"
#include "store/editing_tables.h"
#include "store/record_navigation.h"
#include "support/store_fixture.h"

namespace tal::test {
namespace {

class EditWindowLogic : public StoreFixture {
public:
    EditWindowCommands& commands() { return bench.editWindow(); }
};

TEST_F(EditWindowLogic, AddLineAppendsAfterTheLastLineWithTheRepeatEditsOff) {
    createProgram(4, 3);
    lines().first();  // "Добавить строку" appends wherever the cursor is
    desktop.enabled.clear();
    bool appendWhileInserting = false;
    lines().beforeInsert = [&](Table&) {
        appendWhileInserting = state().appendFlag;
        store().Table1BeforeInsert();
    };
    commands().SpeedButton1Click();
    EXPECT_TRUE(appendWhileInserting);
    EXPECT_FALSE(state().appendFlag);
    EXPECT_EQ(lines().recordCount(), 4);
    EXPECT_EQ(lines().asInteger(ln::StrNum), 4);
    EXPECT_FALSE(desktop.isEnabled(Control::DBEdit17));
    EXPECT_FALSE(desktop.isEnabled(Control::DBEdit18));
    EXPECT_TRUE(tablesMatchImage(store()));
}

TEST_F(EditWindowLogic, LeavingAPanelSavesAnEditButNotANewRow) {
    createProgram(4, 2);
    lines().setInteger(ln::param(1), 900);
    commands().ScrollBox1Exit();
    EXPECT_EQ(lines().state(), TableState::Browse);

    headers().setText(hdr::Remark, "Новое");
    commands().ScrollBox1Exit();  // the other panel's table stays as it is
    EXPECT_EQ(headers().state(), TableState::Edit);
    commands().ScrollBox0Exit();
    EXPECT_EQ(headers().state(), TableState::Browse);

    state().bookkeepingEnabled = false;  // a bare new row, without the dialogs
    lines().insert();
    commands().ScrollBox1Exit();
    EXPECT_EQ(lines().state(), TableState::Insert);
}

TEST_F(EditWindowLogic, ClosingIsRefusedAfterARefusedValueAndSavesBothTablesEitherWay) {
    createProgram(4, 1);
    for (bool accepted : {false, true}) {
        state().lastValueAccepted = accepted;
        headers().setText(hdr::Remark, accepted ? "b" : "a");
        lines().setInteger(ln::param(1), accepted ? 2 : 1);
        EXPECT_EQ(commands().FormClose(), accepted);
        EXPECT_EQ(headers().state(), TableState::Browse);
        EXPECT_EQ(lines().state(), TableState::Browse);
    }
}

TEST_F(EditWindowLogic, TheRepeatEditsFollowTheLineFromTheWindowsCreationOn) {
    createProgram(4, 2);
    lines().setInteger(ln::param(16), 0);
    lines().post();
    state().repeatEditsEnabled = false;  // sent before the window existed
    desktop.calls.clear();
    commands().FormCreate();
    EXPECT_EQ(desktop.calls, (std::vector<std::string>{"enable DBEdit17 0", "enable DBEdit18 0"}));
    lines().first();  // line 1: an empty count counts as not 0
    EXPECT_TRUE(desktop.isEnabled(Control::DBEdit17));
}

using Navigation = StoreFixture;

TEST_F(Navigation, TheButtonsFollowTheRowAndTheState) {
    using B = NavigatorButton;
    auto on = [&](std::initializer_list<B> expected) {
        std::array<bool, kNavigatorButtonCount> want{};
        for (B b : expected)
            want[static_cast<int>(b)] = true;
        return want;
    };
    EXPECT_EQ(navigatorEnabling(lines()), on({B::Insert, B::Refresh}));  // open, empty
    createProgram(4, 3);
    lines().first();
    EXPECT_EQ(navigatorEnabling(lines()),
              on({B::Next, B::Last, B::Insert, B::Delete, B::Edit, B::Refresh}));
    lines().next();
    EXPECT_EQ(navigatorEnabling(lines()), on({B::First, B::Prior, B::Next, B::Last, B::Insert,
                                              B::Delete, B::Edit, B::Refresh}));
    lines().last();
    lines().setInteger(ln::param(1), 5);
    EXPECT_EQ(navigatorEnabling(lines()),
              on({B::First, B::Prior, B::Insert, B::Delete, B::Post, B::Cancel, B::Refresh}));
    lines().close();
    EXPECT_EQ(navigatorEnabling(lines()), on({}));
}

TEST_F(Navigation, DeleteAsksTheFrameworksQuestionAndDeletesOnOk) {
    createProgram(4, 2);
    desktop.messageAnswers = {MessageAnswer::Cancel, MessageAnswer::Ok};
    navigatorAction(lines(), NavigatorButton::Delete, desktop);
    EXPECT_EQ(lines().recordCount(), 2);
    navigatorAction(lines(), NavigatorButton::Delete, desktop);
    EXPECT_EQ(lines().recordCount(), 1);
    const RecordedMessage question{"Delete record?", "Confirm", MessageIcon::None,
                                   MessageButtons::OkCancel};
    EXPECT_EQ(desktop.messages, (std::vector<RecordedMessage>{question, question}));
    EXPECT_TRUE(tablesMatchImage(store()));
}

}  // namespace
}  // namespace tal::test
