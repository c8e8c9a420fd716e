#include "store/file_system.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tal {

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

ReadResult readFile(const std::string& path, std::size_t limit) {
    ReadResult result;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return result;
    result.status = ReadStatus::Ok;
    std::setvbuf(file, nullptr, _IONBF, 0);
    // Read straight into the result; a regular file's size makes it one read (and one more
    // byte to see its end).
    std::size_t chunk = 65536;
    struct stat info {};
    if (::fstat(::fileno(file), &info) == 0 && S_ISREG(info.st_mode))
        chunk = static_cast<std::size_t>(info.st_size) + 1;
    while (result.bytes.size() < limit) {
        const std::size_t have = result.bytes.size();
        const std::size_t want = std::min(chunk, limit - have);
        result.bytes.resize(have + want);
        const std::size_t got = std::fread(result.bytes.data() + have, 1, want, file);
        result.bytes.resize(have + got);
        if (got < want) {
            if (std::ferror(file))
                result.status = ReadStatus::ReadFailed;
            break;
        }
        chunk = 65536;
    }
    std::fclose(file);
    return result;
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

}  // namespace

WriteStatus writeFileAtomically(const std::string& path, std::string_view bytes) {
    if (path.empty())
        return WriteStatus::CreateFailed;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return WriteStatus::CreateFailed;
    // A device such as /dev/full is written in place: it cannot be replaced by a rename.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC);
        if (fd < 0)
            return WriteStatus::CreateFailed;
        const bool ok = writeAll(fd, bytes);
        return (::close(fd) == 0 && ok) ? WriteStatus::Ok : WriteStatus::WriteFailed;
    }
    static std::mt19937_64 random{std::random_device{}()};
    const std::string temporary = path + ".tmp" + std::to_string(random() % 1000000000ULL);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0)
        return WriteStatus::CreateFailed;
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return WriteStatus::WriteFailed;
    }
    return WriteStatus::Ok;
}

bool removeFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::remove(path, ec);
}

bool canOpenForWriting(const std::string& path) {
    if (path.empty())
        return false;
    const int fd = ::open(path.c_str(), O_WRONLY);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

bool canCreateFile(const std::string& path) {
    if (path.empty())
        return false;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return false;
        if (!S_ISREG(info.st_mode))
            return canOpenForWriting(path);
    }
    static std::mt19937_64 random{std::random_device{}()};
    const std::string probe = path + ".tmp" + std::to_string(random() % 1000000000ULL);
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

std::string folderOf(const std::string& path) {
    const auto cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

}  // namespace tal
