// Writing and reading the HEX file in-process, with the file system included.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "device/hex_file.h"
#include "store/file_system.h"

namespace tal {
namespace {

Image randomImage() {
    std::mt19937 random(42);
    Image image;
    for (auto& byte : image)
        byte = static_cast<std::uint8_t>(random());
    return image;
}

std::string benchFile(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

void BM_FormatHexFile(benchmark::State& state) {
    const Image image = randomImage();
    for (auto _ : state)
        benchmark::DoNotOptimize(formatHexFile(image));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kHexFileSize));
}
BENCHMARK(BM_FormatHexFile);

void BM_WriteHexFile(benchmark::State& state) {
    const Image image = randomImage();
    const std::string path = benchFile("tal-bench-write.hex");
    for (auto _ : state) {
        if (WriteHexFile(image, path) != HexWriteStatus::Ok)
            state.SkipWithError("write failed");
    }
    removeFile(path);
}
BENCHMARK(BM_WriteHexFile);

// The programmer tool's file: an address line, the data records and the end record, LF ends.
std::string programmerFile(const Image& image) {
    std::string text;
    for (const char c : ":020000040000FA\r\n" + formatHexFile(image))
        if (c != '\r')
            text.push_back(c);
    return text;
}

void BM_DecodeHexText(benchmark::State& state) {
    const std::string text = programmerFile(randomImage());
    Image image{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(decodeHexText(text, image));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DecodeHexText);

void BM_ReadHexFile(benchmark::State& state) {
    const std::string path = benchFile("tal-bench-read.hex");
    if (writeFileAtomically(path, programmerFile(randomImage())) != WriteStatus::Ok) {
        state.SkipWithError("cannot prepare the file");
        return;
    }
    Image image{};
    for (auto _ : state) {
        if (ReadHexFile(path, image) != HexReadStatus::Ok)
            state.SkipWithError("read failed");
        benchmark::ClobberMemory();
    }
    removeFile(path);
}
BENCHMARK(BM_ReadHexFile);

}  // namespace
}  // namespace tal
