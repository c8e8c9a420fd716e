// The export's two guards: every value is checked against the machine model's limits before the
// HEX file is written, and every write is read back from the machine and compared.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "device/export_limits_question.h"
#include "device/hex_file.h"
#include "device_transfer_fixture.h"
#include "store/editing_tables.h"
#include "store/field_catalogue.h"

namespace tal::test {
namespace {

constexpr const char* kMatch = "Память станка совпадает с записанными данными";

RecordedMessage question(const std::string& text) {
    return {text, "Экспорт данных", MessageIcon::None, MessageButtons::YesNoDefaultNo};
}

// The wide limits with one row replaced.
std::vector<LimitsRecord> limitsWith(const std::string& field, double min, double max) {
    auto records = wideLimits();
    for (auto& record : records)
        if (record.fieldName == field)
            record = limitsRecord("ТАЛ-1", field, min, max, "Пределы " + field);
    return records;
}

bool isReadBack(const ProgramLaunch& launch) {
    return launch.arguments.size() == 2 && launch.arguments[1].starts_with("/GF");
}

class ExportSafetyTest : public DeviceTransferTest {
protected:
    std::string hex() const { return work("катушка A.hex"); }
    std::string readBackFile() const { return work("катушка A.verify.hex"); }
    void exportNow() { bench.deviceTransfer().SpeedButton12Click(); }
};

// ---- The limits check before the HEX file is written -------------------------------------

// A header value, Param 7 under its line's Param 6 and Param 17 not under ProgSize, in a program
// loaded from an image and never edited; No ends the export with no HEX file, Yes sends it.
TEST_F(ExportSafetyTest, ValuesOutsideTheLimitsAreListedAndNoWritesNoHexFile) {
    const std::string path = work("вне пределов.bin");
    ASSERT_TRUE(buildWorkingFile(R"({"programs":[{"ProgNum":4,"Param 04":9,"lines":[
                    {"Param 6":50.5,"Param 7":40.25},{"Param 6":1,"Param 7":2,"Param 17":3}]}]})",
                                 path));
    useLimits(limitsWith("Param 04", 0, 5));
    open(path);
    const std::string hexFile = work("вне пределов.hex");

    exportNow();
    const RecordedMessage asked = question(
        "Значения вне пределов модели ТАЛ-1: 3\n\n"
        "программа 4, заголовок, «Время разгона шпинделя, с» = 9: Пределы Param 04\n"
        "программа 4, строка 1, «Координата, мм — конца катушки» = 40,25: Пределы Param 7\n"
        "программа 4, строка 2, «Количество строк повтора» = 3: Пределы Param 17\n\n"
        "Экспортировать всё равно?");
    EXPECT_EQ(desktop.takeMessages(), std::vector<RecordedMessage>{asked});
    EXPECT_FALSE(fs::exists(hexFile));
    EXPECT_TRUE(desktop.launches.empty());

    desktop.messageAnswers = {MessageAnswer::Yes};
    exportNow();
    EXPECT_EQ(desktop.takeMessages(), std::vector<RecordedMessage>{asked});
    EXPECT_EQ(readBytes(hexFile), formatHexFile(state.currentImage));
    EXPECT_EQ(desktop.launches.size(), 2u);
}

// Bounds are inclusive: program 3's lines hold Param 1 = 10 and 20.
TEST_F(ExportSafetyTest, ValuesOnTheBoundsAskNothing) {
    useLimits(limitsWith("Param 1", 10, 20));
    open(pathA);
    exportNow();
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(readBytes(hex()), formatHexFile(state.currentImage));

    useLimits(limitsWith("Param 1", 10, 19));
    exportNow();
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_NE(desktop.messages[0].text.find("строка 2, «Скорость, об/мин — намотки» = 20:"),
              std::string::npos)
        << desktop.messages[0].text;
}

