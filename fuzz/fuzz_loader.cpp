// Loads any 64 KB image with any remarks file, then stores it again: never a crash, a hang or
// an access out of range.

#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <string>

#include "bench/bench_desktop.h"
#include "store/file_system.h"
#include "store/memory_image.h"
#include "workbench/workbench.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string folder = "/dev/shm/tal-fuzz-loader-" + std::to_string(::getpid());
    static tal::bench::BenchDesktop desktop;
    static tal::Workbench bench(desktop);
    tal::Image image = tal::makeBlankImage();
    const std::size_t imageBytes = std::min(size, image.size());
    std::copy_n(data, imageBytes, image.begin());
    const std::string remarks(reinterpret_cast<const char*>(data) + imageBytes, size - imageBytes);
    tal::writeFileAtomically(folder + ".txt", remarks);

    bench.store().setBlankImageReader([] {
        bench.state().currentImage = tal::makeBlankImage();
        return true;
    });
    bench.state().currentImage = image;
    bench.store().LoadImage(folder + ".bin");
    try {
        bench.store().StoreImage(folder + ".bin");
    } catch (const tal::StoreError&) {
    }
    return 0;
}
