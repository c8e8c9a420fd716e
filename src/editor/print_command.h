#pragma once

#include "editor/printer.h"

namespace tal {

// The size a picture of `picture` screen pixels is printed at on a printable area of `printable`
// printer pixels: as large as the area allows with the picture's proportions, filling the
// page's height when the picture is the narrower of the two, otherwise its width. Each computed
// side is rounded to the nearest pixel. An empty picture prints as nothing.
PixelSize printedPictureSize(PixelSize picture, PixelSize printable);

// "Печать": a picture of the main window on one landscape page of the current printer, at once,
// without a dialog. A printer error passes to the caller before anything is printed.
class PrintCommand {
public:
    explicit PrintCommand(Printer& printer) : m_printer(printer) {}

    void SpeedButton13Click();

private:
    Printer& m_printer;
};

}  // namespace tal
