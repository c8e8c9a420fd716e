// Saving as a careful editor does: through links, keeping the file's mode and owner, and in place
// where the folder allows nothing else.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "store/file_system.h"
#include "support/store_fixture.h"
#include "support/temp_folder.h"

namespace tal::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kOldContent = "the old content, longer than the new";
constexpr const char* kNewContent = "new";

struct stat statOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info;
}

unsigned modeOf(const std::string& path) {
    return statOf(path).st_mode & 07777;
}

// Every file, folder and link below `folder`, relative to it, in order.
std::vector<std::string> namesBelow(const std::string& folder) {
    fs::path base(folder);
    if (!base.has_filename())
        base = base.parent_path();
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(base))
        names.push_back(entry.path().lexically_relative(base).string());
    std::sort(names.begin(), names.end());
    return names;
}

// Sets the umask for the life of the object.
class Umask {
public:
    explicit Umask(mode_t mask) : m_old(::umask(mask)) {}
    ~Umask() { ::umask(m_old); }

private:
    mode_t m_old;
};

TEST(WriteFileAtomically, WritesTheTargetOfALinkAndKeepsTheLink) {
    const Umask mask(022);
    struct Link {
        const char* name;
        std::string text;  // "@" stands for the case's folder
    };
    const struct {
        const char* name;
        std::vector<Link> links;  // the first is the one written
        const char* target;
        bool targetExists;
    } cases[] = {
        {"a relative link to a file beside it", {{"link.bin", "real.bin"}}, "real.bin", true},
        {"an absolute link into another folder",
         {{"link.bin", "@/other/real.bin"}},
         "other/real.bin",
         true},
        {"a chain whose second link is relative to its own folder",
         {{"link.bin", "sub/hop.bin"}, {"sub/hop.bin", "../other/real.bin"}},
         "other/real.bin",
         true},
        {"a dangling link", {{"link.bin", "other/new.bin"}}, "other/new.bin", false},
        {"a chain ending in a missing file",
         {{"link.bin", "sub/hop.bin"}, {"sub/hop.bin", "new.bin"}},
         "sub/new.bin",
         false},
    };
    TempFolder dir;
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string folder = dir.path(std::to_string(index++));
        fs::create_directories(folder + "/sub");
        fs::create_directories(folder + "/other");
        const std::string target = folder + "/" + c.target;
        if (c.targetExists) {
            ASSERT_EQ(writeFileAtomically(target, kOldContent), WriteStatus::Ok);
            fs::permissions(target, fs::perms(0640));
        }
        std::vector<std::string> texts;
        for (const Link& link : c.links) {
            std::string text = link.text;
            if (text[0] == '@')
                text.replace(0, 1, folder);
            fs::create_symlink(text, folder + "/" + link.name);
            texts.push_back(text);
        }
        const auto namesBefore = namesBelow(folder);
        const std::string saved = folder + "/" + c.links[0].name;

        EXPECT_TRUE(canCreateFile(saved));
        EXPECT_EQ(canOpenForWriting(saved), c.targetExists);
        ASSERT_EQ(writeFileAtomically(saved, kNewContent), WriteStatus::Ok);

        for (std::size_t i = 0; i < c.links.size(); ++i) {
            const std::string link = folder + "/" + c.links[i].name;
            std::error_code notALink;
            EXPECT_EQ(fs::read_symlink(link, notALink).string(), texts[i]) << link;
        }
        EXPECT_EQ(readFile(target).bytes, kNewContent);
        std::error_code missing;
        EXPECT_TRUE(fs::equivalent(followLinks(saved), target, missing)) << followLinks(saved);
        EXPECT_EQ(modeOf(target), c.targetExists ? 0640u : 0644u);
        auto namesAfter = namesBefore;
        if (!c.targetExists) {
            namesAfter.push_back(c.target);
            std::sort(namesAfter.begin(), namesAfter.end());
        }
        EXPECT_EQ(namesBelow(folder), namesAfter) << "a temporary file left behind";
    }
}

TEST(WriteFileAtomically, RefusesALoopOfLinks) {
    TempFolder dir;
    const std::string a = dir.path("a.bin"), b = dir.path("b.bin"), self = dir.path("self.bin");
    fs::create_symlink("b.bin", a);
    fs::create_symlink("a.bin", b);
    fs::create_symlink("self.bin", self);
    for (const std::string& path : {a, self}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(canCreateFile(path));
        EXPECT_EQ(writeFileAtomically(path, kNewContent), WriteStatus::CreateFailed);
    }
    EXPECT_EQ(namesBelow(dir.path("")), (std::vector<std::string>{"a.bin", "b.bin", "self.bin"}));
    for (const std::string& path : {a, b, self})
        EXPECT_TRUE(fs::is_symlink(path)) << path;
}

