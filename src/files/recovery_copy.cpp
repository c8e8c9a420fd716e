#include "files/recovery_copy.h"

#include <array>
#include <cstring>

namespace tal {
namespace {

constexpr std::string_view kMagic = "TALRCV01";
// The longest remarks file: 256 records of 100 bytes; a name longer than a path can be is damage.
constexpr std::uint32_t kMaxRemarks = 256 * 100;
constexpr std::uint32_t kMaxName = 64 * 1024;

constexpr std::array<std::uint32_t, 256> makeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

std::uint32_t crc32(std::string_view bytes) {
    static constexpr auto table = makeCrcTable();
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char byte : bytes)
        c = table[(c ^ static_cast<std::uint8_t>(byte)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void put(std::string& out, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Reads the fields in order; any read past the end fails every later one.
class Reader {
public:
    explicit Reader(std::string_view bytes) : m_bytes(bytes) {}
    std::uint64_t number(int size) {
        if (!take(static_cast<std::size_t>(size)))
            return 0;
        std::uint64_t value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = (value << 8) | static_cast<std::uint8_t>(m_bytes[m_pos - size + i]);
        return value;
    }
    std::string_view bytes(std::size_t size) {
        return take(size) ? m_bytes.substr(m_pos - size, size) : std::string_view();
    }
    bool ok() const { return m_ok; }
    std::size_t position() const { return m_pos; }

private:
    bool take(std::size_t size) {
        if (!m_ok || m_bytes.size() - m_pos < size)
            return m_ok = false;
        m_pos += size;
        return true;
    }
    std::string_view m_bytes;
    std::size_t m_pos = 0;
    bool m_ok = true;
};

}  // namespace

std::string encodeRecoveryCopy(const RecoveryCopy& copy) {
    std::string out(kMagic);
    put(out, static_cast<std::uint64_t>(copy.savedAt), 8);
    put(out, copy.workingFileName.size(), 4);
    out += copy.workingFileName;
    put(out, copy.remarksFile.size(), 4);
    out += copy.remarksFile;
    out.append(reinterpret_cast<const char*>(copy.image.data()), copy.image.size());
    put(out, crc32(out), 4);
    return out;
}

std::optional<RecoveryCopy> decodeRecoveryCopy(std::string_view bytes) {
    Reader in(bytes);
    RecoveryCopy copy;
    if (in.bytes(kMagic.size()) != kMagic)
        return std::nullopt;
    copy.savedAt = static_cast<std::int64_t>(in.number(8));
    const auto nameSize = static_cast<std::uint32_t>(in.number(4));
    if (nameSize > kMaxName)
        return std::nullopt;
    copy.workingFileName = std::string(in.bytes(nameSize));
    const auto remarksSize = static_cast<std::uint32_t>(in.number(4));
    if (remarksSize > kMaxRemarks)
        return std::nullopt;
    copy.remarksFile = std::string(in.bytes(remarksSize));
    const std::string_view image = in.bytes(copy.image.size());
    const std::size_t checked = in.position();
    const auto crc = static_cast<std::uint32_t>(in.number(4));
    if (!in.ok() || in.position() != bytes.size() || crc != crc32(bytes.substr(0, checked)))
        return std::nullopt;
    std::memcpy(copy.image.data(), image.data(), image.size());
    return copy;
}

}  // namespace tal
