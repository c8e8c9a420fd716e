// The command-line companion, run as a separate process exactly as engineers use it.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>

#include "store/file_system.h"
#include "store/memory_image.h"
#include "support/file_bytes.h"
#include "support/process.h"
#include "support/store_fixture.h"
#include "support/temp_folder.h"

namespace tal::test {
namespace {

using nlohmann::json;

const std::string kTal = TAL_CLI_PATH;

std::string quote(const std::string& s) {
    return "'" + s + "'";
}

json demoPrograms() {
    return json::parse(R"({"programs": [
      {"ProgNum": 7, "Param 01": "слева", "Param 02": 12.34, "Param 03": "ручное", "Param 04": 5,
       "Param 05": 6, "Param 06": 1, "Param 07": 9, "Remark": "Трансформатор ТР-5, первичная",
       "lines": [
         {"Param 1": 1500, "Param 2": 300, "Param 3": "по ч/с", "Param 4": 40000,
          "Param 5": "влево", "Param 6": 0.35, "Param 7": 120.07, "Param 8": 0.125,
          "Param 9": "да", "Param 10": 3, "Param 11": 10.5, "Param 12": "нет",
          "Param 13": "против ч/с", "Param 14": 15, "Param 15": 9.9, "Param 16": 2,
          "Param 17": 1, "Param 18": 2.25, "Param 19": "останов"},
         {"Param 1": 800, "Param 19": "исходное"}]},
      {"ProgNum": 0, "Remark": "", "lines": []},
      {"ProgNum": 255, "Param 02": 180, "lines": [{"Param 4": 1}, {"Param 4": 2}, {"Param 4": 3}]}
    ]})");
}

class Tal : public ::testing::Test {
protected:
    std::string build(const json& programs, const std::string& name = "w.bin") {
        const std::string source = dir.path("p.json"), out = dir.path(name);
        writeFileAtomically(source, programs.dump());
        EXPECT_EQ(runShell(kTal + " build " + quote(source) + " -o " + quote(out)), 0);
        return out;
    }
    TempFolder dir;
};

TEST_F(Tal, BuildWritesWhatTheInsertBookkeepingDefinesAndDumpGivesItBack) {
    const json programs = demoPrograms();
    const std::string image = build(programs);
    EXPECT_EQ(runShell(kTal + " check " + quote(image)), 0);

    const Image bytes = [&] {
        Image i{};
        const auto read = readFile(image);
        std::copy(read.bytes.begin(), read.bytes.end(), i.begin());
        return i;
    }();
    // Slots in creation order: program 7 in 1 with lines 2, 3; program 0 in 4; 255 in 5..8.
    EXPECT_EQ(headerSlotOf(bytes, 7), 1);
    EXPECT_EQ(headerSlotOf(bytes, 0), 4);
    EXPECT_EQ(headerSlotOf(bytes, 255), 5);
    EXPECT_EQ(nextStrOf(bytes, 1), 2);
    EXPECT_EQ(nextStrOf(bytes, 3), 3);

    std::string out;
    ASSERT_EQ(runShell(kTal + " dump --format json " + quote(image), &out), 0);
    const json dumped = json::parse(out)["programs"];
    ASSERT_EQ(dumped.size(), 3u);
    EXPECT_EQ(dumped[0]["ProgNum"], 0);  // ascending program number
    EXPECT_EQ(dumped[2]["ProgNum"], 255);
    const json& seven = dumped[1];
    for (const auto& [key, value] : programs["programs"][0].items()) {
        if (key == "lines")
            continue;
        EXPECT_EQ(seven[key], value) << key;
    }
    EXPECT_EQ(seven["ProgSize"], 3);
    EXPECT_EQ(seven["CurStr"], 1);
    EXPECT_EQ(seven["NextStr"], 2);
    const json& lines = seven["lines"];
    for (const auto& [key, value] : programs["programs"][0]["lines"][0].items())
        EXPECT_EQ(lines[0][key], value) << key;
    EXPECT_EQ(lines[1]["StrNum"], 2);
    EXPECT_EQ(lines[1]["PredStr"], 2);
    EXPECT_EQ(lines[1]["NextStr"], 3);
    EXPECT_EQ(lines[1]["Param 3"], "по ч/с");  // empty choice stored as 1
    EXPECT_EQ(dumped[2]["lines"][2]["Param 4"], 3);
}

