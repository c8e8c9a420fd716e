#include <gtest/gtest.h>

#include <filesystem>

#include "files/working_files.h"
#include "store/change_extension.h"
#include "store/editing_tables.h"
#include "store/memory_image.h"
#include "support/fake_desktop.h"
#include "support/file_bytes.h"
#include "support/program_sets.h"
#include "support/tal_tool.h"
#include "support/workbench_fixture.h"

namespace tal::test {
namespace {

namespace fs = std::filesystem;

using namespace std::string_literals;

RecordedMessage question(const std::string& text) {
    return {text, "Подтвердите сохранение", MessageIcon::None, MessageButtons::YesNo};
}
RecordedMessage loadError(const std::string& text) {
    return {text, "Загрузка данных", MessageIcon::Error, MessageButtons::Ok};
}
RecordedMessage saveError(const std::string& text) {
    return {text, "Сохранение данных", MessageIcon::Error, MessageButtons::Ok};
}
const RecordedMessage kSavePrevious = question("Сохранить предыдущие данные? ");
const RecordedMessage kSaveOnClose = question("Сохранить данные? ");
const RecordedMessage kReplace = question("Файл уже существует. Заменить? ");

class WorkingFilesTest : public WorkbenchTest {
protected:
    WorkingFilesTest() {
        EXPECT_TRUE(buildWorkingFile(kProgramsA, pathA));
        EXPECT_TRUE(buildWorkingFile(kProgramsB, pathB));
        // As the settings window sets it: the folder with a backslash appended.
        state.dialogFolder = dir.path().string() + "\\";
    }

    bool open(const std::string& path) {
        desktop.openFileAnswers.push_back(path);
        return files.OpenWorkingFile();
    }
    // Changes Param 04 of the current program, as an edit in the grid does.
    void editCurrentProgram(int value) {
        Table& headers = bench.store().headers();
        headers.setInteger(hdr::Param04, value);
        headers.post();
    }
    // The programs of a working file as another workbench loads them.
    std::vector<std::pair<std::int64_t, std::int64_t>> programsIn(const std::string& path) {
        FakeDesktop otherDesktop;
        Workbench other(otherDesktop);
        other.state().blankImagePath = state.blankImagePath;
        other.startup().FormShow();
        otherDesktop.openFileAnswers.push_back(path);
        EXPECT_TRUE(other.workingFiles().OpenWorkingFile());
        std::vector<std::pair<std::int64_t, std::int64_t>> programs;
        Table& headers = other.store().headers();
        for (int row = 0; row < headers.recordCount(); ++row)
            programs.emplace_back(headers.rowValue(row, hdr::ProgNum).asInteger(),
                                  headers.rowValue(row, hdr::Param04).asInteger());
        return programs;
    }
    // The working file and the remarks file beside it, byte for byte.
    std::pair<std::string, std::string> filesOf(const std::string& path) {
        return {readBytes(path), readBytes(ChangeExtension(path, "txt"))};
    }

