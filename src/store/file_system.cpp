#include "store/file_system.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tal {
namespace {

// A file that grows while it is read is read in pieces of this size.
constexpr std::size_t kMostReadAtOnce = std::size_t{1} << 26;

}  // namespace

bool fileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

bool pathExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::exists(path, ec);
}

std::optional<std::size_t> fileSize(const std::string& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec)
        return std::nullopt;
    return static_cast<std::size_t>(size);
}

namespace {

// Opens a file for reading without waiting: opening a FIFO would wait for a writer forever.
// Only a regular file is read: a FIFO, a device or a folder is a read failure. Returns -1 with
// `failure` set when the file is not to be read; `size`, when given, receives the file's size.
int openRegularFile(const std::string& path, ReadStatus& failure, std::size_t* size = nullptr) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        failure = ReadStatus::OpenFailed;
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        failure = ReadStatus::ReadFailed;
        return -1;
    }
    if (size)
        *size = static_cast<std::size_t>(info.st_size);
    return fd;
}

// Reads until `size` bytes are in or the file ends; the count read, or -1 on an error.
ssize_t readUpTo(int fd, char* into, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, into + got, size - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(got);
}

}  // namespace

ReadResult readFile(const std::string& path, std::size_t limit) {
    ReadResult result;
    std::size_t size = 0;
    const int fd = openRegularFile(path, result.status, &size);
    if (fd < 0)
        return result;
    result.status = ReadStatus::Ok;
    // Read straight into the result; the file's size makes it one read (and one more byte to
    // see its end). Never more than `limit`, however large the file.
    std::size_t chunk = size + 1;
    while (result.bytes.size() < limit) {
        const std::size_t have = result.bytes.size();
        const std::size_t want = std::min({chunk, limit - have, kMostReadAtOnce});
        result.bytes.resize(have + want);
        const ssize_t got = readUpTo(fd, result.bytes.data() + have, want);
        result.bytes.resize(have + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        if (got < 0)
            result.status = ReadStatus::ReadFailed;
        if (got < static_cast<ssize_t>(want))
            break;
        chunk = 65536;
    }
    ::close(fd);
    return result;
}

StartRead readFileStart(const std::string& path, std::span<char> buffer) {
    StartRead result;
    const int fd = openRegularFile(path, result.status);
    if (fd < 0)
        return result;
    result.status = ReadStatus::Ok;
    const ssize_t got = readUpTo(fd, buffer.data(), buffer.size());
    char next = 0;
    const ssize_t after = got == static_cast<ssize_t>(buffer.size()) ? readUpTo(fd, &next, 1) : 0;
    if (got < 0 || after < 0)
        result.status = ReadStatus::ReadFailed;
    result.size = static_cast<std::size_t>(std::max<ssize_t>(got, 0));
    result.longer = after > 0;
    ::close(fd);
    return result;
}

ReadStatus readFileInPieces(const std::string& path, std::size_t limit, std::span<char> buffer,
                            const ByteSink& sink) {
    ReadStatus status = ReadStatus::Ok;
    const int fd = openRegularFile(path, status);
    if (fd < 0)
        return status;
    for (std::size_t left = limit; left > 0;) {
        const ssize_t got = readUpTo(fd, buffer.data(), std::min(left, buffer.size()));
        if (got < 0)
            status = ReadStatus::ReadFailed;
        if (got <= 0 || !sink(std::string_view(buffer.data(), static_cast<std::size_t>(got))))
            break;
        left -= static_cast<std::size_t>(got);
    }
    ::close(fd);
    return status;
}

namespace {

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Writes everything the source gives; how many bytes that was, or nothing when a write failed.
std::optional<std::size_t> writeAll(int fd, const ByteSource& source) {
    std::size_t written = 0;
    const bool ok = source([fd, &written](std::string_view piece) {
        written += piece.size();
        return writeAll(fd, piece);
    });
    return ok ? std::optional(written) : std::nullopt;
}

ByteSource sourceOf(std::string_view bytes) {
    return [bytes](const ByteSink& sink) { return sink(bytes); };
}

// As the kernel does: a longer chain of links is taken for a loop.
constexpr int kMaxLinkHops = 40;

// The final target of a chain of symbolic links (it need not exist yet), or the path itself;
// nothing for a loop.
std::optional<std::string> finalTarget(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path current = path;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(current, ec)))
            return current.string();
        const fs::path target = fs::read_symlink(current, ec);
        if (ec)
            return std::nullopt;
        current = current.parent_path() / target;  // an absolute target replaces the folder
    }
    return std::nullopt;
}

// The file a write to a path puts its bytes in, and what is there now.
struct Destination {
    std::string file;
    bool exists = false;
    struct stat info {};
};

// Nothing when the write is refused before it starts: no name, a loop of links, a folder, or
// an existing file its owner made read-only (it is not replaced behind their back).
std::optional<Destination> destinationOf(const std::string& path) {
    if (path.empty())
        return std::nullopt;
    const auto file = finalTarget(path);
    if (!file)
        return std::nullopt;
    Destination destination;
    destination.file = *file;
    destination.exists = ::stat(file->c_str(), &destination.info) == 0;
    // A FIFO or a socket is no file to save into: opening one may wait forever.
    if (destination.exists &&
        (S_ISDIR(destination.info.st_mode) || S_ISFIFO(destination.info.st_mode) ||
         S_ISSOCK(destination.info.st_mode) || !canOpenForWriting(destination.file)))
        return std::nullopt;
    return destination;
}

// A device (/dev/full, a terminal) cannot be replaced by a rename; it is written in place.
bool isDevice(const Destination& destination) {
    return destination.exists && !S_ISREG(destination.info.st_mode);
}

