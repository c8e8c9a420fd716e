#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/settings_file.h"
#include "files/startup.h"
#include "store/memory_image.h"
#include "store/table_files.h"
#include "store/text.h"
#include "support/fake_desktop.h"
#include "support/file_bytes.h"
#include "support/limits_data.h"
#include "support/tal_tool.h"
#include "support/temp_folder.h"
#include "workbench/workbench.h"

namespace tal::test {
namespace {

namespace fs = std::filesystem;

const RecordedMessage kLoadFailed{"Ошибка загрузки приложения", "Загрузка приложения",
                                  MessageIcon::Error, MessageButtons::Ok};
const RecordedMessage kIniOpenFailed{"Ошибка открытия файла TAL.ini", "Инициализация",
                                     MessageIcon::Error, MessageButtons::Ok};
const RecordedMessage kIniReadFailed{"Ошибка чтения файла TAL.ini", "Инициализация",
                                     MessageIcon::Error, MessageButtons::Ok};

// The executable's folder holds TAL.ini and TAL.cfg; the current directory holds the table files.
class StartupTest : public ::testing::Test {
protected:
    StartupTest() {
        fs::create_directories(exeFolder);
        fs::create_directories(workFolder);
        std::string error;
        EXPECT_TRUE(writeTableFiles(workFolder.string(), error)) << error;
        blank = makeBlankImage();
        blank[10] = 0x5A;  // a byte the editor does not interpret, to recognise this image
        writeBytes(exeFolder / "TAL.ini", imageBytes(blank));
        previousFolder = fs::current_path();
        fs::current_path(workFolder);
        bench.state().currentImage.fill(0xAB);
    }
    ~StartupTest() override { fs::current_path(previousFolder); }

    bool formCreate() { return bench.startup().FormCreate(exeFolder.string()); }
    bool imageUntouched() {
        Image untouched;
        untouched.fill(0xAB);
        return bench.state().currentImage == untouched;
    }

