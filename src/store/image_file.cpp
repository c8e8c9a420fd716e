#include "store/image_file.h"

#include <algorithm>

#include "store/file_system.h"

namespace tal {
namespace {

ImageReadStatus readImage(const std::string& path, Image& image, bool exactSize) {
    // One byte more than an image tells a longer file apart.
    const ReadResult read = readFile(path, kImageSize + 1);
    if (read.status == ReadStatus::OpenFailed)
        return ImageReadStatus::OpenFailed;
    if (exactSize && read.status == ReadStatus::Ok && read.bytes.size() != kImageSize)
        return ImageReadStatus::WrongSize;
    if (read.status == ReadStatus::ReadFailed || read.bytes.size() < kImageSize)
        return ImageReadStatus::ReadFailed;
    std::copy_n(read.bytes.begin(), kImageSize, image.begin());
    return ImageReadStatus::Ok;
}

}  // namespace

ImageReadStatus readImageFile(const std::string& path, Image& image) {
    return readImage(path, image, true);
}

ImageReadStatus readBlankImageFile(const std::string& path, Image& image) {
    return readImage(path, image, false);
}

}  // namespace tal