// Scripts and archives rely on the keys of the dump and on their order.
TEST_F(Tal, DumpGivesTheKeysOfProgramsAndLinesInTheirOrder) {
    std::string out;
    ASSERT_EQ(runShell(kTal + " dump --format json " + quote(build(demoPrograms())), &out), 0);
    const auto program = nlohmann::ordered_json::parse(out)["programs"][1];
    std::vector<std::string> programKeys, lineKeys;
    for (const auto& [key, value] : program.items())
        programKeys.push_back(key);
    for (const auto& [key, value] : program["lines"][0].items())
        lineKeys.push_back(key);

    std::vector<std::string> expectedProgram = {"ProgNum"};
    for (int k = 1; k <= 7; ++k)
        expectedProgram.push_back("Param 0" + std::to_string(k));
    expectedProgram.insert(expectedProgram.end(),
                           {"ProgSize", "NextStr", "CurStr", "Remark", "lines"});
    std::vector<std::string> expectedLine = {"StrNum"};
    for (int k = 1; k <= 19; ++k)
        expectedLine.push_back("Param " + std::to_string(k));
    expectedLine.insert(expectedLine.end(), {"PredStr", "NextStr", "CurStr"});
    EXPECT_EQ(programKeys, expectedProgram);
    EXPECT_EQ(lineKeys, expectedLine);
}

TEST_F(Tal, AnImageWithoutARemarksFileDumpsEmptyRemarksAsTexts) {
    const std::string image = build(demoPrograms());
    std::filesystem::remove(dir.path("w.txt"));
    std::string out;
    ASSERT_EQ(runShell(kTal + " dump --format json " + quote(image), &out), 0);
    const json dumped = json::parse(out);
    ASSERT_EQ(dumped["programs"].size(), 3u);
    for (const json& program : dumped["programs"])
        EXPECT_EQ(program["Remark"], "") << program["ProgNum"];
}

TEST_F(Tal, ResaveGivesBackTheSameBytesAndRemarks) {
    const std::string image = build(demoPrograms());
    const std::string again = dir.path("again.bin");
    ASSERT_EQ(runShell(kTal + " resave " + quote(image) + " -o " + quote(again)), 0);
    EXPECT_EQ(readFile(again).bytes, readFile(image).bytes);
    EXPECT_EQ(readFile(dir.path("again.txt")).bytes, readFile(dir.path("w.txt")).bytes);
}

// The operator named the link, so the remarks file goes beside the link, as the editor's Save does.
TEST_F(Tal, ResaveThroughALinkWritesItsTargetAndTheRemarksBesideTheLink) {
    namespace fs = std::filesystem;
    const std::string image = build(demoPrograms());
    fs::create_directory(dir.path("real"));
    const std::string target = dir.path("real/kept.bin");
    ASSERT_EQ(writeFileAtomically(target, "old"), WriteStatus::Ok);
    fs::permissions(target, fs::perms(0640));
    const std::string link = dir.path("link.bin");
    fs::create_symlink("real/kept.bin", link);

    ASSERT_EQ(runShell(kTal + " resave " + quote(image) + " -o " + quote(link)), 0);
    ASSERT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), "real/kept.bin");
    EXPECT_EQ(readFile(target).bytes, readFile(image).bytes);
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
    EXPECT_EQ(readFile(dir.path("link.txt")).bytes, readFile(dir.path("w.txt")).bytes);
    EXPECT_FALSE(fs::exists(dir.path("real/kept.txt")));
}

