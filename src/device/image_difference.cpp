#include "device/image_difference.h"

#include <cstdio>

namespace tal {

ImageDifference compareImages(const Image& sent, const Image& read) {
    ImageDifference difference;
    for (std::size_t address = kImageSize; address-- > 0;) {
        if (sent[address] != read[address]) {
            ++difference.count;
            difference.firstAddress = address;
        }
    }
    return difference;
}

std::string describeDifference(const ImageDifference& difference) {
    char address[8];
    std::snprintf(address, sizeof address, "0x%04zX", difference.firstAddress);
    return std::string("первый отличающийся адрес ") + address +
           ", отличающихся байтов: " + std::to_string(difference.count);
}

}  // namespace tal
