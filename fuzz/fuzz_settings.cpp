// Reads any settings file: never a crash, and the three settings written back give the very
// bytes of their lines, so reading and writing TAL.cfg loses nothing.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "files/settings_file.h"
#include "store/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const tal::SettingsStrings settings = tal::parseSettingsFile(bytes);
    std::string written;
    for (const std::string* setting :
         {&settings.machineModel, &settings.programsFolder, &settings.programmerFolder}) {
        const auto encoded = tal::encodeCp1251(*setting);
        if (!encoded)
            std::abort();
        written += *encoded + '\n';
    }
    // The first three lines of the input, each ended by LF.
    std::string expected;
    std::size_t start = 0;
    for (int line = 0; line < 3; ++line) {
        const std::size_t end = bytes.find('\n', start);
        expected +=
            std::string(bytes.substr(
                start, end == std::string_view::npos ? std::string_view::npos : end - start)) +
            '\n';
        start = end == std::string_view::npos ? bytes.size() : end + 1;
    }
    if (written != expected)
        std::abort();
    return 0;
}