// A value typed into the tables, unchecked as in a row being inserted, is saved first and then
// checked like the rest: the save stays done, the HEX file is not written.
TEST_F(ExportSafetyTest, ValuesChangedInTheTablesAreCheckedAfterTheSave) {
    useLimits(limitsWith("Param 1", 10, 3000));
    open(pathA);
    Table& lines = bench.store().lines();
    lines.last();
    lines.setInteger(ln::param(1), 5000);
    lines.post();
    exportNow();

    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_NE(desktop.messages[0].text.find("программа 3, строка 2, «Скорость, об/мин — намотки» "
                                            "= 5000: Пределы Param 1\n"),
              std::string::npos)
        << desktop.messages[0].text;
    EXPECT_FALSE(state.modified);
    EXPECT_EQ(readBytes(pathA), imageBytes(state.currentImage));
    EXPECT_FALSE(fs::exists(hex()));
}

TEST_F(ExportSafetyTest, TheFirstTwentyFindingsAreListedAndTheRestCounted) {
    std::string lines;
    for (int i = 0; i < 25; ++i)
        lines += std::string(i ? "," : "") + R"({"Param 1":)" + std::to_string(100 + i) + "}";
    const std::string path = work("много.bin");
    ASSERT_TRUE(buildWorkingFile(R"({"programs":[{"ProgNum":1,"lines":[)" + lines + "]}]}", path));
    useLimits(limitsWith("Param 1", 10, 50));
    open(path);
    exportNow();

    ASSERT_EQ(desktop.messages.size(), 1u);
    const std::string& text = desktop.messages[0].text;
    EXPECT_TRUE(text.starts_with("Значения вне пределов модели ТАЛ-1: 25\n\n")) << text;
    std::size_t listed = 0;
    for (std::size_t at = 0; (at = text.find("\nпрограмма 1, строка ", at)) != std::string::npos;
         ++at)
        ++listed;
    EXPECT_EQ(listed, kListedFindings);
    EXPECT_NE(text.find("строка 20, «Скорость, об/мин — намотки» = 119: Пределы Param 1\n"
                        "и ещё 5\n\nЭкспортировать всё равно?"),
              std::string::npos)
        << text;
}

// Values that cannot be checked are not sent silently either.
TEST_F(ExportSafetyTest, ValuesThatCannotBeCheckedAreAskedAbout) {
    const struct {
        const char* name;
        std::function<void()> arrange;
        std::string start;
    } cases[] = {
        {"no limits table",
         [&] {
             bench.limits().Close();
             bench.limits().setPath(work("нет.DB"));
         },
         "Значения не проверены: "},
        {"no row of the model", [&] { state.machineModel = "ТАЛ-9"; },
         "Значения не проверены: в таблице пределов нет модели «ТАЛ-9»."},
    };
    open(pathA);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.arrange();
        exportNow();
        const auto messages = desktop.takeMessages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_TRUE(messages[0].text.starts_with(c.start)) << messages[0].text;
        EXPECT_TRUE(messages[0].text.ends_with("\n\nЭкспортировать всё равно?"));
        EXPECT_EQ(messages[0].buttons, MessageButtons::YesNoDefaultNo);
        EXPECT_FALSE(fs::exists(hex()));
        EXPECT_TRUE(desktop.launches.empty());
        useLimits(wideLimits());
        state.machineModel = "ТАЛ-1";
    }
}

// ---- The read-back after the write ---------------------------------------------------------

TEST_F(ExportSafetyTest, AGoodWriteIsReadBackAndReportedInTheProgrammerWindow) {
    open(pathA);
    exportNow();
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(desktop.programOutcomes, (std::vector<std::pair<std::string, bool>>{{kMatch, true}}));
    ASSERT_EQ(desktop.launches.size(), 2u);
    EXPECT_TRUE(isReadBack(desktop.launches[1]));
    EXPECT_EQ(readBytes(eeprom()), imageBytes(state.currentImage));
    EXPECT_FALSE(fs::exists(readBackFile()));
}

