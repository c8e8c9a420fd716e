#include "store/image_file.h"

#include "store/file_system.h"

namespace tal {
namespace {

ImageReadStatus readImage(const std::string& path, Image& image, bool exactSize) {
    // Straight into the image: the fresh pages of a copy cost a short run of `tal` more than the
    // read itself.
    const StartRead read =
        readFileStart(path, std::span(reinterpret_cast<char*>(image.data()), image.size()));
    if (read.status == ReadStatus::OpenFailed)
        return ImageReadStatus::OpenFailed;
    if (exactSize && read.status == ReadStatus::Ok && (read.size != kImageSize || read.longer))
        return ImageReadStatus::WrongSize;
    if (read.status == ReadStatus::ReadFailed || read.size < kImageSize)
        return ImageReadStatus::ReadFailed;
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
