#include "sim_files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace pk2sim {

std::optional<std::string> readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return std::move(bytes).str();
}

std::string writeFileAtomically(const std::string& path, std::string_view bytes) {
    std::random_device random;
    const std::string temporary = path + ".tmp" + std::to_string(random() % 1000000000u);
    std::FILE* file = std::fopen(temporary.c_str(), "wbx");
    if (!file)
        return "cannot create " + path;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fclose(file) == 0 && ok;
    if (ok)
        ok = std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        std::remove(temporary.c_str());
        return "cannot write " + path;
    }
    return {};
}

std::string programFolder(const char* argv0) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec || self.empty())
        self = fs::absolute(argv0 ? argv0 : "", ec);
    std::string folder = self.parent_path().string();
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        folder += static_cast<char>(fs::path::preferred_separator);
    return folder;
}

}  // namespace pk2sim
