#include <gtest/gtest.h>

#include <filesystem>

#include "device/hex_file.h"
#include "device_support.h"
#include "support/file_bytes.h"
#include "support/process.h"
#include "support/tal_tool.h"
#include "support/temp_folder.h"

namespace tal {
namespace {

using test::imageBytes;
using test::programmerHexText;
using test::readBytes;
using test::runProcess;
using test::runTal;
using test::TempFolder;
using test::writeBytes;

using test::Environment;

class Pk2cmdSim : public ::testing::Test {
protected:
    std::string eeprom() const { return m_folder.path("eeprom.bin"); }
    std::string file(const std::string& name) const { return m_folder.path(name); }

    test::ProcessResult sim(std::vector<std::string> arguments, Environment environment = {}) {
        arguments.insert(arguments.begin(), PK2CMD_SIM_PATH);
        environment.emplace_back("PK2CMD_SIM_EEPROM", eeprom());
        return runProcess(arguments, environment);
    }

    TempFolder m_folder;
};

// image -> tal hex -> programmed -> read back by the tool -> tal unhex -> the same image.
TEST_F(Pk2cmdSim, RoundTripThroughTheCommandLineTools) {
    const Image image = test::randomImage(21);
    writeBytes(file("coil.bin"), imageBytes(image));
    ASSERT_EQ(runTal({"hex", file("coil.bin"), "-o", file("coil.hex")}).exitCode, 0);
    const auto programmed = sim({"/P25LC512", "/F" + file("coil.hex"), "/M"});
    ASSERT_EQ(programmed.exitCode, 0) << programmed.output;
    EXPECT_EQ(readBytes(eeprom()), imageBytes(image));

    for (const bool crlf : {false, true}) {
        Environment environment;
        if (crlf)
            environment.emplace_back("PK2CMD_SIM_CRLF", "1");
        const auto read = sim({"/P25LC512", "/GF" + file("read.hex")}, environment);
        ASSERT_EQ(read.exitCode, 0) << read.output;
        EXPECT_EQ(readBytes(file("read.hex")), programmerHexText(image, crlf));
        ASSERT_EQ(runTal({"unhex", file("read.hex"), "-o", file("back.bin")}).exitCode, 0);
        EXPECT_EQ(readBytes(file("back.bin")), imageBytes(image)) << crlf;
    }
}

TEST_F(Pk2cmdSim, AcceptsBothSwitchMarksInAnyCase) {
    const Image image = test::randomImage(22);
    writeBytes(file("a.hex"), formatHexFile(image));
    ASSERT_EQ(sim({"-p25lc512", "-f" + file("a.hex"), "-m"}).exitCode, 0);
    ASSERT_EQ(sim({"-P25LC512", "-gf" + file("b.hex")}).exitCode, 0);
    EXPECT_EQ(readBytes(file("b.hex")), programmerHexText(image, false));
}

TEST_F(Pk2cmdSim, AnEepromNeverProgrammedReadsErased) {
    ASSERT_EQ(sim({"/P25LC512", "/GF" + file("erased.hex")}).exitCode, 0);
    Image erased;
    erased.fill(0xFF);
    EXPECT_EQ(readBytes(file("erased.hex")), programmerHexText(erased, false));
}

// Programming starts from an erased memory; extended address records move the data.
TEST_F(Pk2cmdSim, ProgramsOnlyWhatTheFileHoldsOverAnErasedMemory) {
    writeBytes(eeprom(), imageBytes(test::randomImage(23)));
    writeBytes(file("part.hex"),
               ":0400000001020304F2\r\n"
               ":020000020100FB\r\n"
               ":02000000AABB99\r\n"
               ":020000040000FA\r\n"
               ":01FFFF00778A\r\n"
               ":00000001FF\r\n");
    const auto run = sim({"/P25LC512", "/F" + file("part.hex"), "/M"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    std::string expected(65536, '\xFF');
    expected.replace(0, 4, "\x01\x02\x03\x04");
    expected.replace(0x1000, 2, "\xAA\xBB");
    expected[0xFFFF] = '\x77';
    EXPECT_EQ(readBytes(eeprom()), expected);
}

TEST_F(Pk2cmdSim, RefusesBadRequestsAndFilesWithoutTouchingAnything) {
    const std::string good = formatHexFile(test::randomImage(24));
    std::string badChecksum = good;
    badChecksum[45 * 7 + 41] = badChecksum[45 * 7 + 41] == '0' ? '1' : '0';
    writeBytes(file("good.hex"), good);
    writeBytes(file("checksum.hex"), badChecksum);
    writeBytes(file("noend.hex"), good.substr(0, good.size() - 13));
    writeBytes(file("beyond.hex"), ":020000040001F9\n:0100000000FF\n:00000001FF\n");
    writeBytes(file("type.hex"), ":0400000300000000F9\n:00000001FF\n");
    writeBytes(file("count.hex"), ":0300000001020304F3\n:00000001FF\n");

    // The return codes of PK2CMD: 5 no programmer, 7 file error, 15 invalid command line,
    // 16 invalid hex file.
    const struct {
        std::vector<std::string> arguments;
        Environment environment;
        int exitCode;
        std::string report;
    } cases[] = {
        {{"/P24LC256", "/F" + file("good.hex"), "/M"}, {}, 15, "Could not find device 24LC256."},
        {{"/F" + file("good.hex"), "/M"}, {}, 15, "Invalid command line argument."},
        {{"/P25LC512", "/M"}, {}, 15, "Invalid command line argument."},
        {{"/P25LC512", "/X"}, {}, 15, "Invalid command line argument."},
        {{"/P25LC512", "/F" + file("missing.hex"), "/M"}, {}, 7, "Hex file not found."},
        {{"/P25LC512", "/F" + file("checksum.hex"), "/M"}, {}, 16, "Error parsing hex file."},
        {{"/P25LC512", "/F" + file("noend.hex"), "/M"}, {}, 16, "Error parsing hex file."},
        {{"/P25LC512", "/F" + file("beyond.hex"), "/M"}, {}, 16, "Error parsing hex file."},
        {{"/P25LC512", "/F" + file("type.hex"), "/M"}, {}, 16, "Error parsing hex file."},
        {{"/P25LC512", "/F" + file("count.hex"), "/M"}, {}, 16, "Error parsing hex file."},
        {{"/P25LC512", "/F" + file("good.hex"), "/M"},
         {{"PK2CMD_SIM_NO_DEVICE", "1"}},
         5,
         "No PICkit 2 found."},
        {{"/P25LC512", "/GF" + file("out.hex")},
         {{"PK2CMD_SIM_NO_DEVICE", "1"}},
         5,
         "No PICkit 2 found."},
        {{"/P24LC256", "/GF" + file("out.hex")}, {}, 15, "Could not find device 24LC256."},
    };
    const std::string before = imageBytes(test::randomImage(25));
    for (const auto& c : cases) {
        writeBytes(eeprom(), before);
        const auto run = sim(c.arguments, c.environment);
        const std::string what = c.arguments.front() + " " + c.arguments.back();
        EXPECT_EQ(run.exitCode, c.exitCode) << what << "\n" << run.output;
        EXPECT_NE(run.output.find(c.report + "\n\nOperation Failed\n"), std::string::npos)
            << what << "\n"
            << run.output;
        EXPECT_EQ(readBytes(eeprom()), before) << what;
        EXPECT_FALSE(std::filesystem::exists(file("out.hex"))) << what;
    }
}

TEST_F(Pk2cmdSim, SaysThatNoProgrammerIsAttached) {
    const auto run = sim({"/P25LC512", "/GF" + file("out.hex")}, {{"PK2CMD_SIM_NO_DEVICE", "1"}});
    EXPECT_EQ(run.exitCode, 5);
    EXPECT_NE(run.output.find("No PICkit 2 found."), std::string::npos) << run.output;
    // only exactly "1" switches the device off
    EXPECT_EQ(sim({"/P25LC512", "/GF" + file("out.hex")}, {{"PK2CMD_SIM_NO_DEVICE", "0"}}).exitCode,
              0);
}

TEST_F(Pk2cmdSim, TheEepromLiesBesideTheProgramByDefault) {
    const std::string tool = file("PK2CMD.exe");
    std::filesystem::copy_file(PK2CMD_SIM_PATH, tool);
    const Image image = test::randomImage(26);
    writeBytes(file("c.hex"), formatHexFile(image));
    ASSERT_EQ(runProcess({tool, "/P25LC512", "/F" + file("c.hex"), "/M"}).exitCode, 0);
    EXPECT_EQ(readBytes(file("pk2cmd-sim-eeprom.bin")), imageBytes(image));
}

// The stand-in can be told to invert one byte as it programs; `tal verify` finds it in the memory
// read back, in either line-end layout, and finds nothing where the write was good.
TEST_F(Pk2cmdSim, TalVerifyFindsTheByteCorruptedOnWrite) {
    const Image image = test::randomImage(29);
    writeBytes(file("coil.bin"), imageBytes(image));
    writeBytes(file("coil.hex"), formatHexFile(image));
    const struct {
        const char* corrupt;
        int exitCode;
        std::string message;
    } cases[] = {
        {"", 0, ""},
        {"0123", 1, "первый отличающийся адрес 0x0123, отличающихся байтов: 1"},
        {"FFFF", 1, "первый отличающийся адрес 0xFFFF, отличающихся байтов: 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.corrupt);
        const auto programmed =
            sim({"/P25LC512", "/F" + file("coil.hex"), "/M"}, {{"PK2CMD_SIM_CORRUPT", c.corrupt}});
        ASSERT_EQ(programmed.exitCode, 0) << programmed.output;
        EXPECT_NE(programmed.output.find("Program Succeeded."), std::string::npos);
        for (const char* crlf : {"0", "1"}) {
            ASSERT_EQ(
                sim({"/P25LC512", "/GF" + file("read.hex")}, {{"PK2CMD_SIM_CRLF", crlf}}).exitCode,
                0);
            const auto verified = runTal({"verify", file("coil.bin"), file("read.hex")});
            EXPECT_EQ(verified.exitCode, c.exitCode) << verified.output;
            if (c.exitCode == 0)
                EXPECT_EQ(verified.output, "");
            else
                EXPECT_NE(verified.output.find(c.message), std::string::npos) << verified.output;
        }
    }
    EXPECT_EQ(sim({"/P25LC512", "/F" + file("coil.hex"), "/M"}, {{"PK2CMD_SIM_CORRUPT", "10000"}})
                  .exitCode,
              15);
}

TEST_F(Pk2cmdSim, TalVerifyCountsEveryDifferingByte) {
    const Image image = test::randomImage(30);
    Image read = image;
    for (const std::size_t address : {0x0010u, 0x8000u, 0xFFF0u})
        read[address] ^= 0x40;
    writeBytes(file("coil.bin"), imageBytes(image));
    writeBytes(file("read.hex"), programmerHexText(read, true));
    const auto verified = runTal({"verify", file("coil.bin"), file("read.hex")});
    EXPECT_EQ(verified.exitCode, 1);
    EXPECT_NE(verified.output.find("первый отличающийся адрес 0x0010, отличающихся байтов: 3"),
              std::string::npos)
        << verified.output;
}

TEST_F(Pk2cmdSim, TalHexAndUnhexReportBadInputAndUsage) {
    writeBytes(file("short.bin"), std::string(65535, '\0'));
    writeBytes(file("ok.bin"), imageBytes(test::randomImage(28)));
    writeBytes(file("short.hex"),
               programmerHexText(test::randomImage(27), false).substr(0, 180239));
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        std::string message;
    } cases[] = {
        {{"hex", file("short.bin"), "-o", file("x.hex")}, 1, "Ошибочный размер файла"},
        {{"hex", file("absent.bin"), "-o", file("x.hex")}, 1, "Ошибка открытия файла"},
        {{"unhex", file("short.hex"), "-o", file("x.bin")}, 1, "Ошибка чтения hex-файла"},
        {{"unhex", file("absent.hex"), "-o", file("x.bin")}, 1, "Ошибка открытия hex-файла"},
        {{"verify", file("short.bin"), file("short.hex")}, 1, "Ошибочный размер файла"},
        {{"verify", file("ok.bin"), file("short.hex")}, 1, "Ошибка чтения hex-файла"},
        {{"verify", file("ok.bin"), file("absent.hex")}, 1, "Ошибка открытия hex-файла"},
        {{"hex", file("short.bin")}, 2, ""},
        {{"unhex"}, 2, ""},
        {{"verify", file("ok.bin")}, 2, ""},
    };
    for (const auto& c : cases) {
        const auto run = runTal(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments.front() << " " << c.arguments.back();
        EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
        EXPECT_FALSE(std::filesystem::exists(file("x.hex")));
        EXPECT_FALSE(std::filesystem::exists(file("x.bin")));
    }
    writeBytes(file("no-folder"), "plain file");
    const auto blocked = runTal({"hex", file("ok.bin"), "-o", file("no-folder/x.hex")});
    EXPECT_EQ(blocked.exitCode, 1);
    EXPECT_NE(blocked.output.find("Ошибка создания hex-файла"), std::string::npos);
}

}  // namespace
}  // namespace tal
