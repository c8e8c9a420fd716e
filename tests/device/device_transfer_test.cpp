#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "device/device_transfer.h"
#include "device/hex_file.h"
#include "device_transfer_fixture.h"
#include "store/change_extension.h"
#include "store/editing_tables.h"
#include "store/file_system.h"

namespace tal::test {
namespace {

const RecordedMessage kWaitPrompt{"После завершения процесса нажмите OK", "Импорт данных",
                                  MessageIcon::Information, MessageButtons::Ok};
const RecordedMessage kReplace{"Файл уже существует. Заменить? ", "Подтвердите замену",
                               MessageIcon::None, MessageButtons::YesNo};

// ---- Export -------------------------------------------------------------------------------

TEST_F(DeviceTransferTest, ExportOfProgramsNeverSavedOpensTheSaveDialogAndCancelEndsSilently) {
    bench.deviceTransfer().SpeedButton12Click();
    ASSERT_EQ(desktop.saveRequests.size(), 1u);
    EXPECT_EQ(desktop.saveRequests[0].filter, "Двоичные файлы (*.bin)|*.bin");
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(desktop.launches.empty());
    EXPECT_TRUE(hexFilesIn(m_work).empty());
}

TEST_F(DeviceTransferTest, ExportWithoutAWorkingFileSavesAsFirstThenStartsTheProgrammer) {
    open(pathA);
    fs::remove(pathA);
    const std::string chosen = work("новая.bin");
    desktop.saveFileAnswers.push_back(chosen);
    bench.deviceTransfer().SpeedButton12Click();

    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(state.workingFileName, chosen);
    EXPECT_EQ(readBytes(chosen), imageBytes(state.currentImage));
    const std::string hex = work("новая.hex");
    EXPECT_EQ(readBytes(hex), formatHexFile(state.currentImage));
    ASSERT_EQ(desktop.launches.size(), 2u);
    EXPECT_EQ(desktop.launches[0].program, m_programmer + "/PK2CMD.exe");
    EXPECT_EQ(desktop.launches[0].workingFolder, m_programmer);
    EXPECT_EQ(desktop.launches[0].arguments,
              (std::vector<std::string>{"/P25LC512", "/F" + hex, "/M"}));
    // The memory is read back beside the HEX file, and the file is gone once compared.
    EXPECT_EQ(desktop.launches[1].workingFolder, m_programmer);
    EXPECT_EQ(desktop.launches[1].arguments,
              (std::vector<std::string>{"/P25LC512", "/GF" + work("новая.verify.hex")}));
    EXPECT_FALSE(fs::exists(work("новая.verify.hex")));
}

TEST_F(DeviceTransferTest, ExportOfAnUnchangedFileSendsTheImageAsLoadedWithoutSaving) {
    open(pathA);
    const Image loaded = state.currentImage;
    writeBytes(pathA, std::string(65536, 'x'));  // a save would overwrite this
    writeBytes(work("катушка A.hex"), "an old export, replaced without a question");
    bench.deviceTransfer().SpeedButton12Click();

    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(readBytes(pathA), std::string(65536, 'x'));
    EXPECT_EQ(readBytes(work("катушка A.hex")), formatHexFile(loaded));
    EXPECT_EQ(desktop.launches.size(), 2u);  // the write and its read-back
}

TEST_F(DeviceTransferTest, ExportOfChangedProgramsSavesThemFirst) {
    open(pathA);
    const Image loaded = state.currentImage;
    editCurrentProgram(42);
    bench.deviceTransfer().SpeedButton12Click();

    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_FALSE(state.modified);
    EXPECT_NE(state.currentImage, loaded);
    EXPECT_EQ(readBytes(pathA), imageBytes(state.currentImage));
    EXPECT_EQ(readBytes(work("катушка A.hex")), formatHexFile(state.currentImage));
    EXPECT_EQ(desktop.launches.size(), 2u);  // the write and its read-back
}

// The image is rebuilt from the tables even though the remarks file could not be written, so
// the export goes on after the save's own message.
TEST_F(DeviceTransferTest, ExportGoesOnAfterASaveThatFailedOnceTheImageWasRebuilt) {
    open(pathA);
    editCurrentProgram(43);
    fs::remove(ChangeExtension(pathA, "txt"));
    fs::create_symlink("/dev/full", ChangeExtension(pathA, "txt"));
    bench.deviceTransfer().SpeedButton12Click();

    EXPECT_EQ(desktop.messages,
              std::vector<RecordedMessage>{error("Ошибка записи файла", "Сохранение данных")});
    EXPECT_EQ(readBytes(work("катушка A.hex")), formatHexFile(state.currentImage));
    EXPECT_EQ(desktop.launches.size(), 2u);  // the write and its read-back
}

// A working file that cannot be saved (an archive file opened read-only, a remark Windows-1251
// cannot hold) is still exported, from an image rebuilt from the tables without writing anything.
TEST_F(DeviceTransferTest, ExportOfProgramsThatCannotBeSavedSendsTheTables) {
    const std::string archive = work("архив.bin");
    const std::string hex = work("архив.hex");
    // Not even root may write it: the kernel's settings below /proc/sys keep their modes.
    const std::string readOnly = "/proc/sys/kernel/osrelease";
    const struct {
        const char* name;
        bool readOnlyFile;
        std::string remark;
        RecordedMessage saveMessage;
    } cases[] = {
        {"read-only working file", true, "", error("Ошибка открытия файла", "Сохранение данных")},
        {"remark outside Windows-1251", false, "катушка 漢",
         error("Примечание программы 3 содержит символы, которых нет в кодировке Windows-1251. "
               "Данные не сохранены.",
               "Сохранение данных")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::copy_file(pathA, archive, fs::copy_options::overwrite_existing);
        fs::remove(hex);
        open(archive);
        const Image loaded = state.currentImage;
        if (c.readOnlyFile) {
            fs::remove(archive);
            fs::create_symlink(readOnly, archive);
            ASSERT_TRUE(fileExists(archive));
            ASSERT_FALSE(canOpenForWriting(archive));
        }
        Table& headers = bench.store().headers();
        headers.setInteger(hdr::Param04, 42);
        headers.setText(hdr::Remark, c.remark);
        headers.post();
        bench.deviceTransfer().SpeedButton12Click();

        EXPECT_EQ(desktop.takeMessages(), std::vector<RecordedMessage>{c.saveMessage});
        EXPECT_TRUE(state.modified);
        EXPECT_EQ(desktop.launches.size(), 2u);  // the write and its read-back
        EXPECT_EQ(state.workingFileName, archive);
        if (!c.readOnlyFile) {
            EXPECT_EQ(readBytes(archive), imageBytes(loaded));
        }

        // What a save of these tables writes is what went to the machine.
        headers.edit();
        headers.setText(hdr::Remark, "");
        headers.post();
        const std::string copy = work("копия.bin");
        desktop.saveFileAnswers.push_back(copy);
        ASSERT_EQ(bench.workingFiles().SaveWorkingFileAs(), SaveResult::Saved);
        EXPECT_NE(imageFromFile(copy), loaded);
        EXPECT_EQ(readBytes(hex), formatHexFile(imageFromFile(copy)));

        fs::remove(archive);
        fs::remove(copy);
        desktop.messages.clear();
        desktop.launches.clear();
    }
}

// One programmer, one run: while the tool is at work neither command starts it again.
TEST_F(DeviceTransferTest, TheProgrammerIsNotStartedAgainWhileItRuns) {
    open(pathA);
    desktop.holdPrograms = true;
    bench.deviceTransfer().SpeedButton12Click();
    ASSERT_EQ(desktop.launches.size(), 1u);
    writeBytes(work("катушка A.hex"), "left alone while the tool reads it");

    bench.deviceTransfer().SpeedButton12Click();
    bench.deviceTransfer().SpeedButton11Click();
    EXPECT_EQ(desktop.takeMessages(),
              (std::vector<RecordedMessage>{
                  error("Программатор ещё не завершил работу", "Экспорт данных"),
                  error("Программатор ещё не завершил работу", "Импорт данных")}));
    EXPECT_TRUE(desktop.saveRequests.empty());
    EXPECT_EQ(desktop.launches.size(), 1u);
    EXPECT_EQ(readBytes(work("катушка A.hex")), "left alone while the tool reads it");

    desktop.endProgram({false, 5});  // the tool's failure is its window's business
    bench.deviceTransfer().SpeedButton12Click();
    EXPECT_TRUE(desktop.takeMessages().empty());
    EXPECT_EQ(desktop.launches.size(), 2u);
}

TEST_F(DeviceTransferTest, ExportFailures) {
    open(pathA);
    const std::string hex = work("катушка A.hex");

    fs::create_directory(hex);
    bench.deviceTransfer().SpeedButton12Click();
    EXPECT_EQ(desktop.takeMessages(),
              std::vector<RecordedMessage>{error("Ошибка создания hex-файла", "Экспорт данных")});
    EXPECT_TRUE(desktop.launches.empty());
    fs::remove(hex);

    // A write that fails part-way goes to the standard error report with the system's reason;
    // the tool is not started.
    fs::create_symlink("/dev/full", hex);
    try {
        bench.deviceTransfer().SpeedButton12Click();
        ADD_FAILURE() << "no HexWriteError";
    } catch (const HexWriteError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Ошибка записи hex-файла " + hex + ": Нет места на устройстве");
    }
    EXPECT_TRUE(desktop.launches.empty());
    fs::remove(hex);

    desktop.programRunner = nullptr;
    desktop.startProgramResult = false;
    bench.deviceTransfer().SpeedButton12Click();
    EXPECT_EQ(desktop.takeMessages(), std::vector<RecordedMessage>{
                                          error("Ошибка запуска программатора", "Экспорт данных")});
    EXPECT_EQ(readBytes(hex), formatHexFile(state.currentImage));
}

// ---- Import -------------------------------------------------------------------------------

TEST_F(DeviceTransferTest, ImportCancelledInTheDialogChangesNothing) {
    open(pathA);
    const Snapshot before = snapshot();
    bench.deviceTransfer().SpeedButton11Click();
    ASSERT_EQ(desktop.saveRequests.size(), 1u);
    EXPECT_EQ(desktop.saveRequests[0].defaultExtension, "bin");
    EXPECT_EQ(desktop.saveRequests[0].initialFolder, m_work + "/");
    EXPECT_EQ(snapshot(), before);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(desktop.launches.empty());
}

TEST_F(DeviceTransferTest, ImportOverAnExistingFileAsksAndNoReopensTheDialog) {
    open(pathA);
    const Snapshot before = snapshot();
    desktop.saveFileAnswers = {pathB, std::nullopt};
    bench.deviceTransfer().SpeedButton11Click();

    EXPECT_EQ(desktop.messages, std::vector<RecordedMessage>{kReplace});
    ASSERT_EQ(desktop.saveRequests.size(), 2u);
    EXPECT_EQ(desktop.saveRequests[1].proposedName, pathB);
    EXPECT_TRUE(desktop.launches.empty());
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(readBytes(pathB).size(), 65536u);
}

// Export into the stand-in's EEPROM, then import it back in both of the tool's line-end layouts.
TEST_F(DeviceTransferTest, RoundTripThroughTheProgrammerStandIn) {
    open(pathA);
    const std::string exported = readBytes(pathA);
    runTheTool();
    bench.deviceTransfer().SpeedButton12Click();
    ASSERT_EQ(readBytes(eeprom()), exported);
    EXPECT_TRUE(fs::exists(work("катушка A.hex")));

    for (const bool crlf : {false, true}) {
        SCOPED_TRACE(crlf ? "CR LF" : "LF");
        const std::string target = work(crlf ? "из машины 2.bin" : "из машины 1.bin");
        const std::string hex = ChangeExtension(target, "hex");
        writeBytes(hex, programmerHexText(makeBlankImage(), crlf));  // stale, must not be read
        bool staleGone = false;
        desktop.programRunner = [&, crlf](const ProgramLaunch& launch) {
            staleGone = !fs::exists(hex);
            EXPECT_EQ(launch.arguments, (std::vector<std::string>{"/P25LC512", "/GF" + hex}));
            EXPECT_EQ(launch.workingFolder, m_programmer);
            std::vector<std::string> arguments{launch.program};
            arguments.insert(arguments.end(), launch.arguments.begin(), launch.arguments.end());
            std::vector<std::pair<std::string, std::string>> environment;
            if (crlf)
                environment.emplace_back("PK2CMD_SIM_CRLF", "1");
            return runProcess(arguments, environment, launch.workingFolder).exitCode == 0;
        };
        editCurrentProgram(crlf ? 5 : 6);  // no question about saving: the tables are replaced
        desktop.messages.clear();
        importAs(target);

        EXPECT_TRUE(staleGone);
        EXPECT_EQ(desktop.messages, std::vector<RecordedMessage>{kWaitPrompt});
        EXPECT_EQ(readBytes(target), exported);
        EXPECT_EQ(readBytes(hex), programmerHexText(state.currentImage, crlf));  // left in place
        EXPECT_EQ(imageBytes(state.currentImage), exported);
        EXPECT_EQ(programNumbers(), (std::vector<std::int64_t>{3, 7}));
        EXPECT_EQ(bench.store().headers().asText(hdr::Remark), "");  // no remarks file there
        EXPECT_FALSE(fs::exists(ChangeExtension(target, "txt")));
        EXPECT_FALSE(state.modified);
        EXPECT_EQ(state.workingFileName, target);
        EXPECT_EQ(state.saveDialogName, target);
        EXPECT_EQ(state.openDialogName, target);
        EXPECT_EQ(desktop.statusFileName, target);
        EXPECT_TRUE(desktop.isEnabled(Control::SpeedButton4));
    }
}

TEST_F(DeviceTransferTest, ImportTakesRemarksFromTheRemarksFileOfTheChosenName) {
    open(pathB);
    toolWrites(programmerHexText(imageFromFile(pathA), false));
    desktop.messageAnswers = {MessageAnswer::Yes};  // replace A
    importAs(pathA);
    EXPECT_EQ(bench.store().headers().asText(hdr::Remark), "первая");
}

TEST_F(DeviceTransferTest, ImportFailuresBeforeTheProgramsAreReplacedChangeNothing) {
    const Image image = test::randomImage(31);
    const std::string lf = programmerHexText(image, false);
    const std::string crlf = programmerHexText(image, true);
    std::string badPair = crlf;
    badPair[17 + 45 * 2000 + 20] = 'g';
    // One CR inside an LF file shifts every record after it by one byte.
    std::string strayCr = lf;
    strayCr.insert(16 + 44 * 100 + 20, "\r");
    std::string wrongChecksum = lf;
    char& digit = wrongChecksum[16 + 44 * 4095 + 42];
    digit = digit == '0' ? '1' : '0';
    struct Case {
        const char* name;
        std::function<bool(const ProgramLaunch&)> tool;
        std::vector<RecordedMessage> messages;
    };
    const auto writes = [](std::string text) {
        return [text](const ProgramLaunch& launch) {
            writeBytes(readTarget(launch), text);
            return true;
        };
    };
    const auto readError = error("Ошибка чтения hex-файла", "Импорт данных");
    const Case cases[] = {
        {"the tool wrote nothing",
         [](const ProgramLaunch&) { return true; },
         {kWaitPrompt, error("Ошибка чтения внешней памяти", "Импорт данных")}},
        {"the tool could not be started",
         [](const ProgramLaunch&) { return false; },
         {error("Ошибка запуска программатора", "Импорт данных")}},
        {"LF file one byte short", writes(lf.substr(0, 180239)), {kWaitPrompt, readError}},
        {"CR LF file one byte short", writes(crlf.substr(0, 184336)), {kWaitPrompt, readError}},
        {"a pair that is not hexadecimal", writes(badPair), {kWaitPrompt, readError}},
        {"a stray CR", writes(strayCr), {kWaitPrompt, readError}},
        {"a wrong checksum", writes(wrongChecksum), {kWaitPrompt, readError}},
    };
    open(pathA);
    editCurrentProgram(44);
    const Snapshot before = snapshot();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        desktop.programRunner = c.tool;
        importAs(work("импорт.bin"));
        EXPECT_EQ(desktop.takeMessages(), c.messages);
        EXPECT_EQ(snapshot(), before);
        EXPECT_EQ(state.saveDialogName, pathA);
        EXPECT_FALSE(fs::exists(work("импорт.bin")));
    }
}

// A file that exists but cannot be opened, even by root: a write-only kernel setting.
TEST_F(DeviceTransferTest, ImportOfAHexFileThatCannotBeOpened) {
    const std::string writeOnly = "/proc/sys/vm/drop_caches";
    if (!fs::is_regular_file(writeOnly) || std::ifstream(writeOnly).good())
        GTEST_SKIP() << "no unreadable regular file on this system";
    open(pathA);
    const Snapshot before = snapshot();
    desktop.programRunner = [&](const ProgramLaunch& launch) {
        fs::create_symlink(writeOnly, readTarget(launch));
        return true;
    };
    importAs(work("импорт.bin"));
    EXPECT_EQ(desktop.messages,
              (std::vector<RecordedMessage>{kWaitPrompt,
                                            error("Ошибка открытия hex-файла", "Импорт данных")}));
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(state.saveDialogName, pathA);
}

// The shortest file of either layout, its records as the tool writes them, is imported.
TEST_F(DeviceTransferTest, ImportAcceptsTheShortestFileOfEitherLayout) {
    const Image image = imageFromFile(pathB);
    for (const bool crlf : {false, true}) {
        SCOPED_TRACE(crlf ? "CR LF" : "LF");
        std::string text = programmerHexText(image, crlf);
        text.resize(crlf ? 184337 : 180240);
        toolWrites(text);
        const std::string target = work(crlf ? "crlf.bin" : "lf.bin");
        importAs(target);
        EXPECT_EQ(desktop.takeMessages(), std::vector<RecordedMessage>{kWaitPrompt});
        EXPECT_EQ(state.currentImage, image);
        EXPECT_EQ(readBytes(target), imageBytes(image));
    }
}

// What is wrong with the memory read back is said once, in the import's own box; what could be
// read is loaded and the image is written as it was read.
TEST_F(DeviceTransferTest, ImportOfADamagedImageSaysWhatIsWrongOnce) {
    Image damaged = imageFromFile(pathA);  // program 3: slots 1, 2, 3; program 7: slot 4
    writeWord(damaged, slotOffset(3) + 30, 99);
    setHeaderSlot(damaged, 9, 4);
    toolWrites(programmerHexText(damaged, false));
    const std::string target = work("из машины.bin");
    importAs(target);
    const auto messages = desktop.takeMessages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], kWaitPrompt);
    EXPECT_EQ(messages[1].caption, "Импорт данных");
    EXPECT_EQ(messages[1].icon, MessageIcon::Error);
    for (const char* part : {"нарушений: 3)", "слот 3 хранит номер 99\n",
                             "Не загружены программы без заглавного слота: 9.\n",
                             "Не полностью прочитаны программы: 3 ("})
        EXPECT_NE(messages[1].text.find(part), std::string::npos) << part << "\n"
                                                                  << messages[1].text;
    EXPECT_EQ(programNumbers(), (std::vector<std::int64_t>{3, 7}));
    EXPECT_EQ(bench.store().lines().recordCount(), 1);
    EXPECT_EQ(readBytes(target), imageBytes(damaged));
    EXPECT_EQ(state.workingFileName, target);
    EXPECT_FALSE(state.modified);
}