    EditorState& state = bench.state();
    WorkingFiles& files = bench.workingFiles();
    std::string pathA = dir.path("A.bin");
    std::string pathB = dir.path("B.bin");
};

// ---- Open ---------------------------------------------------------------------------------

TEST_F(WorkingFilesTest, OpenLoadsTheFileAndItsRemarks) {
    ASSERT_TRUE(open(pathA));
    EXPECT_EQ(programNumbers(), (std::vector<std::int64_t>{3, 7}));
    EXPECT_EQ(bench.store().headers().asText(hdr::Remark), "первая");
    EXPECT_EQ(imageBytes(state.currentImage), readBytes(pathA));
    EXPECT_EQ(state.workingFileName, pathA);
    EXPECT_FALSE(state.modified);
    EXPECT_TRUE(desktop.isEnabled(Control::SpeedButton4));
    EXPECT_EQ(desktop.statusFileName, pathA);
    EXPECT_TRUE(desktop.messages.empty());

    ASSERT_EQ(desktop.openRequests.size(), 1u);
    const FileDialogRequest& request = desktop.openRequests[0];
    EXPECT_EQ(request.filter, "Двоичные файлы (*.bin)|*.bin;");
    EXPECT_EQ(request.defaultExtension, "bin");
    EXPECT_EQ(request.initialFolder, dir.path().string() + "/");
    EXPECT_EQ(request.proposedName, "");

    // The open dialog proposes the name last chosen in it.
    files.OpenWorkingFile();
    EXPECT_EQ(desktop.openRequests.back().proposedName, pathA);
}

TEST_F(WorkingFilesTest, OpenWithoutARemarksFileLoadsEmptyRemarksSilently) {
    fs::remove(ChangeExtension(pathA, "txt"));
    ASSERT_TRUE(open(pathA));
    EXPECT_EQ(programNumbers(), (std::vector<std::int64_t>{3, 7}));
    EXPECT_EQ(bench.store().headers().asText(hdr::Remark), "");
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(WorkingFilesTest, AFileThatCannotBeReadChangesNeitherTablesNorImageNorName) {
    const std::string image = readBytes(pathA);
    struct Case {
        const char* name;
        std::string path;
        std::string content;  // written when not empty
        RecordedMessage message;
    };
    const Case cases[] = {
        {"missing", dir.path("none.bin"), "", loadError("Ошибка открытия файла")},
        {"below a regular file", pathB + "/C.bin", "", loadError("Ошибка открытия файла")},
        {"65535 bytes", dir.path("short.bin"), image.substr(1),
         loadError("Ошибочный размер файла")},
        {"65537 bytes", dir.path("long.bin"), image + "x", loadError("Ошибочный размер файла")},
        {"empty", dir.path("empty.bin"), "", loadError("Ошибочный размер файла")},
        {"a folder", dir.path().string(), "", loadError("Ошибка чтения файла")},
    };
    ASSERT_TRUE(open(pathA));
    editCurrentProgram(42);
    const Image before = state.currentImage;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.content.empty() || std::string(c.name) == "empty")
            writeBytes(c.path, c.content);
        desktop.messages.clear();
        state.modified = false;  // no question: the dialog comes at once

        EXPECT_FALSE(open(c.path));
        EXPECT_EQ(desktop.messages, std::vector<RecordedMessage>{c.message});
        EXPECT_EQ(programNumbers(), (std::vector<std::int64_t>{3, 7}));
        EXPECT_EQ(bench.store().headers().asInteger(hdr::Param04), 42);
        EXPECT_EQ(state.currentImage, before);
        EXPECT_EQ(state.workingFileName, pathA);
        EXPECT_EQ(desktop.statusFileName, pathA);
    }
}

// Working file A (program 3 in slot 1 with lines in 2 and 3, program 7 in slot 4), damaged: the
// second line's slot carries another number, and entry 9 names program 7's header too.
Image damagedA(const std::string& pathA) {
    Image image{};
    const std::string bytes = readBytes(pathA);
    std::copy(bytes.begin(), bytes.end(), image.begin());
    writeWord(image, slotOffset(3) + 30, 99);
    setHeaderSlot(image, 9, 4);
    return image;
}

TEST_F(WorkingFilesTest, OpenOfAnErasedOrDamagedImageSaysWhatIsWrongOnceAndASaveLosesNothing) {
    Image erased;
    erased.fill(0xFF);
    const struct {
        const char* name;
        Image image;
        std::vector<std::int64_t> programs;
        std::vector<int> lineCounts;
        std::vector<std::string> said;
    } cases[] = {
        {"erased",
         erased,
         {},
         {},
         {"Ни один слот не хранит свой номер",
          "Не загружены программы без заглавного слота: 255 (записей каталога: 256)."}},
        {"zero-filled", Image{}, {}, {}, {"нарушений: 2015)", "Ни один слот не хранит свой номер"}},
        {"damaged",
         damagedA(pathA),
         {3, 7},
         {1, 0},
         {"слот 3 хранит номер 99\n", "слот 4 принадлежит программам 7 и 9\n",
          "Не загружены программы без заглавного слота: 9.\n",
          "Не полностью прочитаны программы: 3 (", "Прочитанное загружено."}},
    };
    const auto lineCounts = [&] {
        std::vector<int> counts;
        Table& headers = bench.store().headers();
        for (headers.first(); !headers.eof(); headers.next())
            counts.push_back(bench.store().lines().recordCount());
        return counts;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.path("damaged.bin");
        writeBytes(path, imageBytes(c.image));
        state.modified = false;
        ASSERT_TRUE(open(path));
        desktop.takeOneError("Загрузка данных", c.said);
        EXPECT_EQ(programNumbers(), c.programs);
        EXPECT_EQ(lineCounts(), c.lineCounts);
        EXPECT_EQ(state.workingFileName, path);
        EXPECT_EQ(readBytes(path), imageBytes(c.image));  // the file stays as it was until saved

        ASSERT_EQ(files.SpeedButton4Click(), SaveResult::Saved);
        state.modified = false;
        ASSERT_TRUE(open(path));
        EXPECT_TRUE(desktop.takeMessages().empty()) << "the save wrote a damaged image";
        EXPECT_EQ(programNumbers(), c.programs);
        EXPECT_EQ(lineCounts(), c.lineCounts);
    }
}

TEST_F(WorkingFilesTest, OpenAsksToSaveUnsavedChangesAndGoesOnWhateverTheAnswer) {
    ASSERT_TRUE(open(pathA));
    editCurrentProgram(42);

    // Yes runs Save As; cancelling it still opens the file.
    desktop.messageAnswers = {MessageAnswer::Yes};
    desktop.saveFileAnswers = {std::nullopt};
    EXPECT_TRUE(open(pathB));
    EXPECT_EQ(desktop.messages, std::vector<RecordedMessage>{kSavePrevious});
    EXPECT_EQ(desktop.saveRequests.size(), 1u);
    EXPECT_EQ(programNumbers(), std::vector<std::int64_t>{5});

    // No: no save dialog.
    desktop.messages.clear();
    bench.store().headers().edit();
    editCurrentProgram(1);
    desktop.messageAnswers = {MessageAnswer::No};
    EXPECT_TRUE(open(pathA));
    EXPECT_EQ(desktop.messages, std::vector<RecordedMessage>{kSavePrevious});
    EXPECT_EQ(desktop.saveRequests.size(), 1u);
    EXPECT_EQ(programNumbers(), (std::vector<std::int64_t>{3, 7}));
}

TEST_F(WorkingFilesTest, OpenCancelledChangesNothing) {
    ASSERT_TRUE(open(pathA));
    desktop.openFileAnswers = {std::nullopt};
    EXPECT_FALSE(files.OpenWorkingFile());
    EXPECT_EQ(state.workingFileName, pathA);
    EXPECT_EQ(programNumbers(), (std::vector<std::int64_t>{3, 7}));
    EXPECT_TRUE(desktop.messages.empty());
}

// ---- New ----------------------------------------------------------------------------------

TEST_F(WorkingFilesTest, MerelyMovingToAnotherRowThenNewAsksToSave) {
    ASSERT_TRUE(open(pathA));
    ASSERT_FALSE(state.modified);
    bench.store().headers().next();
    desktop.messageAnswers = {MessageAnswer::No};
    files.SpeedButton2Click();
    EXPECT_EQ(desktop.messages, std::vector<RecordedMessage>{kSavePrevious});
}

TEST_F(WorkingFilesTest, NewEmptiesTablesImageAndNames) {
    ASSERT_TRUE(open(pathA));
    state.saveDialogName = pathB;
    files.SpeedButton2Click();  // not modified: no question
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(programNumbers().empty());
    EXPECT_EQ(bench.store().lines().recordCount(), 0);
    EXPECT_EQ(state.currentImage, makeBlankImage());
    EXPECT_EQ(state.workingFileName, "");
    EXPECT_EQ(state.openDialogName, "");
    EXPECT_EQ(state.saveDialogName, "");
    EXPECT_FALSE(state.modified);
    EXPECT_FALSE(desktop.isEnabled(Control::SpeedButton4));
    EXPECT_EQ(desktop.statusFileName, "");
    EXPECT_EQ(desktop.editWindowShown, 1);
}

TEST_F(WorkingFilesTest, NewWithoutABlankImageKeepsTheTables) {
    ASSERT_TRUE(open(pathA));
    fs::remove(dir.path("TAL.ini"));
    const Image before = state.currentImage;
    files.SpeedButton2Click();
    EXPECT_EQ(desktop.messages,
              std::vector<RecordedMessage>({{"Ошибка открытия файла TAL.ini", "Инициализация",
                                             MessageIcon::Error, MessageButtons::Ok}}));
    EXPECT_EQ(programNumbers(), (std::vector<std::int64_t>{3, 7}));
    EXPECT_EQ(state.currentImage, before);
    EXPECT_EQ(state.workingFileName, "");
    EXPECT_EQ(desktop.editWindowShown, 1);
}

TEST_F(WorkingFilesTest, NewGoesOnAfterAFailedSaveAs) {
    ASSERT_TRUE(open(pathA));
    editCurrentProgram(42);
    desktop.messageAnswers = {MessageAnswer::Yes};
    desktop.saveFileAnswers = {dir.path("missing/C.bin")};
    files.SpeedButton2Click();
    EXPECT_EQ(desktop.messages,
              std::vector<RecordedMessage>({kSavePrevious, saveError("Ошибка создания файла")}));
    EXPECT_TRUE(programNumbers().empty());
    EXPECT_EQ(desktop.editWindowShown, 1);
}

// ---- Save ---------------------------------------------------------------------------------

TEST_F(WorkingFilesTest, SaveWritesTheTablesIntoTheWorkingFile) {
    ASSERT_TRUE(open(pathA));
    editCurrentProgram(42);
    bench.store().headers().setText(hdr::Remark, "новая");
    bench.store().headers().post();
    desktop.statusFileName.clear();

    EXPECT_EQ(files.SpeedButton4Click(), SaveResult::Saved);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_FALSE(state.modified);
    EXPECT_EQ(state.workingFileName, pathA);
    EXPECT_EQ(desktop.statusFileName, pathA);
    EXPECT_TRUE(desktop.isEnabled(Control::SpeedButton4));
    EXPECT_EQ(readBytes(pathA), imageBytes(state.currentImage));
    EXPECT_EQ(programsIn(pathA),
              (std::vector<std::pair<std::int64_t, std::int64_t>>{{3, 42}, {7, 0}}));
    // новая, вторая in Windows-1251, each ended by NUL
    EXPECT_EQ(readBytes(ChangeExtension(pathA, "txt")),
              "\xED\xEE\xE2\xE0\xFF\0\xE2\xF2\xEE\xF0\xE0\xFF\0"s);
}

TEST_F(WorkingFilesTest, SaveAfterOpenWritesIntoTheOpenedFileEvenAfterAnEarlierSaveAs) {
    const std::string pathC = dir.path("C.bin");
    ASSERT_TRUE(open(pathA));
    desktop.saveFileAnswers = {pathC};
    ASSERT_EQ(files.SaveWorkingFileAs(), SaveResult::Saved);
    const auto savedC = filesOf(pathC);

    ASSERT_TRUE(open(pathB));
    editCurrentProgram(9);
    bench.store().headers().setText(hdr::Remark, "B");
    bench.store().headers().post();
    EXPECT_EQ(files.SpeedButton4Click(), SaveResult::Saved);
    EXPECT_EQ(programsIn(pathB), (std::vector<std::pair<std::int64_t, std::int64_t>>{{5, 9}}));
    EXPECT_EQ(readBytes(ChangeExtension(pathB, "txt")), "B\0"s);
    EXPECT_EQ(filesOf(pathC), savedC);
    EXPECT_TRUE(desktop.saveRequests.size() == 1);  // Save asks nothing
}

// The operator opened the link: its target gets the image, and the remarks file is the one
// beside the link's name, where Open read it.
TEST_F(WorkingFilesTest, SaveThroughALinkWritesItsTargetAndKeepsTheLink) {
    const std::string target = dir.path("real/A.bin");
    fs::create_directory(dir.path("real"));
    fs::rename(pathA, target);
    fs::permissions(target, fs::perms(0640));
    fs::create_symlink("real/A.bin", pathA);
    ASSERT_TRUE(open(pathA));
    editCurrentProgram(42);
    bench.store().headers().setText(hdr::Remark, "новая");
    bench.store().headers().post();

    EXPECT_EQ(files.SpeedButton4Click(), SaveResult::Saved);
    EXPECT_TRUE(desktop.messages.empty());
    ASSERT_TRUE(fs::is_symlink(pathA));
    EXPECT_EQ(fs::read_symlink(pathA), "real/A.bin");
    EXPECT_EQ(readBytes(target), imageBytes(state.currentImage));
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
    EXPECT_EQ(readBytes(ChangeExtension(pathA, "txt")),
              "\xED\xEE\xE2\xE0\xFF\0\xE2\xF2\xEE\xF0\xE0\xFF\0"s);
    EXPECT_FALSE(fs::exists(dir.path("real/A.txt")));
}

// ---- Save As ------------------------------------------------------------------------------

TEST_F(WorkingFilesTest, SaveAsWritesTheChosenFileAndMakesItTheWorkingFile) {
    const std::string pathC = dir.path("C.bin");
    ASSERT_TRUE(open(pathA));
    editCurrentProgram(42);
    desktop.saveFileAnswers = {pathC};
    EXPECT_EQ(files.SaveWorkingFileAs(), SaveResult::Saved);

    ASSERT_EQ(desktop.saveRequests.size(), 1u);
    const FileDialogRequest& request = desktop.saveRequests[0];
    EXPECT_EQ(request.filter, "Двоичные файлы (*.bin)|*.bin");
    EXPECT_EQ(request.defaultExtension, "bin");
    EXPECT_EQ(request.initialFolder, dir.path().string() + "/");
    EXPECT_EQ(request.proposedName, "");

    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(state.workingFileName, pathC);
    EXPECT_EQ(desktop.statusFileName, pathC);
    EXPECT_FALSE(state.modified);
    EXPECT_TRUE(desktop.isEnabled(Control::SpeedButton4));
    EXPECT_EQ(readBytes(pathC), imageBytes(state.currentImage));
    EXPECT_EQ(programsIn(pathC),
              (std::vector<std::pair<std::int64_t, std::int64_t>>{{3, 42}, {7, 0}}));
    EXPECT_EQ(programsIn(pathA),
              (std::vector<std::pair<std::int64_t, std::int64_t>>{{3, 0}, {7, 0}}));
    // Both dialogs now propose the saved name.
    desktop.saveFileAnswers = {std::nullopt};
    files.SaveWorkingFileAs();
    EXPECT_EQ(desktop.saveRequests.back().proposedName, pathC);
    files.OpenWorkingFile();
    EXPECT_EQ(desktop.openRequests.back().proposedName, pathC);
}

TEST_F(WorkingFilesTest, SaveAsOfEmptyTablesWritesTheBlankImage) {
    const std::string pathC = dir.path("C.bin");
    desktop.saveFileAnswers = {pathC};
    EXPECT_EQ(files.SaveWorkingFileAs(), SaveResult::Saved);
    EXPECT_EQ(readBytes(pathC), imageBytes(makeBlankImage()));
    EXPECT_EQ(readBytes(ChangeExtension(pathC, "txt")), "");
}

TEST_F(WorkingFilesTest, AnsweringNoToReplaceReopensTheDialog) {
    ASSERT_TRUE(open(pathA));
    editCurrentProgram(42);
    const auto before = filesOf(pathB);

    // No, then cancel: nothing saved.
    desktop.saveFileAnswers = {pathB, std::nullopt};
    desktop.messageAnswers = {MessageAnswer::No};
    EXPECT_EQ(files.SaveWorkingFileAs(), SaveResult::Cancelled);
    EXPECT_EQ(desktop.messages, std::vector<RecordedMessage>{kReplace});
    ASSERT_EQ(desktop.saveRequests.size(), 2u);
    EXPECT_EQ(desktop.saveRequests[1].proposedName, pathB);
    EXPECT_EQ(filesOf(pathB), before);
    EXPECT_TRUE(state.modified);
    EXPECT_EQ(state.workingFileName, pathA);

    // No, then another existing name and Yes: that one is replaced.
    desktop.messages.clear();
    desktop.saveFileAnswers = {pathB, pathA};
    desktop.messageAnswers = {MessageAnswer::No, MessageAnswer::Yes};
    EXPECT_EQ(files.SaveWorkingFileAs(), SaveResult::Saved);
    EXPECT_EQ(desktop.messages, std::vector<RecordedMessage>({kReplace, kReplace}));
    EXPECT_EQ(filesOf(pathB), before);
    EXPECT_EQ(programsIn(pathA),
              (std::vector<std::pair<std::int64_t, std::int64_t>>{{3, 42}, {7, 0}}));
}

// ---- closing ------------------------------------------------------------------------------

TEST_F(WorkingFilesTest, ClosingWithYesOpensTheSaveDialogAndACancelStillCloses) {
    ASSERT_TRUE(open(pathA));
    editCurrentProgram(42);
    const auto before = filesOf(pathA);
    desktop.messageAnswers = {MessageAnswer::Yes};
    desktop.saveFileAnswers = {std::nullopt};
    files.FormClose();  // returns: the window closes
    EXPECT_EQ(desktop.messages, std::vector<RecordedMessage>{kSaveOnClose});
    EXPECT_EQ(desktop.saveRequests.size(), 1u);  // Save As, not Save into the working file
    EXPECT_EQ(filesOf(pathA), before);
}

TEST_F(WorkingFilesTest, ClosingAsksOnlyWithUnsavedChanges) {
    ASSERT_TRUE(open(pathA));
    files.FormClose();
    EXPECT_TRUE(desktop.messages.empty());

    editCurrentProgram(42);
    desktop.messageAnswers = {MessageAnswer::No};
    files.FormClose();
    EXPECT_EQ(desktop.messages, std::vector<RecordedMessage>{kSaveOnClose});
    EXPECT_TRUE(desktop.saveRequests.empty());
}

TEST_F(WorkingFilesTest, ExitClosesTheMainWindow) {
    files.SpeedButton1Click();
    EXPECT_EQ(desktop.mainWindowCloses, 1);
    EXPECT_TRUE(desktop.messages.empty());
}

// ---- failures provoked on the file system -------------------------------------------------

class SaveFailureTest : public WorkingFilesTest {
protected:
    SaveFailureTest() {
        EXPECT_TRUE(open(pathA));
        editCurrentProgram(42);
        before = filesOf(pathA);
        marked = state.currentImage;
        marked[40] ^= 0xFF;  // a byte storing would overwrite from the blank image
        state.currentImage = marked;
        desktop.messages.clear();
    }
    void expectUnsaved() {
        EXPECT_TRUE(state.modified);
        EXPECT_EQ(filesOf(pathA), before);
        EXPECT_EQ(state.workingFileName, pathA);
    }

