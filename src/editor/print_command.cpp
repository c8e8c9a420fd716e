#include "editor/print_command.h"

#include <cstdint>

namespace tal {
namespace {

// a · b / c rounded to the nearest whole number, halves up, for positive numbers.
int scaled(int a, int b, int c) {
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    return static_cast<int>((2 * product + c) / (2 * static_cast<std::int64_t>(c)));
}

}  // namespace

PixelSize printedPictureSize(PixelSize picture, PixelSize printable) {
    if (picture.width <= 0 || picture.height <= 0)
        return {};
    const int width = scaled(picture.width, printable.height, picture.height);
    if (width < printable.width)
        return {width, printable.height};
    return {printable.width, scaled(picture.height, printable.width, picture.width)};
}

void PrintCommand::SpeedButton13Click() {
    m_printer.setLandscape();
    const PixelSize picture = m_printer.takeWindowPicture();
    const PixelSize printable = m_printer.beginJob();
    m_printer.drawPicture(printedPictureSize(picture, printable));
    m_printer.endJob();
}

}  // namespace tal