TEST_F(Tal, CheckAgreesWithTheInvariants) {
    const std::string image = build(demoPrograms());
    const std::string intact = readFile(image).bytes;
    struct Damage {
        const char* what;
        std::size_t offset;
        std::uint8_t byte;
    } damages[] = {
        {"directory names a slot without its number", directoryOffset(7) + 1, 9},
        {"entry holds another program number", directoryOffset(7) + 3, 8},
        {"header NextStr names a free slot", slotOffset(1) + 29, 40},
        {"line PredStr wrong", slotOffset(3) + 27, 1},
        {"ProgSize wrong", slotOffset(1) + 25, 4},
        {"line slot freed", slotOffset(3) + 29, 0},
        {"own slot number wrong", slotOffset(100) + 31, 99},
        {"two chains share a slot", slotOffset(4) + 29, 3},
    };
    EXPECT_EQ(runShell(kTal + " check " + quote(image)), 0);
    for (const auto& damage : damages) {
        std::string bytes = intact;
        bytes[damage.offset] = static_cast<char>(damage.byte);
        const std::string path = dir.path("damaged.bin");
        writeFileAtomically(path, bytes);
        std::string out;
        EXPECT_EQ(runShell(kTal + " check " + quote(path), &out), 1) << damage.what;
        EXPECT_FALSE(out.empty()) << damage.what;
    }
}

TEST_F(Tal, DamagedAndWrongInputEndsWithAnExitCode) {
    // Every chain runs in circles or into nowhere; every command ends with 0 or 1.
    Image image = makeBlankImage();
    for (int p = 0; p < kProgramCount; ++p)
        setHeaderSlot(image, p, static_cast<std::uint16_t>(1 + p % 3));
    for (int s = 1; s <= kSlotCount; ++s)
        setNextStr(image, s, static_cast<std::uint16_t>(s % 5 + 1));
    const std::string damaged = dir.path("d.bin");
    writeFileAtomically(damaged, imageBytes(image));
    for (const std::string command : {"dump", "dump --format json", "check"}) {
        const int code = runShell(kTal + " " + command + " " + quote(damaged) + " >/dev/null 2>&1");
        EXPECT_TRUE(code == 0 || code == 1) << command << " " << code;
    }
    EXPECT_EQ(runShell(kTal + " resave " + quote(damaged) + " -o " + quote(dir.path("r.bin")) +
                       " 2>/dev/null"),
              1);

    const std::string shortFile = dir.path("s.bin");
    writeFileAtomically(shortFile, std::string(65535, '\0'));
    EXPECT_EQ(runShell(kTal + " dump " + quote(shortFile) + " 2>/dev/null"), 1);
    EXPECT_EQ(runShell(kTal + " dump 2>/dev/null"), 2);
    EXPECT_EQ(runShell(kTal + " frobnicate 2>/dev/null"), 2);
    const std::string badJson = dir.path("bad.json");
    writeFileAtomically(badJson, R"({"programs": [{"ProgNum": 1}, {"ProgNum": 1}]})");
    EXPECT_EQ(runShell(kTal + " build " + quote(badJson) + " -o " + quote(dir.path("b.bin")) +
                       " 2>/dev/null"),
              1);
    EXPECT_FALSE(fileExists(dir.path("b.bin")));
}

// Storing takes the blank's free entries and slots and keeps its own slot numbers in header
// slots: onto anything but a blank image it would write programs that cannot be read back.
TEST_F(Tal, BuildAndResaveRefuseABlankThatIsNoBlankImage) {
    const std::string source = dir.path("p.json");
    writeFileAtomically(source, demoPrograms().dump());
    const std::string working = build(demoPrograms());
    Image erased;
    erased.fill(0xFF);
    Image oneForeignSlot = makeBlankImage();
    writeWord(oneForeignSlot, slotOffset(kSlotCount) + 30, 1);
    const struct {
        const char* name;
        std::string bytes;
        std::vector<std::string> said;
    } cases[] = {
        {"zero-filled",
         imageBytes(Image{}),
         {"слот 1 хранит номер 0\nслот 2 хранит номер 0\nслот 3 хранит номер 0\n… и ещё 2012"}},
        {"erased", imageBytes(erased), {"запись каталога 0 занята\n"}},
        {"a working file", readFile(working).bytes, {"запись каталога 0 занята\n"}},
        {"one slot without its number", imageBytes(oneForeignSlot), {"слот 2015 хранит номер 1"}},
    };
    const std::string blank = dir.path("blank.ini"), out = dir.path("out.bin");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFileAtomically(blank, c.bytes);
        for (const std::string& command :
             {" build " + quote(source), " resave " + quote(working)}) {
            std::string said;
            EXPECT_EQ(runShell(kTal + command + " -o " + quote(out) + " --blank " + quote(blank) +
                                   " 2>&1",
                               &said),
                      1)
                << command;
            EXPECT_NE(said.find("Файл " + blank + " не чистый образ памяти"), std::string::npos)
                << said;
            for (const std::string& part : c.said)
                EXPECT_NE(said.find(part), std::string::npos) << said;
            EXPECT_FALSE(fileExists(out));
        }
    }
    ASSERT_EQ(runShell(kTal + " blank -o " + quote(blank)), 0);
    EXPECT_EQ(runShell(kTal + " build " + quote(source) + " -o " + quote(out) + " --blank " +
                       quote(blank)),
              0);
    EXPECT_EQ(readFile(out).bytes, readFile(working).bytes);
}