TEST(WriteFileAtomically, KeepsTheModeOfTheFileItReplaces) {
    const struct {
        std::optional<unsigned> mode;  // of the file already there
        mode_t umask;
        unsigned expected;
    } cases[] = {
        {0640, 022, 0640},         {0600, 022, 0600},         {0604, 077, 0604},
        {0755, 022, 0755},         {02750, 022, 02750},       {std::nullopt, 022, 0644},
        {std::nullopt, 027, 0640}, {std::nullopt, 077, 0600},
    };
    TempFolder dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << std::oct << "mode " << c.mode.value_or(0) << " umask " << c.umask);
        const Umask mask(c.umask);
        const std::string path = dir.path("file.bin");
        fs::remove(path);
        ino_t before = 0;
        if (c.mode) {
            ASSERT_EQ(writeFileAtomically(path, kOldContent), WriteStatus::Ok);
            fs::permissions(path, fs::perms(*c.mode));
            ASSERT_EQ(modeOf(path), *c.mode);
            before = statOf(path).st_ino;
        }
        ASSERT_EQ(writeFileAtomically(path, kNewContent), WriteStatus::Ok);
        EXPECT_EQ(modeOf(path), c.expected);
        EXPECT_EQ(readFile(path).bytes, kNewContent);
        if (c.mode) {
            EXPECT_NE(statOf(path).st_ino, before) << "not replaced as a whole";
        }
        EXPECT_EQ(namesBelow(dir.path("")), std::vector<std::string>{"file.bin"});
    }
}

constexpr uid_t kNobody = 65534;

TEST(WriteFileAtomically, KeepsTheOwnerAndGroupOfTheFileItReplaces) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a file to another user";
    TempFolder dir;
    const std::string path = dir.path("file.bin");
    ASSERT_EQ(writeFileAtomically(path, kOldContent), WriteStatus::Ok);
    ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
    fs::permissions(path, fs::perms(0640));
    ASSERT_EQ(writeFileAtomically(path, kNewContent), WriteStatus::Ok);
    const struct stat info = statOf(path);
    EXPECT_EQ(info.st_uid, kNobody);
    EXPECT_EQ(info.st_gid, kNobody);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(readFile(path).bytes, kNewContent);
}

TEST(WriteFileAtomically, SavesNamesUpToTheLongestAFolderHolds) {
    TempFolder dir;
    for (const std::size_t length : {243u, 250u, 255u}) {
        SCOPED_TRACE(length);
        const std::string name = std::string(length - 4, 'x') + ".bin";
        const std::string path = dir.path(name);
        EXPECT_TRUE(canCreateFile(path));
        ASSERT_EQ(writeFileAtomically(path, kOldContent), WriteStatus::Ok);
        EXPECT_TRUE(canCreateFile(path));
        ASSERT_EQ(writeFileAtomically(path, kNewContent), WriteStatus::Ok);
        EXPECT_EQ(readFile(path).bytes, kNewContent);
        EXPECT_EQ(namesBelow(dir.path("")), std::vector<std::string>{name});
        fs::remove(path);
    }
}

// What an ordinary user gets from the checks before a save and from the save itself, packed
// into a child's exit status.
struct Outcome {
    bool canOpen = false;
    bool canCreate = false;
    WriteStatus status = WriteStatus::Ok;

    int packed() const {
        return (canOpen ? 8 : 0) | (canCreate ? 4 : 0) | static_cast<int>(status);
    }
    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Outcome& outcome) {
    return out << "canOpen " << outcome.canOpen << ", canCreate " << outcome.canCreate
               << ", status " << static_cast<int>(outcome.status);
}

constexpr int kCannotDropPrivileges = 100;
constexpr int kChildFailed = 101;

// Runs `body` as an ordinary user: root passes over every folder's permissions, so as root it
// runs in a child that has become nobody. Returns the body's result, 0..99.
int asOrdinaryUser(const std::function<int()>& body) {
    if (::geteuid() != 0)
        return body();
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(kCannotDropPrivileges);
        ::_exit(body());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return kChildFailed;
    return WEXITSTATUS(status);
}

// A folder made read-only for the test and made writable again afterwards, so it can be removed.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string path) : m_path(std::move(path)) {
        fs::permissions(m_path, fs::perms(0555));
    }
    ~ReadOnlyFolder() { fs::permissions(m_path, fs::perms(0755)); }

private:
    std::string m_path;
};

