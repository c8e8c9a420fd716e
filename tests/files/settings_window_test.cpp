#include <gtest/gtest.h>

#include <filesystem>

#include "files/settings_window.h"
#include "store/text.h"
#include "support/fake_desktop.h"
#include "support/file_bytes.h"
#include "support/limits_data.h"
#include "support/temp_folder.h"
#include "workbench/workbench.h"

namespace tal::test {
namespace {

namespace fs = std::filesystem;

class SettingsWindowTest : public ::testing::Test {
protected:
    SettingsWindowTest() {
        bench.limits().setPath(dir.path("TALC.DB"));
        state.settingsFilePath = dir.path("TAL.cfg");
    }

    void useLimits(const std::vector<LimitsRecord>& records) {
        writeLimits(dir.path("TALC.DB"), records);
        bench.limits().Close();
    }
    std::string settingsFile() { return decodeCp1251(readBytes(state.settingsFilePath)); }

    TempFolder dir;
    FakeDesktop desktop;
    Workbench bench{desktop};
    EditorState& state = bench.state();
    SettingsWindow& window = bench.settingsWindow();
};

TEST_F(SettingsWindowTest, FormCreateListsTheModelsInIndexOrderAndShowsTheSettings) {
    useLimits(deliveredLimits());
    state.machineModel = "ТАЛ-2";
    state.programsFolder = "C:\\Программы\\";
    state.programmerFolder = "C:\\PICkit 2\\";
    window.FormCreate();
    EXPECT_EQ(window.models(), (std::vector<std::string>{"ТАЛ-1", "ТАЛ-2"}));
    EXPECT_EQ(window.selectedModel(), 1);
    EXPECT_EQ(window.staticText1(), "C:\\Программы\\");
    EXPECT_EQ(window.staticText2(), "C:\\PICkit 2\\");
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_FALSE(fs::exists(state.settingsFilePath));  // creating writes nothing
}

TEST_F(SettingsWindowTest, ModelsThatDifferOnlyInLetterCaseAreTwoEntries) {
    // The index ignores letter case, so the rows of ТАЛ-1 and тал-1 interleave.
    useLimits({limitsRecord("ТАЛ-1", "Param 02", 0, 1, "a"),
               limitsRecord("тал-1", "Param 04", 0, 1, "b"),
               limitsRecord("ТАЛ-1", "Param 05", 0, 1, "c"),
               limitsRecord("ТАЛ-2", "Param 02", 0, 1, "d")});
    state.machineModel = "тал-1";
    window.FormCreate();
    EXPECT_EQ(window.models(), (std::vector<std::string>{"ТАЛ-1", "тал-1", "ТАЛ-2"}));
    EXPECT_EQ(window.selectedModel(), 1);
}

TEST_F(SettingsWindowTest, AModelMatchingNoEntryLeavesTheLastEntrySelectedUntilOneIsPicked) {
    useLimits(deliveredLimits());
    state.machineModel = "ТАЛ-3";
    window.FormCreate();
    EXPECT_EQ(window.selectedModel(), 1);
    EXPECT_EQ(state.machineModel, "ТАЛ-3");

    window.ComboBox1Change(1);
    EXPECT_EQ(state.machineModel, "ТАЛ-2");
    // A missing settings file is created by the first change, with all three lines.
    EXPECT_EQ(settingsFile(), "ТАЛ-2\n\n\n");
    EXPECT_EQ(desktop.hints["DBEdit04"], *limitsMessage(deliveredLimits(), "ТАЛ-2", "Param 04"));
}

TEST_F(SettingsWindowTest, PickingAnotherModelWritesTheFileAndRefreshesTheHints) {
    useLimits(deliveredLimits());
    state.machineModel = "ТАЛ-1";
    state.programsFolder = "C:\\P\\";
    window.FormCreate();
    window.ComboBox1Change(1);
    EXPECT_EQ(state.machineModel, "ТАЛ-2");
    EXPECT_EQ(window.selectedModel(), 1);
    EXPECT_EQ(settingsFile(), "ТАЛ-2\nC:\\P\\\n\n");
    for (const char* field : {"Param 02", "Param 04", "Param 1", "Param 18"}) {
        const std::string control =
            "DBEdit" + std::string(field).substr(std::string(field).find(' ') + 1);
        EXPECT_EQ(desktop.hints[control], *limitsMessage(deliveredLimits(), "ТАЛ-2", field))
            << field;
    }
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(SettingsWindowTest, PickingTheCurrentModelWritesNothingAndKeepsTheHints) {
    useLimits(deliveredLimits());
    state.machineModel = "ТАЛ-1";
    window.FormCreate();
    window.ComboBox1Change(0);
    EXPECT_FALSE(fs::exists(state.settingsFilePath));
    EXPECT_TRUE(desktop.hints.empty());
}

TEST_F(SettingsWindowTest, AnEmptyLimitsTableGivesAnEmptyListWithNothingSelected) {
    useLimits({});
    window.FormCreate();
    EXPECT_TRUE(window.models().empty());
    EXPECT_EQ(window.selectedModel(), -1);
}

TEST_F(SettingsWindowTest, ALimitsTableThatCannotBeOpenedLeavesTheDesignTimeContents) {
    state.programsFolder = "C:\\P\\";
    EXPECT_THROW(window.FormCreate(), EngineError);
    EXPECT_EQ(window.models(), (std::vector<std::string>{"ТАЛ-1", "ТАЛ-2"}));
    EXPECT_EQ(window.selectedModel(), -1);
    EXPECT_EQ(window.staticText1(), "");
}

TEST_F(SettingsWindowTest, AModelNameWindows1251CannotHoldIsRefused) {
    useLimits({limitsRecord("ТАЛ-1", "Param 04", 0, 1, "a"),
               limitsRecord("ТАЛ-✓", "Param 04", 0, 1, "b")});
    state.machineModel = "ТАЛ-1";
    window.FormCreate();
    ASSERT_EQ(window.models().size(), 2u);
    window.ComboBox1Change(1);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "Сохранить");
    EXPECT_NE(desktop.messages[0].text.find("Windows-1251"), std::string::npos);
    EXPECT_EQ(state.machineModel, "ТАЛ-1");
    EXPECT_EQ(window.selectedModel(), 0);
    EXPECT_FALSE(fs::exists(state.settingsFilePath));
}

TEST_F(SettingsWindowTest, ChoosingAFolderAppendsExactlyOneBackslash) {
    useLimits(deliveredLimits());
    state.machineModel = "ТАЛ-1";
    state.programmerFolder = "C:\\PK2\\";
    window.FormCreate();

    struct Case {
        std::string chosen, held;
    };
    const Case cases[] = {
        {"/home/оператор/программы", "/home/оператор/программы\\"},
        {"C:\\TAL\\", "C:\\TAL\\\\"},
        {"/", "/\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        desktop.folderAnswers = {c.chosen};
        window.Button1Click();
        EXPECT_EQ(state.programsFolder, c.held);
        EXPECT_EQ(window.staticText1(), c.held);
        EXPECT_EQ(state.dialogFolder, c.held);
        EXPECT_EQ(settingsFile(), "ТАЛ-1\n" + c.held + "\nC:\\PK2\\\n");
    }
    EXPECT_EQ(desktop.calls.back(), "folder-dialog Выберите папку");

    desktop.folderAnswers = {"D:\\PICkit 2"};
    window.Button2Click();
    EXPECT_EQ(state.programmerFolder, "D:\\PICkit 2\\");
    EXPECT_EQ(window.staticText2(), "D:\\PICkit 2\\");
    EXPECT_EQ(state.dialogFolder, "/\\");  // the programmer folder leaves the dialogs alone
    EXPECT_EQ(settingsFile(), "ТАЛ-1\n/\\\nD:\\PICkit 2\\\n");
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(SettingsWindowTest, ACancelledOrRefusedFolderChangesNothing) {
    state.programsFolder = "C:\\P\\";
    state.programmerFolder = "C:\\Q\\";
    state.dialogFolder = "C:\\P\\";
    desktop.folderAnswers = {std::nullopt, "/home/операто́р", std::nullopt, "/home/✓"};
    window.Button1Click();
    window.Button1Click();
    window.Button2Click();
    window.Button2Click();
    ASSERT_EQ(desktop.messages.size(), 2u);
    for (const RecordedMessage& message : desktop.messages) {
        EXPECT_EQ(message.caption, "Сохранить");
        EXPECT_EQ(message.icon, MessageIcon::Error);
        EXPECT_NE(message.text.find("Windows-1251"), std::string::npos);
    }
    EXPECT_EQ(state.programsFolder, "C:\\P\\");
    EXPECT_EQ(state.programmerFolder, "C:\\Q\\");
    EXPECT_EQ(state.dialogFolder, "C:\\P\\");
    EXPECT_FALSE(fs::exists(state.settingsFilePath));
}

TEST_F(SettingsWindowTest, ASettingsFileThatCannotBeWrittenKeepsTheNewSettingInMemory) {
    useLimits(deliveredLimits());
    state.machineModel = "ТАЛ-1";
    state.settingsFilePath = "/dev/full";
    window.FormCreate();
    window.ComboBox1Change(1);
    EXPECT_EQ(desktop.messages,
              std::vector<RecordedMessage>({{"Ошибка записи файла TAL.cfg", "Сохранить",
                                             MessageIcon::Error, MessageButtons::Ok}}));
    EXPECT_EQ(state.machineModel, "ТАЛ-2");
    EXPECT_FALSE(desktop.hints.empty());  // the hints follow the model all the same
}

}  // namespace
}  // namespace tal::test
