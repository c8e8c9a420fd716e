#pragma once

#include <QPixmap>
#include <QPointer>
#include <QString>
#include <memory>

#include "editor/printer.h"

class QPainter;
class QPrinter;
class QWidget;

namespace tal {

// The printer layer of the editor: Qt's current printer, kept for the whole run so that its
// landscape setting stays, and a picture of one window.
class QtPrinter : public Printer {
public:
    QtPrinter();
    ~QtPrinter() override;

    // The window whose picture is printed.
    void setWindow(QWidget* window) { m_window = window; }
    // Prints into this PDF file instead of on the current printer.
    void printToFile(const QString& pdfPath);

    void setLandscape() override;
    PixelSize takeWindowPicture() override;
    PixelSize beginJob() override;
    void drawPicture(PixelSize size) override;
    void endJob() override;

private:
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
    QPointer<QWidget> m_window;
    QPixmap m_picture;
};

}  // namespace tal
