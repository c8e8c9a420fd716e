#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tal {

// The one small file-system helper: everything else reads and writes files through it.

bool fileExists(const std::string& path);
// Whether anything (file, folder, device) answers to the path.
bool pathExists(const std::string& path);
// Size in bytes of a regular file; nothing when it cannot be examined.
std::optional<std::size_t> fileSize(const std::string& path);

enum class ReadStatus { Ok, OpenFailed, ReadFailed };
struct ReadResult {
    ReadStatus status = ReadStatus::OpenFailed;
    std::string bytes;
};
// Reads at most `limit` bytes from the start of a regular file. Opening never waits: anything
// else (a FIFO, a device, a folder) is a read failure.
ReadResult readFile(const std::string& path, std::size_t limit = std::string::npos);

struct StartRead {
    ReadStatus status = ReadStatus::OpenFailed;
    std::size_t size = 0;  // bytes read into the buffer
    bool longer = false;   // whether the file goes on past the buffer
};
// Reads the start of a regular file straight into `buffer`, as far as the buffer reaches, as
// readFile does. On a failure the buffer may hold part of the file.
StartRead readFileStart(const std::string& path, std::span<char> buffer);

// A file's bytes handed over piece by piece, so that a large file need not be held whole in
// memory: the source gives each piece to the sink in order and stops with false as soon as the
// sink fails.
using ByteSink = std::function<bool(std::string_view piece)>;
using ByteSource = std::function<bool(const ByteSink& sink)>;

// Reads at most `limit` bytes from the start of a regular file, as readFile does, but a buffer's
// worth at a time, handing each piece to `sink` in order. A sink that returns false ends the read
// early; that is no read failure.
ReadStatus readFileInPieces(const std::string& path, std::size_t limit, std::span<char> buffer,
                            const ByteSink& sink);

enum class WriteStatus { Ok, CreateFailed, WriteFailed };
// Writes the whole file through a temporary file in the same folder that then replaces it,
// so a failed write never leaves a half-written file nor destroys the previous one.
// - A symbolic link is followed to its final target, which is replaced (or, for a dangling
//   link, created); the link itself stays as it is.
// - The replacement keeps the old file's permission bits, and its owner and group where the
//   system allows; a new file gets 0666 less the umask.
// - An existing file that cannot be opened for writing is not replaced (CreateFailed).
// - Where the folder refuses new files but the file exists and is writable, the file is
//   overwritten in place: the one case in which a failed write can damage it.
// - A device is written in place.
WriteStatus writeFileAtomically(const std::string& path, std::string_view bytes);
// The same; `error` receives the system's error number of a failure (0 when there is none).
WriteStatus writeFileAtomically(const std::string& path, std::string_view bytes, int& error);
WriteStatus writeFileAtomically(const std::string& path, const ByteSource& source, int& error);

// writeFileAtomically in two steps, so that several files change together: the bytes are
// written beside the file first (nothing is replaced yet), and put in its place by commit(). A
// write that is not committed leaves no trace. Where the file must be written in place (a
// device, a folder that refuses new files), commit() writes it.
class StagedWrite {
public:
    // `bytes` must stay valid until commit().
    StagedWrite(const std::string& path, std::string_view bytes);
    // What `source` gives must stay the same until commit().
    StagedWrite(const std::string& path, ByteSource source);
    ~StagedWrite();
    StagedWrite(const StagedWrite&) = delete;
    StagedWrite& operator=(const StagedWrite&) = delete;

    // Whether the bytes are ready to be put in place; after commit(), whether they were.
    WriteStatus status() const { return m_status; }
    WriteStatus commit();
    // Whether commit() writes the file in place, where it can still fail.
    bool writesInPlace() const { return m_inPlace != Place::None; }
    // The system's error number of a failure (0 when there is none).
    int error() const { return m_error; }

private:
    enum class Place { None, Device, File };
    void discard();

    WriteStatus m_status = WriteStatus::Ok;
    int m_error = 0;
    std::string m_file;
    std::string m_temporary;
    Place m_inPlace = Place::None;
    bool m_committed = false;
    ByteSource m_source;  // for a write in place, which happens at commit()
};

bool removeFile(const std::string& path);

// Whether an existing file can be opened for writing; it is neither emptied nor created.
bool canOpenForWriting(const std::string& path);
// Whether writeFileAtomically could write `path` now: for a link, its final target counts; an
// existing file must be writable and a temporary file possible in its folder, unless that
// folder refuses new files (then it is written in place); a new file needs the temporary file.
// Leaves nothing behind.
bool canCreateFile(const std::string& path);

// The file that writeFileAtomically(path, ...) writes: the final target of a chain of symbolic
// links, whether or not it exists yet; `path` itself when it is no link (or a loop of them).
std::string followLinks(const std::string& path);

// Whether two paths name one existing file (through links, or as two names of it).
bool sameFile(const std::string& a, const std::string& b);

// Folder of a path, with its trailing separator ("" for a bare name).
std::string folderOf(const std::string& path);

}  // namespace tal
