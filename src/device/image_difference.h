#pragma once

#include <cstddef>
#include <string>

#include "editor/image.h"

namespace tal {

// How the machine's memory read back differs from the image that was sent.
struct ImageDifference {
    std::size_t count = 0;         // bytes that differ
    std::size_t firstAddress = 0;  // the lowest of them; meaningless when none differs

    bool equal() const { return count == 0; }
};

ImageDifference compareImages(const Image& sent, const Image& read);

// "первый отличающийся адрес 0x01A0, отличающихся байтов: 3"
std::string describeDifference(const ImageDifference& difference);

}  // namespace tal