    TempFolder dir;
    fs::path exeFolder = dir.path() / "bin";
    fs::path workFolder = dir.path() / "work";
    fs::path previousFolder;
    Image blank{};
    FakeDesktop desktop;
    Workbench bench{desktop};
};

TEST_F(StartupTest, FormsThePathsFromTheExecutablesFolderAndReadsBlankImageAndSettings) {
    writeBytes(exeFolder / "TAL.cfg", *encodeCp1251("ТАЛ-1\nC:\\Программы\\\nD:\\PK2\\\n"));
    EXPECT_TRUE(formCreate());
    EXPECT_EQ(bench.state().settingsFilePath, (exeFolder / "TAL.cfg").string());
    EXPECT_EQ(bench.state().blankImagePath, (exeFolder / "TAL.ini").string());
    EXPECT_EQ(bench.state().currentImage, blank);
    EXPECT_EQ(bench.state().machineModel, "ТАЛ-1");
    EXPECT_EQ(bench.state().programsFolder, "C:\\Программы\\");
    EXPECT_EQ(bench.state().programmerFolder, "D:\\PK2\\");
    EXPECT_EQ(bench.state().dialogFolder, "C:\\Программы\\");
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(desktop.quits, 0);
}

TEST_F(StartupTest, AMissingTableFileStopsBeforeTheBlankImageIsRead) {
    for (const char* missing : kTableFileNames) {
        SCOPED_TRACE(missing);
        const fs::path aside = workFolder / (std::string(missing) + ".aside");
        fs::rename(workFolder / missing, aside);
        desktop = FakeDesktop();
        bench.state().currentImage.fill(0xAB);
        EXPECT_FALSE(formCreate());
        EXPECT_EQ(desktop.messages, std::vector<RecordedMessage>{kLoadFailed});
        EXPECT_EQ(desktop.quits, 1);
        EXPECT_TRUE(imageUntouched());
        fs::rename(aside, workFolder / missing);
    }
}

TEST_F(StartupTest, TheTableFilesAreLookedForInTheCurrentDirectoryOnly) {
    fs::current_path(exeFolder);
    EXPECT_FALSE(formCreate());
    EXPECT_EQ(desktop.messages, std::vector<RecordedMessage>{kLoadFailed});
}

TEST_F(StartupTest, BlankImageFileCases) {
    struct Case {
        const char* name;
        std::optional<std::size_t> size;  // none: no TAL.ini
        std::vector<RecordedMessage> messages;
        const Image* image = nullptr;  // none: the recognisable blank image
    };
    const auto notBlank = [](const char* what) {
        return RecordedMessage{std::string("Файл TAL.ini не чистый образ памяти: ") + what,
                               "Инициализация", MessageIcon::Error, MessageButtons::Ok};
    };
    const Image zeroFilled{};
    Image erased;
    erased.fill(0xFF);
    Image withProgram = makeBlankImage();
    setHeaderSlot(withProgram, 3, 1);
    const Case cases[] = {
        {"missing", std::nullopt, {kIniOpenFailed, kLoadFailed}},
        {"empty", 0, {kIniReadFailed, kLoadFailed}},
        {"one byte short", 65535, {kIniReadFailed, kLoadFailed}},
        {"exact", 65536, {}},
        {"longer", 70000, {}},
        {"zero-filled",
         65536,
         {notBlank("слот 1 хранит номер 0 и ещё 2014 нарушений"), kLoadFailed},
         &zeroFilled},
        {"erased",
         65536,
         {notBlank("запись каталога 0 занята и ещё 2270 нарушений"), kLoadFailed},
         &erased},
        {"a program in it",
         65536,
         {notBlank("запись каталога 3 занята"), kLoadFailed},
         &withProgram},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(exeFolder / "TAL.ini");
        std::string bytes = imageBytes(c.image ? *c.image : blank);
        bytes.resize(c.size.value_or(0), '\x77');
        if (c.size)
            writeBytes(exeFolder / "TAL.ini", bytes);
        desktop = FakeDesktop();
        bench.state().currentImage.fill(0xAB);

        const bool accepted = c.messages.empty();
        EXPECT_EQ(formCreate(), accepted);
        EXPECT_EQ(desktop.messages, c.messages);
        EXPECT_EQ(desktop.quits, accepted ? 0 : 1);
        if (accepted)
            EXPECT_EQ(imageBytes(bench.state().currentImage), bytes.substr(0, kImageSize));
        else
            EXPECT_TRUE(imageUntouched());
    }
}

// Runs `body` for at most a while. Should it hang in opening `fifo`, a writer comes and goes so
// that the open returns, and the test fails instead of hanging.
bool finishesWithoutHanging(const fs::path& fifo, const std::function<void()>& body) {
    auto done = std::async(std::launch::async, body);
    if (done.wait_for(std::chrono::seconds(20)) == std::future_status::ready)
        return true;
    const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0)
        ::close(fd);
    done.wait();
    return false;
}

// What is not a regular file (a FIFO, a folder) is refused with the file's read error; opening a
// FIFO never waits for a writer.
TEST_F(StartupTest, SpecialFilesAreRefusedWithoutHanging) {
    const struct {
        const char* name;
        const char* file;
        bool fifo;  // else a folder
        std::vector<RecordedMessage> messages;
    } cases[] = {
        {"TAL.ini a FIFO", "TAL.ini", true, {kIniReadFailed, kLoadFailed}},
        {"TAL.ini a folder", "TAL.ini", false, {kIniReadFailed, kLoadFailed}},
        {"TAL.cfg a FIFO", "TAL.cfg", true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = exeFolder / c.file;
        const std::string saved = fs::exists(path) ? readBytes(path) : std::string();
        fs::remove(path);
        if (c.fifo)
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        else
            fs::create_directory(path);
        desktop = FakeDesktop();
        bench.state().machineModel = "прежняя";
        bool accepted = false;
        EXPECT_TRUE(finishesWithoutHanging(path, [&] { accepted = formCreate(); }));
        EXPECT_EQ(accepted, c.messages.empty());
        EXPECT_EQ(desktop.messages, c.messages);
        if (accepted) {  // a TAL.cfg that cannot be read: the settings are what was read, nothing
            EXPECT_EQ(bench.state().machineModel, "");
        }
        fs::remove(path);
        if (!saved.empty())
            writeBytes(path, saved);
    }
}

TEST_F(StartupTest, SettingsFileCases) {
    struct Case {
        const char* name;
        std::optional<std::string> bytes;  // Windows-1251; none: no TAL.cfg
        std::string model, programs, programmer;
    };
    const Case cases[] = {
        {"LF", "ТАЛ-1\nC:\\TAL\\Программы\\\nC:\\PICkit 2\\\n", "ТАЛ-1", "C:\\TAL\\Программы\\",
         "C:\\PICkit 2\\"},
        {"CR LF", "ТАЛ-2\r\nC:\\A\\\r\nC:\\B\\\r\n", "ТАЛ-2\r", "C:\\A\\\r", "C:\\B\\\r"},
        {"two lines", "ТАЛ-1\nC:\\A\\\n", "ТАЛ-1", "C:\\A\\", ""},
        {"no final LF", "ТАЛ-1\nC:\\A\\\nC:\\B\\", "ТАЛ-1", "C:\\A\\", "C:\\B\\"},
        {"later lines ignored", "a\nb\nc\nd\ne", "a", "b", "c"},
        {"empty lines", "\n\n\n", "", "", ""},
        {"missing", std::nullopt, "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(exeFolder / "TAL.cfg");
        if (c.bytes)
            writeBytes(exeFolder / "TAL.cfg", *encodeCp1251(*c.bytes));
        desktop = FakeDesktop();
        bench.state() = EditorState();
        EXPECT_TRUE(formCreate());
        EXPECT_TRUE(desktop.messages.empty());
        EXPECT_EQ(bench.state().machineModel, c.model);
        EXPECT_EQ(bench.state().programsFolder, c.programs);
        EXPECT_EQ(bench.state().programmerFolder, c.programmer);
        EXPECT_EQ(bench.state().dialogFolder, c.programs);
    }
}

TEST_F(StartupTest, ASettingsFileThatCannotBeReadLeavesTheSettingsAsTheyWere) {
    EditorState& state = bench.state();
    state.settingsFilePath = (exeFolder / "TAL.cfg").string();
    state.machineModel = "ТАЛ-2";
    state.dialogFolder = "keep";
    EXPECT_FALSE(ReadSettingsFile(state));
    EXPECT_EQ(state.machineModel, "ТАЛ-2");
    EXPECT_EQ(state.dialogFolder, "keep");

    // A folder opens but cannot be read: what was read (nothing) is kept, the dialogs untouched.
    fs::create_directories(exeFolder / "TAL.cfg");
    EXPECT_FALSE(ReadSettingsFile(state));
    EXPECT_EQ(state.machineModel, "");
    EXPECT_EQ(state.dialogFolder, "keep");
}

TEST_F(StartupTest, FormShowEmptiesTheTablesAndTheClipboardAndFormDestroyClosesThem) {
    ASSERT_TRUE(formCreate());
    const std::string path = dir.path("A.bin");
    ASSERT_TRUE(buildWorkingFile(R"({"programs":[{"ProgNum":4,"lines":[{}]}]})", path));
    const std::string bytes = readBytes(path);
    std::copy(bytes.begin(), bytes.end(), bench.state().currentImage.begin());
    bench.store().LoadImage(path);
    bench.state().clipboard.clipboardKind = Clipboard::Program;
    ASSERT_EQ(bench.store().headers().recordCount(), 1);

    bench.startup().FormShow();
    EXPECT_EQ(bench.store().headers().recordCount(), 0);
    EXPECT_EQ(bench.store().lines().recordCount(), 0);
    EXPECT_EQ(bench.state().clipboard.clipboardKind, Clipboard::Empty);
    EXPECT_FALSE(bench.state().modified);
    EXPECT_FALSE(desktop.isEnabled(Control::SpeedButton4));

    writeLimits((workFolder / "TALC.DB").string(), deliveredLimits());
    bench.limits().Open();
    bench.startup().FormDestroy();
    EXPECT_FALSE(bench.limits().isOpen());
    EXPECT_FALSE(bench.store().headers().isOpen());
    EXPECT_FALSE(bench.store().lines().isOpen());
}

}  // namespace
}  // namespace tal::test
