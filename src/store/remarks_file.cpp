#include "store/remarks_file.h"

#include "store/editing_tables.h"
#include "store/text.h"

namespace tal {

std::string RemarksReader::next() {
    std::string record;
    for (int read = 0; read < kRemarkLength + 1 && m_pos < m_bytes.size(); ++read) {
        const char byte = m_bytes[m_pos++];
        if (byte == '\0')
            break;
        record += byte;
    }
    return utf8Truncate(decodeCp1251(record), kRemarkLength);
}

std::optional<std::string> encodeRemarks(const std::vector<std::string>& remarks,
                                         std::size_t* badIndex) {
    std::string bytes;
    for (std::size_t i = 0; i < remarks.size(); ++i) {
        auto encoded = encodeCp1251(utf8Truncate(remarks[i], kRemarkLength));
        if (!encoded || encoded->find('\0') != std::string::npos) {
            if (badIndex)
                *badIndex = i;
            return std::nullopt;
        }
        bytes += *encoded;
        bytes += '\0';
    }
    return bytes;
}

}  // namespace tal
