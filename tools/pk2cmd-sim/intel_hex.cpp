#include "intel_hex.h"

#include <vector>

namespace pk2sim {
namespace {

int digitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

ParseResult failure(std::size_t lineNumber, const std::string& what) {
    return {false, "line " + std::to_string(lineNumber) + ": " + what, 0};
}

void putByte(std::string& out, unsigned value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out.push_back(kDigits[(value >> 4) & 15]);
    out.push_back(kDigits[value & 15]);
}

}  // namespace

ParseResult applyIntelHex(std::string_view text, Eeprom& memory) {
    Eeprom result = memory;
    std::size_t dataBytes = 0;
    std::uint32_t base = 0;
    std::size_t lineNumber = 0;
    std::size_t position = 0;
    while (position < text.size()) {
        std::size_t end = text.find('\n', position);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(position, end - position);
        position = end + 1;
        ++lineNumber;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        if (line.empty())
            continue;
        if (line.front() != ':')
            return failure(lineNumber, "a record must start with ':'");
        line.remove_prefix(1);
        if (line.size() % 2 != 0 || line.size() < 10)
            return failure(lineNumber, "bad record length");
        std::vector<std::uint8_t> bytes;
        for (std::size_t i = 0; i < line.size(); i += 2) {
            const int high = digitValue(line[i]);
            const int low = digitValue(line[i + 1]);
            if (high < 0 || low < 0)
                return failure(lineNumber, "not a hexadecimal digit");
            bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
        }
        const std::size_t count = bytes[0];
        if (bytes.size() != count + 5)
            return failure(lineNumber, "byte count does not match the record");
        unsigned sum = 0;
        for (const auto b : bytes)
            sum += b;
        if (sum % 256 != 0)
            return failure(lineNumber, "checksum error");
        const std::uint32_t address = bytes[1] * 256u + bytes[2];
        const std::uint8_t* data = bytes.data() + 4;
        switch (bytes[3]) {
            case 0x00:
                for (std::size_t i = 0; i < count; ++i) {
                    const std::uint32_t at = base + address + static_cast<std::uint32_t>(i);
                    if (at >= kEepromSize)
                        return failure(lineNumber, "address beyond the 25LC512 memory");
                    result[at] = data[i];
                }
                dataBytes += count;
                break;
            case 0x01:
                if (count != 0)
                    return failure(lineNumber, "bad end-of-file record");
                memory = result;
                return {true, {}, dataBytes};
            case 0x02:
            case 0x04:
                if (count != 2)
                    return failure(lineNumber, "bad extended address record");
                base = (data[0] * 256u + data[1]) << (bytes[3] == 0x02 ? 4 : 16);
                break;
            default:
                return failure(lineNumber, "unsupported record type");
        }
    }
    return failure(lineNumber, "no end-of-file record");
}

std::string formatIntelHex(const Eeprom& memory, bool crlf) {
    const std::string_view lineEnd = crlf ? "\r\n" : "\n";
    std::string out;
    out.reserve(16 + (kEepromSize / 16) * 45 + 13);
    out += ":020000040000FA";
    out += lineEnd;
    for (std::size_t address = 0; address < kEepromSize; address += 16) {
        unsigned sum = 0x10 + (address >> 8) + (address & 0xFF);
        out += ":10";
        putByte(out, static_cast<unsigned>(address >> 8));
        putByte(out, static_cast<unsigned>(address & 0xFF));
        out += "00";
        for (std::size_t i = 0; i < 16; ++i) {
            sum += memory[address + i];
            putByte(out, memory[address + i]);
        }
        putByte(out, (256 - sum % 256) % 256);
        out += lineEnd;
    }
    out += ":00000001FF";
    out += lineEnd;
    return out;
}

}  // namespace pk2sim
