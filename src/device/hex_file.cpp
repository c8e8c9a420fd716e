#include "device/hex_file.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "store/file_system.h"

namespace tal {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

// Two upper-case digits for every byte value.
constexpr std::array<std::array<char, 2>, 256> makePairs() {
    std::array<std::array<char, 2>, 256> pairs{};
    for (int value = 0; value < 256; ++value)
        pairs[value] = {kDigits[value >> 4], kDigits[value & 15]};
    return pairs;
}
constexpr auto kPairs = makePairs();

char* putByte(char* out, std::uint8_t value) {
    out[0] = kPairs[value][0];
    out[1] = kPairs[value][1];
    return out + 2;
}

// Value of a hexadecimal digit of either case, or -1.
constexpr std::array<std::int8_t, 256> makeDigitValues() {
    std::array<std::int8_t, 256> values{};
    for (auto& v : values)
        v = -1;
    for (int c = '0'; c <= '9'; ++c)
        values[c] = static_cast<std::int8_t>(c - '0');
    for (int c = 'A'; c <= 'F'; ++c) {
        values[c] = static_cast<std::int8_t>(c - 'A' + 10);
        values[c + ('a' - 'A')] = static_cast<std::int8_t>(c - 'A' + 10);
    }
    return values;
}
constexpr auto kDigitValues = makeDigitValues();

constexpr std::string_view kEndRecord = ":00000001FF\r\n";
static_assert(kEndRecord.size() == 13);

// Data records [first, first + count) into `out`; returns the end of what was written.
char* formatRecords(const Image& image, std::size_t first, std::size_t count, char* out) {
    for (std::size_t k = first; k < first + count; ++k) {
        const std::size_t address = 16 * k;
        const auto high = static_cast<std::uint8_t>(address >> 8);
        const auto low = static_cast<std::uint8_t>(address & 0xFF);
        unsigned sum = 0x10 + high + low;
        *out++ = ':';
        *out++ = '1';
        *out++ = '0';
        out = putByte(out, high);
        out = putByte(out, low);
        *out++ = '0';
        *out++ = '0';
        for (std::size_t i = 0; i < 16; ++i) {
            const std::uint8_t value = image[address + i];
            sum += value;
            out = putByte(out, value);
        }
        out = putByte(out, static_cast<std::uint8_t>(-sum));
        *out++ = '\r';
        *out++ = '\n';
    }
    return out;
}

// The records go out a few pages at a time: a buffer for the whole file would cost a run of
// `tal hex` a fresh page of memory for every 90 records, which is more than their formatting.
constexpr std::size_t kRecordsAtOnce = 256;
static_assert(kHexRecordCount % kRecordsAtOnce == 0);

}  // namespace

bool writeHexText(const Image& image, const ByteSink& sink) {
    std::array<char, kRecordsAtOnce * kHexRecordLength> buffer;
    for (std::size_t first = 0; first < kHexRecordCount; first += kRecordsAtOnce) {
        const char* end = formatRecords(image, first, kRecordsAtOnce, buffer.data());
        if (!sink(std::string_view(buffer.data(), static_cast<std::size_t>(end - buffer.data()))))
            return false;
    }
    return sink(kEndRecord);
}

std::string formatHexFile(const Image& image) {
    std::string text;
    text.reserve(kHexFileSize);
    writeHexText(image, [&text](std::string_view piece) {
        text += piece;
        return true;
    });
    return text;
}

HexWriteStatus WriteHexFile(const Image& image, const std::string& path) {
    int error = 0;
    return WriteHexFile(image, path, error);
}

HexWriteStatus WriteHexFile(const Image& image, const std::string& path, int& error) {
    const ByteSource hexText = [&image](const ByteSink& sink) { return writeHexText(image, sink); };
    switch (writeFileAtomically(path, hexText, error)) {
        case WriteStatus::Ok:
            return HexWriteStatus::Ok;
        case WriteStatus::CreateFailed:
            return HexWriteStatus::CreateFailed;
        case WriteStatus::WriteFailed:
            break;
    }
    return HexWriteStatus::WriteFailed;
}