TEST_F(ExportSafetyTest, AByteCorruptedOnWriteIsReportedWithItsAddress) {
    open(pathA);
    for (const auto& [address, shown] :
         {std::pair{"1A2B", "0x1A2B"}, std::pair{"0", "0x0000"}, std::pair{"ffff", "0xFFFF"}}) {
        SCOPED_TRACE(address);
        runTheTool({{"PK2CMD_SIM_CORRUPT", address}});
        desktop.programOutcomes.clear();
        exportNow();
        const std::string text =
            std::string(
                "Память станка не совпадает с записанными данными: первый отличающийся "
                "адрес ") +
            shown + ", отличающихся байтов: 1";
        EXPECT_EQ(desktop.takeMessages(),
                  std::vector<RecordedMessage>{error(text, "Экспорт данных")});
        EXPECT_EQ(desktop.programOutcomes,
                  (std::vector<std::pair<std::string, bool>>{{text, false}}));
        EXPECT_FALSE(fs::exists(readBackFile()));
    }
}

// Whatever keeps the memory from being read back is an error too; a file of an earlier run is
// never compared in place of the one the tool was to write.
TEST_F(ExportSafetyTest, AFailedReadBackIsAnError) {
    const Image sent = imageFromFile(pathA);
    const auto writes = [](std::string text) {
        return [text](const ProgramLaunch& launch) {
            writeBytes(readTarget(launch), text);
            return true;
        };
    };
    const struct {
        const char* name;
        std::function<bool(const ProgramLaunch&)> read;  // nothing: the stand-in runs
        std::string why;
    } cases[] = {
        {"the tool finds no programmer", nullptr, "программатор не прочитал её (код 5)"},
        {"the tool does not start", [](const ProgramLaunch&) { return false; },
         "программатор не запустился для чтения"},
        {"the tool writes nothing", [](const ProgramLaunch&) { return true; },
         "нет файла " + readBackFile()},
        {"the file is one byte short", writes(programmerHexText(sent, false).substr(0, 180239)),
         "файл " + readBackFile() + " неполон или испорчен"},
    };
    open(pathA);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(readBackFile(), programmerHexText(sent, false));  // would compare equal
        desktop.programRunner = [&, write = desktop.programRunner](const ProgramLaunch& launch) {
            if (!isReadBack(launch))
                return write(launch);
            if (c.read)
                return c.read(launch);
            std::vector<std::string> arguments{launch.program};
            arguments.insert(arguments.end(), launch.arguments.begin(), launch.arguments.end());
            runProcess(arguments, {{"PK2CMD_SIM_NO_DEVICE", "1"}}, launch.workingFolder);
            return true;
        };
        desktop.programExit = {};
        desktop.programOutcomes.clear();
        // The fake ends every run it starts with the exit of the stand-in's own run below.
        desktop.holdPrograms = true;
        exportNow();
        ASSERT_EQ(desktop.runningPrograms.size(), 1u);
        desktop.endProgram({false, 0});  // written
        if (!desktop.runningPrograms.empty())
            desktop.endProgram({false, c.read ? 0 : 5});
        const std::string text = "Память станка не проверена: " + c.why;
        EXPECT_EQ(desktop.takeMessages(),
                  std::vector<RecordedMessage>{error(text, "Экспорт данных")});
        EXPECT_EQ(desktop.programOutcomes,
                  (std::vector<std::pair<std::string, bool>>{{text, false}}));
        EXPECT_FALSE(fs::exists(readBackFile()));
        desktop.holdPrograms = false;
        runTheTool();
        desktop.launches.clear();
    }
}

// A write the tool reports as failed is not read back: its own output says what went wrong.
TEST_F(ExportSafetyTest, AFailedWriteIsNotReadBack) {
    open(pathA);
    desktop.holdPrograms = true;
    exportNow();
    desktop.endProgram({false, 10});
    EXPECT_TRUE(desktop.runningPrograms.empty());
    EXPECT_EQ(desktop.launches.size(), 1u);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(desktop.programOutcomes.empty());
}

}  // namespace
}  // namespace tal::test
