#include "ui/qt_printer.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QWidget>
#include <stdexcept>

namespace tal {

QtPrinter::QtPrinter() : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

QtPrinter::~QtPrinter() {
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

void QtPrinter::printToFile(const QString& pdfPath) {
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setOutputFileName(pdfPath);
}

void QtPrinter::setLandscape() {
    m_printer->setPageOrientation(QPageLayout::Landscape);
}

PixelSize QtPrinter::takeWindowPicture() {
    m_picture = m_window ? m_window->grab() : QPixmap();
    const QSize size = m_picture.deviceIndependentSize().toSize();
    return {size.width(), size.height()};
}

PixelSize QtPrinter::beginJob() {
    // A job that failed half-way is over.
    if (m_painter && m_painter->isActive())
        m_painter->end();
    // Without a printer Qt falls back to writing a PDF file; with no file named there is nowhere
    // to print.
    const bool toFile = m_printer->outputFormat() == QPrinter::PdfFormat;
    if (toFile ? m_printer->outputFileName().isEmpty() : !m_printer->isValid())
        throw std::runtime_error("Принтер не выбран");
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_printer.get())) {
        const QString name = toFile ? m_printer->outputFileName() : m_printer->printerName();
        throw std::runtime_error(("Ошибка печати на «" + name + "»").toStdString());
    }
    const QRect printable = m_printer->pageLayout().paintRectPixels(m_printer->resolution());
    return {printable.width(), printable.height()};
}

void QtPrinter::drawPicture(PixelSize size) {
    // The painter's origin is the top-left corner of the printable area.
    m_painter->drawPixmap(QRect(0, 0, size.width, size.height), m_picture);
}

void QtPrinter::endJob() {
    m_painter->end();
    m_painter.reset();
}

}  // namespace tal