TEST(WriteFileAtomically, AWritableFileInAReadOnlyFolderIsWrittenInPlace) {
    TempFolder dir;
    fs::permissions(dir.path(""), fs::perms(0755));  // nobody must reach the folders below
    const std::string open = dir.path("open"), closed = dir.path("closed");
    fs::create_directory(open);
    fs::create_directory(closed);
    fs::permissions(open, fs::perms(0777));
    const auto makeFile = [](const std::string& path, unsigned mode) {
        ASSERT_EQ(writeFileAtomically(path, kOldContent), WriteStatus::Ok);
        fs::permissions(path, fs::perms(mode));
    };
    makeFile(closed + "/writable.bin", 0666);
    makeFile(closed + "/readonly.bin", 0444);
    makeFile(open + "/writable.bin", 0666);
    makeFile(open + "/readonly.bin", 0444);
    makeFile(open + "/target.bin", 0666);
    fs::create_symlink("../open/target.bin", closed + "/link.bin");
    fs::create_symlink("../closed/new.bin", open + "/dangling.bin");
    const ReadOnlyFolder readOnly(closed);

    const int probe = asOrdinaryUser([&] {
        const std::string name = closed + "/probe";
        std::FILE* file = std::fopen(name.c_str(), "wx");
        if (!file)
            return 0;
        std::fclose(file);
        std::remove(name.c_str());
        return 1;
    });
    ASSERT_NE(probe, kCannotDropPrivileges) << "as root the case must run as nobody";
    if (probe == 1 && ::geteuid() != 0)
        GTEST_SKIP() << "this user may create files in a read-only folder";
    ASSERT_EQ(probe, 0) << "nobody could create a file in a read-only folder";

    enum class Written { InPlace, Replaced, Untouched, Absent };
    const struct {
        const char* name;
        std::string path;
        std::string file;  // the file behind the path
        Outcome expected;
        Written written;
    } cases[] = {
        {"a writable file in a read-only folder",
         closed + "/writable.bin",
         closed + "/writable.bin",
         {true, true, WriteStatus::Ok},
         Written::InPlace},
        {"a new file in a read-only folder",
         closed + "/missing.bin",
         closed + "/missing.bin",
         {false, false, WriteStatus::CreateFailed},
         Written::Absent},
        {"a read-only file in a read-only folder",
         closed + "/readonly.bin",
         closed + "/readonly.bin",
         {false, false, WriteStatus::CreateFailed},
         Written::Untouched},
        {"a read-only file in a writable folder",
         open + "/readonly.bin",
         open + "/readonly.bin",
         {false, false, WriteStatus::CreateFailed},
         Written::Untouched},
        {"a writable file in a writable folder",
         open + "/writable.bin",
         open + "/writable.bin",
         {true, true, WriteStatus::Ok},
         Written::Replaced},
        {"a link in a read-only folder to a file in a writable one",
         closed + "/link.bin",
         open + "/target.bin",
         {true, true, WriteStatus::Ok},
         Written::Replaced},
        {"a link in a writable folder to a new file in a read-only one",
         open + "/dangling.bin",
         closed + "/new.bin",
         {false, false, WriteStatus::CreateFailed},
         Written::Absent},
    };
    const auto namesBefore = namesBelow(dir.path(""));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        struct stat before {};
        if (fs::exists(c.file))
            before = statOf(c.file);
        const int result = asOrdinaryUser([&] {
            Outcome outcome;
            outcome.canOpen = canOpenForWriting(c.path);
            outcome.canCreate = canCreateFile(c.path);
            outcome.status = writeFileAtomically(c.path, kNewContent);
            return outcome.packed();
        });
        ASSERT_LT(result, 16) << "the child failed: " << result;
        const Outcome outcome{(result & 8) != 0, (result & 4) != 0,
                              static_cast<WriteStatus>(result & 3)};
        EXPECT_EQ(outcome, c.expected);
        switch (c.written) {
            case Written::Absent:
                EXPECT_FALSE(fs::exists(c.file));
                break;
            case Written::Untouched:
                EXPECT_EQ(readFile(c.file).bytes, kOldContent);
                break;
            case Written::InPlace:
            case Written::Replaced: {
                EXPECT_EQ(readFile(c.file).bytes, kNewContent);
                const struct stat after = statOf(c.file);
                EXPECT_EQ(after.st_ino == before.st_ino, c.written == Written::InPlace);
                EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
                break;
            }
        }
        EXPECT_EQ(namesBelow(dir.path("")), namesBefore) << "a file made or left behind";
    }
}

}  // namespace
}  // namespace tal::test
