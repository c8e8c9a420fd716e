#pragma once

namespace tal {

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

// The printer layer the print command works through: the current printer and a picture of the
// main window. Its errors (no usable printer, ...) are thrown with a text for the operator.
class Printer {
public:
    virtual ~Printer() = default;

    // Turns the current printer's pages to landscape, for the rest of the run.
    virtual void setLandscape() = 0;
    // Takes a picture of the main window's client area as it is drawn now; gives its size in
    // screen pixels.
    virtual PixelSize takeWindowPicture() = 0;
    // Starts a print job on the current printer; gives the printable area in printer pixels.
    virtual PixelSize beginJob() = 0;
    // Draws the picture once, its top-left corner at that of the printable area, stretched.
    virtual void drawPicture(PixelSize size) = 0;
    virtual void endJob() = 0;
};

}  // namespace tal