TEST_F(Tal, BuildRefusesAProgramOfMoreThan254Lines) {
    for (const int count : {kMaxProgramLines, kMaxProgramLines + 1}) {
        SCOPED_TRACE(count);
        json lines = json::array();
        for (int i = 0; i < count; ++i)
            lines.push_back({{"Param 4", i + 1}});
        const json programs = {{"programs",
                                {{{"ProgNum", 0}, {"lines", {{{"Param 4", 7}}}}},
                                 {{"ProgNum", 200}, {"lines", lines}}}}};
        const std::string source = dir.path("long.json"), out = dir.path("long.bin");
        writeFileAtomically(source, programs.dump());
        std::string said;
        const int code =
            runShell(kTal + " build " + quote(source) + " -o " + quote(out) + " 2>&1", &said);
        if (count > kMaxProgramLines) {
            EXPECT_EQ(code, 1);
            EXPECT_NE(said.find("программа 200: строк 255, а в программе намотки может быть не "
                                "больше 254"),
                      std::string::npos)
                << said;
            EXPECT_FALSE(fileExists(out));
            continue;
        }
        ASSERT_EQ(code, 0) << said;
        EXPECT_EQ(runShell(kTal + " check " + quote(out)), 0);
        std::string dumped;
        ASSERT_EQ(runShell(kTal + " dump --format json " + quote(out), &dumped), 0);
        const json longest = json::parse(dumped)["programs"][1];
        EXPECT_EQ(longest["ProgSize"], kMaxProgramLines + 1);
        EXPECT_EQ(longest["lines"].size(), static_cast<std::size_t>(kMaxProgramLines));
        EXPECT_EQ(longest["lines"].back()["Param 4"], kMaxProgramLines);
        std::filesystem::remove(out);
    }
}