    std::pair<std::string, std::string> before;
    Image marked{};
};

TEST_F(SaveFailureTest, SaveWhenTheWorkingFileCannotBeOpened) {
    for (const std::string& name : {dir.path("gone.bin"), pathB + "/A.bin", std::string()}) {
        SCOPED_TRACE(name);
        desktop.messages.clear();
        state.workingFileName = name;
        EXPECT_EQ(files.SpeedButton4Click(), SaveResult::NotStored);
        EXPECT_EQ(desktop.messages,
                  std::vector<RecordedMessage>{saveError("Ошибка открытия файла")});
        EXPECT_EQ(state.currentImage, marked);  // not rebuilt
        EXPECT_TRUE(state.modified);
        EXPECT_FALSE(fs::exists(name)) << "the check must not create the file";
    }
}

TEST_F(SaveFailureTest, SaveWhenTheRemarksFileCannotBeWrittenKeepsTheWorkingFile) {
    fs::remove(ChangeExtension(pathA, "txt"));
    fs::create_symlink("/dev/full", ChangeExtension(pathA, "txt"));
    EXPECT_EQ(files.SpeedButton4Click(), SaveResult::Failed);
    EXPECT_EQ(desktop.messages, std::vector<RecordedMessage>{saveError("Ошибка записи файла")});
    EXPECT_TRUE(state.modified);
    EXPECT_EQ(readBytes(pathA), before.first);
}

TEST_F(SaveFailureTest, SaveWhenTheImageCannotBeWrittenKeepsTheRemarksFile) {
    bench.store().headers().setText(hdr::Remark, "другая");
    bench.store().headers().post();
    fs::rename(pathA, dir.path("A.old"));
    fs::create_symlink("/dev/full", pathA);
    EXPECT_EQ(files.SpeedButton4Click(), SaveResult::Failed);
    EXPECT_EQ(desktop.messages, std::vector<RecordedMessage>{saveError("Ошибка записи файла")});
    EXPECT_TRUE(state.modified);
    EXPECT_EQ(readBytes(ChangeExtension(pathA, "txt")), before.second);
}

TEST_F(SaveFailureTest, SaveWithoutABlankImageWritesNothing) {
    fs::remove(dir.path("TAL.ini"));
    for (const bool saveAs : {false, true}) {
        SCOPED_TRACE(saveAs);
        desktop.messages.clear();
        desktop.saveFileAnswers = {pathA};
        desktop.messageAnswers = {MessageAnswer::Yes};  // replace A
        const SaveResult result = saveAs ? files.SaveWorkingFileAs() : files.SpeedButton4Click();
        EXPECT_EQ(result, SaveResult::NotStored);
        EXPECT_EQ(desktop.messages.back(),
                  (RecordedMessage{"Ошибка открытия файла TAL.ini", "Инициализация",
                                   MessageIcon::Error, MessageButtons::Ok}));
        EXPECT_EQ(state.currentImage, marked);
        expectUnsaved();
    }
}

TEST_F(SaveFailureTest, ARemarkThatWindows1251CannotHoldIsRefused) {
    bench.store().headers().last();
    bench.store().headers().setText(hdr::Remark, "галочка ✓");
    bench.store().headers().post();
    state.currentImage = marked;
    const std::string pathC = dir.path("C.bin");
    for (const bool saveAs : {false, true}) {
        SCOPED_TRACE(saveAs);
        desktop.messages.clear();
        desktop.saveFileAnswers = {pathC};
        const SaveResult result = saveAs ? files.SaveWorkingFileAs() : files.SpeedButton4Click();
        EXPECT_EQ(result, SaveResult::NotStored);
        ASSERT_EQ(desktop.messages.size(), 1u);
        EXPECT_EQ(desktop.messages[0].caption, "Сохранение данных");
        EXPECT_EQ(desktop.messages[0].icon, MessageIcon::Error);
        EXPECT_NE(desktop.messages[0].text.find("Примечание программы 7"), std::string::npos);
        EXPECT_NE(desktop.messages[0].text.find("Windows-1251"), std::string::npos);
        EXPECT_EQ(state.currentImage, marked);
        expectUnsaved();
        EXPECT_FALSE(fs::exists(pathC));
        EXPECT_FALSE(fs::exists(ChangeExtension(pathC, "txt")));
    }
}

TEST_F(SaveFailureTest, SaveAsThatCannotCreateTheFileLeavesNoFileBehind) {
    const std::string regularFile = dir.path("plain");
    writeBytes(regularFile, "x");
    for (const std::string& target :
         {dir.path("missing/C.bin"), regularFile + "/C.bin", dir.path().string()}) {
        SCOPED_TRACE(target);
        desktop.messages.clear();
        desktop.saveFileAnswers = {target};
        desktop.messageAnswers = {MessageAnswer::Yes};  // the folder itself exists
        EXPECT_EQ(files.SaveWorkingFileAs(), SaveResult::NotStored);
        EXPECT_EQ(desktop.messages.back(), saveError("Ошибка создания файла"));
        EXPECT_EQ(state.currentImage, marked);
        expectUnsaved();
    }
    EXPECT_FALSE(fs::exists(dir.path("missing")));
    EXPECT_EQ(readBytes(regularFile), "x");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"A.bin", "A.txt", "B.bin", "B.txt", "TAL.ini", "plain"}));
}