// The programs are loaded and the name switched even when the working file cannot be written.
TEST_F(DeviceTransferTest, ImportThatCannotWriteTheWorkingFile) {
    const Image imported = imageFromFile(pathB);
    const std::string folderTarget = work("папка.bin");
    fs::create_directory(folderTarget);
    const std::string fullTarget = work("полный.bin");
    fs::create_symlink("/dev/full", fullTarget);
    const struct {
        std::string target;
        RecordedMessage message;
    } cases[] = {
        {folderTarget, error("Ошибка создания bin-файла", "Импорт данных")},
        {fullTarget, error("Ошибка записи bin-файла", "Импорт данных")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        open(pathA);
        toolWrites(programmerHexText(imported, false));
        desktop.messageAnswers = {MessageAnswer::Yes};
        importAs(c.target);
        EXPECT_EQ(desktop.takeMessages(),
                  (std::vector<RecordedMessage>{kReplace, kWaitPrompt, c.message}));
        EXPECT_EQ(programNumbers(), (std::vector<std::int64_t>{5}));
        EXPECT_EQ(state.currentImage, imported);
        EXPECT_EQ(state.workingFileName, c.target);
        EXPECT_EQ(state.saveDialogName, c.target);
        EXPECT_FALSE(state.modified);
    }
}

}  // namespace
}  // namespace tal::test
