#include <gtest/gtest.h>

#include <filesystem>

#include "editor/editor_state.h"
#include "files/settings_file.h"
#include "store/text.h"
#include "support/fake_desktop.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace tal::test {
namespace {

namespace fs = std::filesystem;

RecordedMessage settingsError(const std::string& text) {
    return {text, "Сохранить", MessageIcon::Error, MessageButtons::Ok};
}

class SettingsFileTest : public ::testing::Test {
protected:
    SettingsFileTest() { state.settingsFilePath = dir.path("TAL.cfg"); }

    TempFolder dir;
    FakeDesktop desktop;
    EditorState state;
};

TEST_F(SettingsFileTest, WritesThreeLfEndedLinesInWindows1251AndCreatesAMissingFile) {
    ASSERT_FALSE(fs::exists(state.settingsFilePath));
    state.machineModel = "ТАЛ-1";
    state.programsFolder = "C:\\Программы намотки\\";
    state.programmerFolder = "C:\\PICkit 2\\";
    WriteSettingsFile(state, desktop);
    EXPECT_TRUE(desktop.messages.empty());
    // ТАЛ-1 is D2 C0 CB 2D 31 in Windows-1251.
    const std::string bytes = readBytes(state.settingsFilePath);
    EXPECT_EQ(bytes.substr(0, 6), "\xD2\xC0\xCB-1\n");
    EXPECT_EQ(bytes, *encodeCp1251("ТАЛ-1\nC:\\Программы намотки\\\nC:\\PICkit 2\\\n"));
    EXPECT_EQ(bytes.find('\r'), std::string::npos);

    EditorState reread;
    reread.settingsFilePath = state.settingsFilePath;
    ASSERT_TRUE(ReadSettingsFile(reread));
    EXPECT_EQ(reread.machineModel, state.machineModel);
    EXPECT_EQ(reread.programsFolder, state.programsFolder);
    EXPECT_EQ(reread.programmerFolder, state.programmerFolder);
}

TEST_F(SettingsFileTest, EmptySettingsStillGiveThreeLines) {
    state.programsFolder = "D:\\";
    WriteSettingsFile(state, desktop);
    EXPECT_EQ(readBytes(state.settingsFilePath), "\nD:\\\n\n");
}

TEST_F(SettingsFileTest, FailuresAreShownAndTheSettingsStayInMemory) {
    const std::string regularFile = dir.path("plain");
    writeBytes(regularFile, "x");
    struct Case {
        std::string path;
        RecordedMessage message;
    };
    const Case cases[] = {
        {dir.path("missing/TAL.cfg"), settingsError("Ошибка создания файла TAL.cfg")},
        {regularFile + "/TAL.cfg", settingsError("Ошибка создания файла TAL.cfg")},
        {dir.path().string(), settingsError("Ошибка создания файла TAL.cfg")},
        {"/dev/full", settingsError("Ошибка записи файла TAL.cfg")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        desktop.messages.clear();
        state.settingsFilePath = c.path;
        state.machineModel = "ТАЛ-2";
        WriteSettingsFile(state, desktop);
        EXPECT_EQ(desktop.messages, std::vector<RecordedMessage>{c.message});
        EXPECT_EQ(state.machineModel, "ТАЛ-2");
    }
    EXPECT_EQ(readBytes(regularFile), "x");
    EXPECT_FALSE(fs::exists(dir.path("missing")));
}

TEST_F(SettingsFileTest, ASettingWindows1251CannotHoldIsNeverWrittenAsSomethingElse) {
    state.machineModel = "ТАЛ-1";
    WriteSettingsFile(state, desktop);
    const std::string before = readBytes(state.settingsFilePath);

    state.programsFolder = "/home/операто́р/";  // a combining accent has no Windows-1251 byte
    WriteSettingsFile(state, desktop);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "Сохранить");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::Error);
    EXPECT_NE(desktop.messages[0].text.find("Windows-1251"), std::string::npos);
    EXPECT_EQ(readBytes(state.settingsFilePath), before);
}

#ifndef _WIN32
TEST(SettingsFolders, TheAppendedBackslashNamesTheFolderOnDisk) {
    struct Case {
        std::string setting, onDisk;
    };
    const Case cases[] = {
        {"/home/op/programs\\", "/home/op/programs/"},
        {"/home/op/programs/\\", "/home/op/programs//"},
        {"/home/op/a\\b\\", "/home/op/a\\b/"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(folderOnDisk(c.setting), c.onDisk) << c.setting;
}
#endif

}  // namespace
}  // namespace tal::test