TEST_F(SaveFailureTest, SaveAsThatFailsAfterTheRemarksLeavesNoNewFile) {
    // The image goes to a device that is full; the remarks file beside it was new.
    const std::string target = dir.path("C.bin");
    fs::create_symlink("/dev/full", target);
    desktop.saveFileAnswers = {target};
    desktop.messageAnswers = {MessageAnswer::Yes};
    EXPECT_EQ(files.SaveWorkingFileAs(), SaveResult::Failed);
    EXPECT_EQ(desktop.messages,
              std::vector<RecordedMessage>({kReplace, saveError("Ошибка записи файла")}));
    EXPECT_FALSE(fs::exists(ChangeExtension(target, "txt")));
    expectUnsaved();
}

TEST_F(SaveFailureTest, SaveAsThatFailsAfterTheRemarksLeavesTheirDanglingLinkAsItWas) {
    const std::string target = dir.path("C.bin");
    const std::string remarks = ChangeExtension(target, "txt");
    fs::create_symlink("/dev/full", target);
    fs::create_symlink("elsewhere.txt", remarks);
    desktop.saveFileAnswers = {target};
    desktop.messageAnswers = {MessageAnswer::Yes};
    EXPECT_EQ(files.SaveWorkingFileAs(), SaveResult::Failed);
    EXPECT_EQ(desktop.messages,
              std::vector<RecordedMessage>({kReplace, saveError("Ошибка записи файла")}));
    ASSERT_TRUE(fs::is_symlink(remarks));
    EXPECT_EQ(fs::read_symlink(remarks), "elsewhere.txt");
    EXPECT_FALSE(fs::exists(dir.path("elsewhere.txt")));
    expectUnsaved();
}

TEST_F(SaveFailureTest, SaveAsWhoseRemarksCannotBeWrittenDoesNotWriteTheImage) {
    const std::string target = dir.path("C.bin");
    fs::create_symlink("/dev/full", ChangeExtension(target, "txt"));
    desktop.saveFileAnswers = {target};
    EXPECT_EQ(files.SaveWorkingFileAs(), SaveResult::Failed);
    EXPECT_EQ(desktop.messages, std::vector<RecordedMessage>{saveError("Ошибка записи файла")});
    EXPECT_FALSE(fs::exists(target));
    expectUnsaved();
}

}  // namespace
}  // namespace tal::test
