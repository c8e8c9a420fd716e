#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "files/recovery.h"
#include "files/recovery_copy.h"
#include "store/editing_tables.h"
#include "store/file_system.h"
#include "store/memory_image.h"
#include "support/fake_desktop.h"
#include "support/file_bytes.h"
#include "support/workbench_fixture.h"

namespace tal::test {
namespace {

namespace fs = std::filesystem;

RecoveryCopy sampleCopy() {
    RecoveryCopy copy;
    copy.savedAt = 1700000000;
    copy.workingFileName = "/home/оператор/программы/A.bin";
    copy.image = makeBlankImage();
    copy.image[4000] = 0x42;
    copy.remarksFile = std::string("abc\0\0x\0", 7);
    return copy;
}

TEST(RecoveryCopyFormat, ReadsBackWhatItWrites) {
    const RecoveryCopy copy = sampleCopy();
    const auto back = decodeRecoveryCopy(encodeRecoveryCopy(copy));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->savedAt, copy.savedAt);
    EXPECT_EQ(back->workingFileName, copy.workingFileName);
    EXPECT_EQ(back->image, copy.image);
    EXPECT_EQ(back->remarksFile, copy.remarksFile);
}

TEST(RecoveryCopyFormat, RefusesADamagedCopyWhole) {
    const std::string good = encodeRecoveryCopy(sampleCopy());
    struct Case {
        const char* what;
        std::string bytes;
    };
    auto flipped = [&](std::size_t at) {
        std::string bytes = good;
        bytes[at] = static_cast<char>(bytes[at] ^ 0x10);
        return bytes;
    };
    const std::vector<Case> cases = {
        {"empty", ""},
        {"cut short in the image", good.substr(0, good.size() - 1000)},
        {"without its checksum", good.substr(0, good.size() - 4)},
        {"a byte too many", good + "x"},
        {"another magic", flipped(0)},
        {"a name length past the end", flipped(16 + 3)},
        {"a flipped image byte", flipped(good.size() - 4 - 65536 + 4000)},
        {"a flipped checksum", flipped(good.size() - 1)},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(decodeRecoveryCopy(c.bytes)) << c.what;
}

// Sets an environment variable for one test and puts back what was there.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        value ? setenv(name, value, 1) : unsetenv(name);
        tzset();
    }
    ~ScopedEnv() {
        m_old ? setenv(m_name, m_old->c_str(), 1) : unsetenv(m_name);
        tzset();
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(RecoveryPath, IsInTheStateFolderOrElseTheWorkingDirectory) {
    {
        ScopedEnv state("XDG_STATE_HOME", "/var/tmp/state");
        EXPECT_EQ(Recovery::defaultPath(), "/var/tmp/state/taleditor-recovery.bin");
    }
    for (const char* none : {static_cast<const char*>(nullptr), ""}) {
        ScopedEnv state("XDG_STATE_HOME", none);
        EXPECT_EQ(Recovery::defaultPath(),
                  (fs::current_path() / "taleditor-recovery.bin").string());
    }
}

class RecoveryTest : public WorkbenchTest {
protected:
    RecoveryTest() {
        recovery().setPath(copyPath);
        recovery().setClock([this] { return now; });
    }
    Recovery& recovery() { return bench.recovery(); }
    void makeProgramWithLine(int number) {
        desktop.focus = Grid::Headers;
        desktop.newProgramAnswers.push_back({DialogAnswer::Create, number});
        bench.gridCommands().SpeedButton7Click();
        desktop.focus = Grid::Lines;
        bench.gridCommands().SpeedButton7Click();
        bench.store().lines().setInteger(ln::param(4), 77);
        bench.store().lines().post();
    }
    std::optional<RecoveryCopy> copyOnDisk() {
        const ReadResult file = readFile(copyPath);
        if (file.status != ReadStatus::Ok)
            return std::nullopt;
        return decodeRecoveryCopy(file.bytes);
    }

    std::string copyPath = (dir.path() / "state" / "taleditor-recovery.bin").string();
    std::int64_t now = 1700000000;
};

TEST_F(RecoveryTest, KeepsACopyWhileWorkIsUnsavedAndDropsItWhenSavedOrOnACleanExit) {
    recovery().FormShow();
    EXPECT_TRUE(recovery().refresh());
    EXPECT_FALSE(fs::exists(copyPath)) << "nothing unsaved yet";

    makeProgramWithLine(3);
    bench.state().workingFileName = "/data/A.bin";
    ASSERT_TRUE(recovery().refresh());
    auto copy = copyOnDisk();
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->workingFileName, "/data/A.bin");
    EXPECT_EQ(copy->savedAt, now);
    EXPECT_EQ(static_cast<std::int64_t>(headerSlotOf(copy->image, 3)),
              bench.store().headers().asInteger(hdr::CurStr));

    // Unchanged work is not written again; a change is.
    now += 5;
    ASSERT_TRUE(recovery().refresh());
    EXPECT_EQ(copyOnDisk()->savedAt, now - 5);
    bench.store().lines().setInteger(ln::param(4), 78);
    bench.store().lines().post();
    ASSERT_TRUE(recovery().refresh());
    EXPECT_EQ(copyOnDisk()->savedAt, now);

    bench.state().modified = false;  // saved
    recovery().refresh();
    EXPECT_FALSE(fs::exists(copyPath));

    makeProgramWithLine(4);
    recovery().refresh();
    EXPECT_TRUE(fs::exists(copyPath));
    recovery().FormClose();
    EXPECT_FALSE(fs::exists(copyPath));
}

TEST_F(RecoveryTest, NothingIsWrittenOrRemovedBeforeTheCopyWasOffered) {
    fs::create_directories(dir.path() / "state");
    writeBytes(copyPath, encodeRecoveryCopy(sampleCopy()));
    makeProgramWithLine(1);
    recovery().refresh();
    bench.state().modified = false;
    recovery().refresh();
    ASSERT_TRUE(copyOnDisk());
    EXPECT_EQ(copyOnDisk()->workingFileName, sampleCopy().workingFileName);
}

TEST_F(RecoveryTest, AnsweringYesLoadsTheCopyAsUnsavedWorkOfItsFile) {
    ScopedEnv tz("TZ", "UTC");
    for (const bool named : {true, false}) {
        SCOPED_TRACE(named);
        recovery().FormShow();
        makeProgramWithLine(3);
        bench.store().headers().setText(hdr::Remark, "abc");
        bench.store().headers().post();
        bench.state().workingFileName = named ? "/data/A.bin" : "";
        ASSERT_TRUE(recovery().refresh());
        const auto left = copyOnDisk();
        ASSERT_TRUE(left);

        // The next editor, started after this one did not end cleanly.
        FakeDesktop nextDesktop;
        Workbench next{nextDesktop, ValueCheckMode::Unchecked};
        next.state().blankImagePath = bench.state().blankImagePath;
        next.state().currentImage = makeBlankImage();
        next.startup().FormShow();
        next.recovery().setPath(copyPath);
        nextDesktop.takeMessages();
        nextDesktop.messageAnswers = {MessageAnswer::Yes};
        next.recovery().FormShow();
        const auto messages = nextDesktop.takeMessages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(
            messages[0],
            (RecordedMessage{"Восстановить несохранённые данные от 14.11.2023 22:13?",
                             "Восстановление данных", MessageIcon::None, MessageButtons::YesNo}));
        Table& headers = next.store().headers();
        ASSERT_EQ(headers.recordCount(), 1);
        EXPECT_EQ(headers.asInteger(hdr::ProgNum), 3);
        EXPECT_EQ(headers.asText(hdr::Remark), "abc");
        EXPECT_EQ(next.store().lines().asInteger(ln::param(4)), 77);
        EXPECT_EQ(next.state().workingFileName, named ? "/data/A.bin" : "");
        EXPECT_EQ(nextDesktop.statusFileName, named ? "/data/A.bin" : "");
        EXPECT_TRUE(next.state().modified);
        EXPECT_EQ(nextDesktop.isEnabled(Control::SpeedButton4), named);
        EXPECT_EQ(next.state().currentImage, left->image);
        EXPECT_FALSE(next.history().undo()) << "a fresh history";
        next.recovery().refresh();
        EXPECT_TRUE(fs::exists(copyPath)) << "still unsaved";
        next.recovery().FormClose();
        EXPECT_FALSE(fs::exists(copyPath));
        recovery().FormClose();
        bench.state().currentImage = makeBlankImage();  // as New leaves it
        bench.store().ClearTables();
    }
}

TEST_F(RecoveryTest, AnsweringNoRemovesTheCopy) {
    fs::create_directories(dir.path() / "state");
    writeBytes(copyPath, encodeRecoveryCopy(sampleCopy()));
    desktop.messageAnswers = {MessageAnswer::No};
    recovery().FormShow();
    EXPECT_FALSE(fs::exists(copyPath));
    EXPECT_EQ(bench.store().headers().recordCount(), 0);
    EXPECT_FALSE(bench.state().modified);
}

TEST_F(RecoveryTest, ADamagedCopyIsReportedAndSetAsideNeverLoaded) {
    fs::create_directories(dir.path() / "state");
    const std::string good = encodeRecoveryCopy(sampleCopy());
    writeBytes(copyPath, good.substr(0, good.size() - 2));
    desktop.messageAnswers = {MessageAnswer::Yes};
    recovery().FormShow();
    const auto messages = desktop.takeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(messages[0].caption, "Восстановление данных");
    EXPECT_FALSE(fs::exists(copyPath));
    EXPECT_EQ(readBytes(copyPath + ".damaged"), good.substr(0, good.size() - 2));
    EXPECT_EQ(bench.store().headers().recordCount(), 0);
    EXPECT_EQ(bench.state().currentImage, makeBlankImage());
}

// ---- a crash: the editor process is killed ---------------------------------------------------

class KilledEditor : public RecoveryTest {
protected:
    // Runs an editor session that makes its edit, waits until its recovery copy is there and
    // kills it with SIGKILL.
    void runAndKill() {
        const std::string stateHome = "XDG_STATE_HOME=" + (dir.path() / "state").string();
        std::vector<std::string> env = {stateHome, "PATH=/usr/bin:/bin"};
        std::vector<char*> envp;
        for (auto& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        std::string program = RECOVERY_CHILD_PATH;
        std::string folder = dir.path().string();
        char* argv[] = {program.data(), folder.data(), nullptr};
        pid_t pid = 0;
        ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()), 0);
        // The copy is written atomically: once it reads whole, the edit is in it.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!copyOnDisk() && std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid)
                FAIL() << "the editor session ended by itself: " << status;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_EQ(kill(pid, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        ASSERT_TRUE(copyOnDisk()) << "no recovery copy within a minute";
    }
};

TEST_F(KilledEditor, RestartAnsweringYesFindsTheEdit) {
    ASSERT_NO_FATAL_FAILURE(runAndKill());
    desktop.messageAnswers = {MessageAnswer::Yes};
    recovery().FormShow();
    Table& headers = bench.store().headers();
    Table& lines = bench.store().lines();
    ASSERT_EQ(headers.recordCount(), 1);
    EXPECT_EQ(headers.asInteger(hdr::ProgNum), 12);
    EXPECT_EQ(headers.asText(hdr::Remark), "после сбоя");
    ASSERT_EQ(lines.recordCount(), 2);
    EXPECT_EQ(lines.rowValue(1, ln::param(4)).asInteger(), 321);
    EXPECT_TRUE(bench.state().modified);
}

TEST_F(KilledEditor, RestartAnsweringNoLeavesNoCopy) {
    ASSERT_NO_FATAL_FAILURE(runAndKill());
    desktop.messageAnswers = {MessageAnswer::No};
    recovery().FormShow();
    EXPECT_FALSE(fs::exists(copyPath));
    EXPECT_EQ(bench.store().headers().recordCount(), 0);
    recovery().refresh();
    EXPECT_FALSE(fs::exists(copyPath));
}

}  // namespace
}  // namespace tal::test