// The errors of a folder that refuses new files; a writable file in it is then written in place.
bool folderRefusesNewFiles(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

// Creates a new file with a short name of its own in the folder of `file`, so that even a name
// at the length limit leaves room for it. Returns its descriptor, or -1 with errno set.
int createTemporaryBeside(const std::string& file, mode_t mode, std::string& temporary) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> letter(0, sizeof kLetters - 2);
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = ".tal";
        for (int i = 0; i < 6; ++i)
            name += kLetters[letter(random)];
        temporary = (folder / name).string();
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Gives the replacement the owner, group and permission bits of the file it replaces. Only the
// owner's change may be refused (EPERM): the replacement is then ours, as any new file would be.
bool takeOverOwnerAndMode(int fd, const struct stat& old) {
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return false;
    // Before the mode: a change of owner clears the set-user-ID and set-group-ID bits.
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0 && errno != EPERM)
        return false;
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}

// Whether a step succeeded; the first failing step leaves its errno in `error`.
bool step(bool ok, int& error) {
    if (!ok && error == 0)
        error = errno != 0 ? errno : EIO;
    return ok;
}

WriteStatus writeDevice(const std::string& file, const ByteSource& source, int& error) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (!step(fd >= 0, error))
        return WriteStatus::CreateFailed;
    bool ok = step(writeAll(fd, source).has_value(), error);
    ok = step(::close(fd) == 0, error) && ok;
    return ok ? WriteStatus::Ok : WriteStatus::WriteFailed;
}

// The file is overwritten from its start and then cut to the new length, so a failure part way
// leaves it damaged: used only where the folder allows nothing else.
WriteStatus writeInPlace(const std::string& file, const ByteSource& source, int& error) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
    if (!step(fd >= 0, error))
        return WriteStatus::CreateFailed;
    const auto written = writeAll(fd, source);
    bool ok = step(written.has_value(), error) &&
              step(::ftruncate(fd, static_cast<off_t>(*written)) == 0, error) &&
              step(::fsync(fd) == 0, error);
    ok = step(::close(fd) == 0, error) && ok;
    return ok ? WriteStatus::Ok : WriteStatus::WriteFailed;
}

}  // namespace

StagedWrite::StagedWrite(const std::string& path, std::string_view bytes)
    : StagedWrite(path, sourceOf(bytes)) {}

StagedWrite::StagedWrite(const std::string& path, ByteSource source) {
    const auto destination = destinationOf(path);
    if (!destination) {
        m_status = WriteStatus::CreateFailed;
        return;
    }
    m_file = destination->file;
    if (isDevice(*destination)) {
        m_inPlace = Place::Device;
        m_source = std::move(source);
        return;
    }
    // An existing file's mode is given to the replacement below; until then only we may read it.
    const int fd =
        createTemporaryBeside(destination->file, destination->exists ? 0600 : 0666, m_temporary);
    if (fd < 0) {
        if (destination->exists && folderRefusesNewFiles(errno)) {
            m_inPlace = Place::File;
            m_source = std::move(source);
            return;
        }
        step(false, m_error);
        m_temporary.clear();
        m_status = WriteStatus::CreateFailed;
        return;
    }
    // The mode comes after the bytes: a write by an ordinary user clears the set-group-ID bit.
    bool ok = step(writeAll(fd, source).has_value(), m_error) &&
              step(!destination->exists || takeOverOwnerAndMode(fd, destination->info), m_error) &&
              step(::fsync(fd) == 0, m_error);
    ok = step(::close(fd) == 0, m_error) && ok;
    if (!ok) {
        discard();
        m_status = WriteStatus::WriteFailed;
    }
}

StagedWrite::~StagedWrite() {
    discard();
}

void StagedWrite::discard() {
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
    m_temporary.clear();
}

WriteStatus StagedWrite::commit() {
    if (m_status != WriteStatus::Ok || m_committed)
        return m_status;
    m_committed = true;
    switch (m_inPlace) {
        case Place::Device:
            m_status = writeDevice(m_file, m_source, m_error);
            break;
        case Place::File:
            m_status = writeInPlace(m_file, m_source, m_error);
            break;
        case Place::None:
            if (!step(std::rename(m_temporary.c_str(), m_file.c_str()) == 0, m_error)) {
                m_status = WriteStatus::WriteFailed;
                discard();
                return m_status;
            }
            m_temporary.clear();
            break;
    }
    return m_status;
}

WriteStatus writeFileAtomically(const std::string& path, std::string_view bytes) {
    int error = 0;
    return writeFileAtomically(path, bytes, error);
}

WriteStatus writeFileAtomically(const std::string& path, std::string_view bytes, int& error) {
    return writeFileAtomically(path, sourceOf(bytes), error);
}

WriteStatus writeFileAtomically(const std::string& path, const ByteSource& source, int& error) {
    StagedWrite staged(path, source);
    const WriteStatus status = staged.commit();
    error = staged.error();
    return status;
}

bool removeFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::remove(path, ec);
}

bool canOpenForWriting(const std::string& path) {
    if (path.empty())
        return false;
    // Without blocking, as a FIFO without a reader would wait for one.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

bool canCreateFile(const std::string& path) {
    const auto destination = destinationOf(path);
    if (!destination)
        return false;
    if (isDevice(*destination))
        return true;  // destinationOf has opened it for writing
    std::string probe;
    const int fd = createTemporaryBeside(destination->file, 0600, probe);
    if (fd < 0)
        return destination->exists && folderRefusesNewFiles(errno);
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

std::string followLinks(const std::string& path) {
    return finalTarget(path).value_or(path);
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

std::string folderOf(const std::string& path) {
    const auto cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

}  // namespace tal