// A value is checked against what its place in the image holds (width, sign, scale, choice
// texts, text length and encoding) before anything is written, never stored as another value.
TEST_F(Tal, BuildRefusesAValueItsFieldCannotHoldInsteadOfWrappingIt) {
    const std::string range02 = "допустимо от 0 до 655,35";
    const struct {
        json line;
        std::vector<std::string> said;  // parts of the message on stderr
        json header = json::object();
    } cases[] = {
        {{{"Param 10", 65541}}, {"программа 3, строка 2", "Param 10", "65541", "от 0 до 255"}},
        {{{"Param 10", 256}}, {"строка 2", "'Param 10'", "256"}},
        {{{"Param 1", 4294967301}}, {"строка 2", "Param 1", "4294967301", "от 0 до 65535"}},
        {{{"Param 1", -1}}, {"строка 2", "'Param 1'", "-1", "от 0 до 65535"}},
        {{{"Param 1", 12.5}}, {"'Param 1'", "12,5", "целым"}},
        {{{"Param 4", 18446744073709551615u}}, {"Param 4", "от 0 до 65535"}},
        {{{"Param 6", "abc"}}, {"поле 'Param 6'", "'abc' is not a valid floating point value"}},
        {{{"Param 16", "1,5"}}, {"поле 'Param 16'", "'1,5' is not a valid integer value"}},
        {{{"Param 8", 65.536}}, {"'Param 8'", "от 0 до 65,535"}},
        {{{"Param 15", 25.6}}, {"'Param 15'", "от 0 до 25,5"}},
        {{{"Param 18", 0.125}}, {"поле 'Param 18'", "Максимальная точность 0,01"}},
        {{{"Param 19", "вверх"}}, {"'Param 19'", "«вверх»", "«исходное»"}},
        {{{"Param 3", ""}, {"Param 5", "вправо!"}}, {"'Param 5'", "«вправо!»"}},
        {json::object(), {"программа 3:", "'Param 02'", "700", range02}, {{"Param 02", 700}}},
        {json::object(), {"программа 3:", "'Param 02'", "-1", range02}, {{"Param 02", -1}}},
        {json::object(), {"программа 3, поле 'Param 02'", "'abc'"}, {{"Param 02", "abc"}}},
        {json::object(), {"'Param 03'", "«ручн»"}, {{"Param 03", "ручн"}}},
        {json::object(), {"'Param 06'", "от 0 до 1"}, {{"Param 06", 2}}},
        {json::object(), {"'Param 07'", "от 0 до 255"}, {{"Param 07", 300}}},
        {json::object(), {"'Remark'", "99"}, {{"Remark", std::string(100, 'x')}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.dump() + c.header.dump());
        json program = c.header;
        program["ProgNum"] = 3;
        program["lines"] = {json::object(), c.line};
        json programs = {{"programs", {program}}};
        const std::string source = dir.path("p.json"), out = dir.path("refused.bin");
        writeFileAtomically(source, programs.dump());
        std::string said;
        EXPECT_EQ(runShell(kTal + " build " + quote(source) + " -o " + quote(out) + " 2>&1", &said),
                  1);
        for (const std::string& part : c.said)
            EXPECT_NE(said.find(part), std::string::npos) << said;
        EXPECT_FALSE(fileExists(out));
    }
    // Typed-text numbers in either separator are read like the edit window reads them; the
    // largest values each place holds are kept exactly.
    const std::string image =
        build({{"programs",
                {{{"ProgNum", 3},
                  {"Param 02", 655.35},
                  {"Remark", std::string(99, 'x')},
                  {"lines",
                   {{{"Param 6", "12,5"}, {"Param 8", "0.125"}, {"Param 10", "15"}},
                    {{"Param 1", 65535},
                     {"Param 8", 65.535},
                     {"Param 15", 25.5},
                     {"Param 14", 255}}}}}}}});
    std::string dumped;
    ASSERT_EQ(runShell(kTal + " dump " + quote(image) + " --format json", &dumped), 0);
    const json program = json::parse(dumped)["programs"][0];
    const json line = program["lines"][0];
    EXPECT_EQ(line["Param 6"], 12.5);
    EXPECT_EQ(line["Param 8"], 0.125);
    EXPECT_EQ(line["Param 10"], 15);
    EXPECT_EQ(program["Param 02"], 655.35);
    const json largest = program["lines"][1];
    EXPECT_EQ(largest["Param 1"], 65535);
    EXPECT_EQ(largest["Param 8"], 65.535);
    EXPECT_EQ(largest["Param 15"], 25.5);
    EXPECT_EQ(largest["Param 14"], 255);
}

}  // namespace
}  // namespace tal::test