namespace {

// The byte spelt by the two digits at `pair`, or -1.
int pairValue(const unsigned char* pair) {
    const int high = kDigitValues[pair[0]];
    const int low = kDigitValues[pair[1]];
    return (high | low) < 0 ? -1 : high << 4 | low;
}

// Decodes data record k at `record` into `data`: false unless it is the record the tool writes
// there (its mark, 16 bytes, address 16·k, type 00, a correct checksum, then its line end), so a
// file whose records have shifted (a stray CR) is refused rather than read out of place.
bool decodeRecord(const unsigned char* record, std::size_t k, bool lf, std::uint8_t* data) {
    if (record[0] != ':')
        return false;
    const std::size_t address = 16 * k;
    const int count = pairValue(record + 1);
    const int high = pairValue(record + 3);
    const int low = pairValue(record + 5);
    const int type = pairValue(record + 7);
    if (count != 0x10 || high != int(address >> 8) || low != int(address & 0xFF) || type != 0)
        return false;
    unsigned sum = static_cast<unsigned>(count + high + low + type);
    for (std::size_t i = 0; i < 16; ++i) {
        const int value = pairValue(record + 9 + 2 * i);
        if (value < 0)
            return false;
        data[i] = static_cast<std::uint8_t>(value);
        sum += static_cast<unsigned>(value);
    }
    const int checksum = pairValue(record + 41);
    if (checksum < 0 || (sum + static_cast<unsigned>(checksum)) % 256 != 0)
        return false;
    return lf ? record[43] == '\n' : record[43] == '\r' && record[44] == '\n';
}

}  // namespace

bool HexRecordReader::take(std::string_view piece) {
    const auto* next = reinterpret_cast<const unsigned char*>(piece.data());
    const auto* end = next + piece.size();
    while (next < end && !m_refused && !complete()) {
        if (m_skip > 0) {
            const auto skipped = std::min<std::size_t>(m_skip, end - next);
            m_skip -= skipped;
            next += skipped;
        } else if (const std::size_t size = unitSize();
                   m_gathered == 0 && static_cast<std::size_t>(end - next) >= size) {
            takeUnit(next);  // whole in this piece: no copy
            next += size;
        } else {
            const auto taken = std::min<std::size_t>(size - m_gathered, end - next);
            std::copy_n(next, taken, m_unit.begin() + m_gathered);
            m_gathered += taken;
            next += taken;
            if (m_gathered == size) {
                m_gathered = 0;
                takeUnit(m_unit.data());
            }
        }
    }
    return !m_refused;
}

// The first line is taken with the byte after it, which tells LF from CR LF.
std::size_t HexRecordReader::unitSize() const {
    if (!m_layoutKnown)
        return kHexFirstLineLength + 1;
    return m_lf ? 44 : 45;
}

void HexRecordReader::takeUnit(const unsigned char* unit) {
    if (!m_layoutKnown) {
        m_layoutKnown = true;
        m_lf = unit[kHexFirstLineLength] == '\n';
        m_skip = m_lf ? 0 : 1;  // the LF of the first line's CR LF
        return;
    }
    if (!decodeRecord(unit, m_record, m_lf, m_image.data() + 16 * m_record)) {
        m_refused = true;
        return;
    }
    ++m_record;
}

HexReadStatus decodeHexText(std::string_view text, Image& image) {
    Image decoded;
    HexRecordReader reader(decoded);
    if (!reader.take(text) || !reader.complete())
        return HexReadStatus::ReadFailed;
    image = decoded;
    return HexReadStatus::Ok;
}

HexReadStatus ReadHexFile(const std::string& path, Image& image) {
    Image decoded;
    HexRecordReader reader(decoded);
    // A few pages at a time, as the export file is written.
    std::array<char, 16384> buffer;
    const ReadStatus read =
        readFileInPieces(path, kHexMinimumSizeCrLf, buffer,
                         [&reader](std::string_view piece) { return reader.take(piece); });
    if (read == ReadStatus::OpenFailed)
        return HexReadStatus::OpenFailed;
    if (read == ReadStatus::ReadFailed || !reader.complete())
        return HexReadStatus::ReadFailed;
    image = decoded;
    return HexReadStatus::Ok;
}

}  // namespace tal
