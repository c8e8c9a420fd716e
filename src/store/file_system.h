#pragma once

#include <cstddef>
#include <optional>
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
// Reads at most `limit` bytes from the start of the file.
ReadResult readFile(const std::string& path, std::size_t limit = std::string::npos);

enum class WriteStatus { Ok, CreateFailed, WriteFailed };
// Writes the whole file through a temporary file in the same folder that then replaces it,
// so a failed write never leaves a half-written file nor destroys the previous one.
WriteStatus writeFileAtomically(const std::string& path, std::string_view bytes);

bool removeFile(const std::string& path);

// Whether an existing file can be opened for writing; it is neither emptied nor created.
bool canOpenForWriting(const std::string& path);
// Whether writeFileAtomically could create `path`: a temporary file can be made in its folder
// (or, for a device, the device opened for writing). Leaves nothing behind.
bool canCreateFile(const std::string& path);

// Folder of a path, with its trailing separator ("" for a bare name).
std::string folderOf(const std::string& path);

}  // namespace tal
