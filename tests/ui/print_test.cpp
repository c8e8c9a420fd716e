// "Печать" on the running editor, through the editor's own printer layer into a PDF file.

#include <QFile>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>

#include "ui/error_report.h"
#include "ui/main_window.h"
#include "ui_fixture.h"

namespace tal::test {
namespace {

const char* kPrograms = R"({"programs": [
  {"ProgNum": 3, "Remark": "Печать", "lines": [{"Param 1": 1200}, {"Param 1": 800}]}
]})";

// What a PDF file of Qt's writer says about its pages and pictures, read from its object
// dictionaries and its page contents.
struct PdfSummary {
    int pages = 0;
    QList<QSizeF> pageSizes;  // points
    QList<QSize> images;      // pixels
    QRectF drawn;             // where the first picture is drawn, points from the top left
};

// The page contents: printer pixels are mapped to points (`s 0 0 -s left top cm`), then the
// picture is stretched (`sx 0 0 sy 0 0 cm`) and drawn at its own size in pixels.
QRectF drawnPicture(const QByteArray& contents) {
    static const QRegularExpression device(
        QStringLiteral("([\\d.]+) 0 0 -[\\d.]+ ([\\d.]+) ([\\d.]+) cm"));
    static const QRegularExpression picture(
        QStringLiteral("([\\d.]+) 0 0 ([\\d.]+) 0 0 cm\\s*(\\d+) 0 0 -(\\d+) 0 \\d+ cm /Im"));
    const QString text = QString::fromLatin1(contents);
    const auto d = device.match(text);
    const auto p = picture.match(text);
    if (!d.hasMatch() || !p.hasMatch())
        return {};
    const double scale = d.captured(1).toDouble();
    return QRectF(d.captured(2).toDouble(), 0,
                  scale * p.captured(1).toDouble() * p.captured(3).toDouble(),
                  scale * p.captured(2).toDouble() * p.captured(4).toDouble());
}

PdfSummary readPdf(const QString& path) {
    QFile file(path);
    PdfSummary summary;
    if (!file.open(QIODevice::ReadOnly))
        return summary;
    const QByteArray bytes = file.readAll();
    const QString text = QString::fromLatin1(bytes);
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    summary.pages = static_cast<int>(text.count(page));
    static const QRegularExpression box(QStringLiteral(
        "/MediaBox\\s*\\[\\s*([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s*\\]"));
    for (auto it = box.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        summary.pageSizes << QSizeF(m.captured(3).toDouble() - m.captured(1).toDouble(),
                                    m.captured(4).toDouble() - m.captured(2).toDouble());
    }
    static const QRegularExpression image(QStringLiteral("<<[^<>]*/Subtype\\s*/Image[^<>]*>>"));
    static const QRegularExpression width(QStringLiteral("/Width\\s+(\\d+)"));
    static const QRegularExpression height(QStringLiteral("/Height\\s+(\\d+)"));
    for (auto it = image.globalMatch(text); it.hasNext();) {
        const QString dictionary = it.next().captured();
        summary.images << QSize(width.match(dictionary).captured(1).toInt(),
                                height.match(dictionary).captured(1).toInt());
    }
    static const QRegularExpression stream(QStringLiteral("/FlateDecode\\s*>>\\s*stream\\r?\\n"));
    for (auto it = stream.globalMatch(text); it.hasNext() && summary.drawn.isNull();) {
        const auto m = it.next();
        const qsizetype end = bytes.indexOf("endstream", m.capturedEnd());
        // qUncompress wants the length first; it grows its buffer when the guess is short.
        QByteArray deflated("\x00\x01\x00\x00", 4);
        deflated += bytes.mid(m.capturedEnd(), end - m.capturedEnd());
        summary.drawn = drawnPicture(qUncompress(deflated));
    }
    return summary;
}

}  // namespace
}  // namespace tal::test

using namespace tal;
using namespace tal::test;

class PrintTest : public QObject {
    Q_OBJECT
private slots:
    void printingPutsThePictureOfTheWindowOnOneLandscapePage() {
        RunningEditor r;
        r.open(r.workspace.buildWorkingFile("print", kPrograms));
        const QString pdf = QString::fromStdString(r.workspace.path("printed.pdf"));
        r.editor->printer().printToFile(pdf);
        r.form()->resize(900, 500);
        settle();
        const QSize window = r.form()->grab().deviceIndependentSize().toSize();
        ModalScript script;  // no dialog and no message may come up
        r.clickButton(13);
        QVERIFY(script.done());

        const PdfSummary printed = readPdf(pdf);
        QCOMPARE(printed.pages, 1);
        QCOMPARE(printed.pageSizes.size(), 1);
        QVERIFY2(printed.pageSizes[0].width() > printed.pageSizes[0].height(), "not landscape");
        QCOMPARE(printed.images, QList<QSize>{window});
        // The window is wider than the page: the picture fills the width between the margins,
        // keeps its proportions, and leaves paper free at the bottom.
        const QSizeF page = printed.pageSizes[0];
        const QRectF drawn = printed.drawn;
        QVERIFY2(drawn.left() > 0, "the picture was not found on the page");
        QVERIFY(qAbs(drawn.width() - (page.width() - 2 * drawn.left())) < 0.5);
        QVERIFY(qAbs(drawn.height() - drawn.width() * window.height() / window.width()) < 0.5);
        QVERIFY(drawn.height() < page.height() - 2 * drawn.left() - 10);

        // Printing again keeps the landscape setting.
        QVERIFY(QFile::remove(pdf));
        r.clickButton(13);
        const PdfSummary again = readPdf(pdf);
        QCOMPARE(again.pages, 1);
        QVERIFY(again.pageSizes.value(0).width() > again.pageSizes.value(0).height());
    }

    // Without a printer Qt's printer falls back to a PDF file that nobody named.
    void withoutAPrinterTheErrorIsReportedAndNothingIsPrinted() {
        RunningEditor r;
        r.editor->printer().printToFile(QString());
        QStringList reports;
        ModalScript script;
        script.then([&](QWidget* w) {
            reports << w->windowTitle() + ": " + messageText(w);
            clickMessageButton(w, QMessageBox::Ok);
        });
        r.clickButton(13);
        QVERIFY(script.done());
        QCOMPARE(reports,
                 QStringList({QString::fromUtf8(kApplicationTitle) + ": Принтер не выбран."}));
        // The editor goes on: a printer named afterwards prints.
        const QString pdf = QString::fromStdString(r.workspace.path("later.pdf"));
        r.editor->printer().printToFile(pdf);
        r.clickButton(13);
        QCOMPARE(readPdf(pdf).pages, 1);
    }
};

int runPrintTests(int argc, char** argv) {
    PrintTest test;
    return runTestObject(test, argc, argv);
}

#include "print_test.moc"