namespace tal::test {
namespace {

// A working file and its remarks file change together or not at all: here the image cannot be
// created (a folder has its name), and the remarks file beside it stays as it was.
TEST_F(Tal, AFailedSaveLeavesTheRemarksFileAsItWas) {
    const std::string source = dir.path("p.json");
    writeFileAtomically(source, demoPrograms().dump());
    const std::string working = build(demoPrograms());
    const std::string out = dir.path("out.bin"), remarks = dir.path("out.txt");
    std::filesystem::create_directory(out);
    const std::string old = std::string("прежние примечания\0", 20);
    writeFileAtomically(remarks, old);
    for (const std::string& command : {" resave " + quote(working), " build " + quote(source)}) {
        SCOPED_TRACE(command);
        std::string said;
        EXPECT_EQ(runShell(kTal + command + " -o " + quote(out) + " 2>&1", &said), 1);
        EXPECT_NE(said.find("Ошибка записи файла " + out), std::string::npos) << said;
        EXPECT_EQ(readFile(remarks).bytes, old);
    }
}

TEST_F(Tal, InitKeepsExistingFilesUnlessForced) {
    const std::string folder = dir.path("work");
    std::filesystem::create_directory(folder);
    ASSERT_EQ(runShell(kTal + " init " + quote(folder)), 0);
    const std::string limits = folder + "/TALC.DB";
    const std::string delivered = readFile(limits).bytes;
    const std::string edited = delivered + "edited by the engineer";
    writeFileAtomically(limits, edited);
    std::string said;
    EXPECT_EQ(runShell(kTal + " init " + quote(folder) + " 2>&1", &said), 1);
    EXPECT_NE(said.find("TALC.DB"), std::string::npos) << said;
    EXPECT_NE(said.find("--force"), std::string::npos) << said;
    EXPECT_EQ(readFile(limits).bytes, edited);
    // Only TALC.DB there: it alone is named, and nothing is written beside it either.
    std::filesystem::remove(folder + "/talp.db");
    EXPECT_EQ(runShell(kTal + " init " + quote(folder) + " 2>/dev/null"), 1);
    EXPECT_FALSE(fileExists(folder + "/talp.db"));

    EXPECT_EQ(runShell(kTal + " init --force " + quote(folder)), 0);
    EXPECT_EQ(readFile(limits).bytes, delivered);
    EXPECT_TRUE(fileExists(folder + "/talp.db"));
}

// An output that is one of the inputs, by its name or through a link, is refused before
// anything is written.
TEST_F(Tal, AnOutputThatIsAnInputIsRefused) {
    const std::string image = build(demoPrograms());
    const std::string bytes = readFile(image).bytes;
    const std::string link = dir.path("link.bin");
    std::filesystem::create_symlink(image, link);
    const std::string hex = dir.path("h.hex");
    writeFileAtomically(hex, "not touched");
    const std::string commands[] = {
        " hex " + quote(image) + " -o " + quote(image),
        " hex " + quote(image) + " -o " + quote(link),
        " resave " + quote(image) + " -o " + quote(link),
        " resave " + quote(dir.path("other.bin")) + " -o " + quote(image) + " --blank " +
            quote(image),
        " unhex " + quote(hex) + " -o " + quote(hex),
    };
    for (const std::string& command : commands) {
        SCOPED_TRACE(command);
        std::string said;
        EXPECT_EQ(runShell(kTal + command + " 2>&1", &said), 1);
        EXPECT_NE(said.find("указан и как входной, и как выходной"), std::string::npos) << said;
        EXPECT_EQ(readFile(image).bytes, bytes);
        EXPECT_EQ(readFile(hex).bytes, "not touched");
    }
}

// A FIFO is neither read nor written: opening it would wait forever for the other end. The
// commands are run under `timeout`, so that a hang fails the test (124) instead of stopping it.
TEST_F(Tal, AFifoIsRefusedWithoutHanging) {
    const std::string fifo = dir.path("fifo.bin");
    ASSERT_EQ(runShell("mkfifo " + quote(fifo)), 0);
    const std::string image = build(demoPrograms());
    const std::string commands[] = {
        " dump " + quote(fifo),
        " check " + quote(fifo),
        " hex " + quote(fifo) + " -o " + quote(dir.path("out.hex")),
        " blank -o " + quote(fifo),
        " resave " + quote(image) + " -o " + quote(fifo),
    };
    for (const std::string& command : commands) {
        SCOPED_TRACE(command);
        EXPECT_EQ(runShell("timeout 20 " + kTal + command + " 2>/dev/null"), 1);
    }
}

// Mistakes on the command line are told in Russian, as every other message, with exit code 2.
TEST_F(Tal, UsageErrorsAreInRussian) {
    const struct {
        const char* arguments;
        const char* said;
    } cases[] = {
        {"", "не указана команда"},
        {"frobnicate", "не указана команда"},
        {"dump", "не указан обязательный аргумент IMAGE"},
        {"hex a.bin", "не указан обязательный аргумент -o"},
        {"dump a.bin b.bin", "лишние аргументы: b.bin"},
        {"dump a.bin --format xml", "недопустимое значение параметра --format"},
        {"check a.bin --limits TALC.DB", "задаётся только вместе с --model"},
        {"hex a.bin -o", "у параметра -o нет значения"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        std::string said;
        EXPECT_EQ(runShell(kTal + " " + c.arguments + " 2>&1", &said), 2);
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        EXPECT_EQ(said.find(" is required"), std::string::npos) << said;
        EXPECT_EQ(said.find("not expected"), std::string::npos) << said;
    }
}

}  // namespace
}  // namespace tal::test
