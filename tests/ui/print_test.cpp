// "Печать" on the running editor, through the editor's own printer layer into a PDF file.

#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include "ui/main_window.h"
#include "ui_fixture.h"

namespace tal::test {
namespace {

const char* kPrograms = R"({"programs": [
  {"ProgNum": 3, "Remark": "Печать", "lines": [{"Param 1": 1200}, {"Param 1": 800}]}
]})";

// What a PDF file says about its pages and pictures, read from its object dictionaries.
struct PdfSummary {
    int pages = 0;
    QList<QSizeF> pageSizes;  // points
    QList<QSize> images;      // pixels
};

PdfSummary readPdf(const QString& path) {
    QFile file(path);
    PdfSummary summary;
    if (!file.open(QIODevice::ReadOnly))
        return summary;
    const QString text = QString::fromLatin1(file.readAll());
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    summary.pages = static_cast<int>(text.count(page));
    static const QRegularExpression box(QStringLiteral(
        "/MediaBox\\s*\\[\\s*([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s*\\]"));
    for (auto it = box.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        summary.pageSizes << QSizeF(m.captured(3).toDouble() - m.captured(1).toDouble(),
                                    m.captured(4).toDouble() - m.captured(2).toDouble());
    }
    static const QRegularExpression image(
        QStringLiteral("<<[^<>]*/Subtype\\s*/Image[^<>]*>>"));
    static const QRegularExpression width(QStringLiteral("/Width\\s+(\\d+)"));
    static const QRegularExpression height(QStringLiteral("/Height\\s+(\\d+)"));
    for (auto it = image.globalMatch(text); it.hasNext();) {
        const QString dictionary = it.next().captured();
        summary.images << QSize(width.match(dictionary).captured(1).toInt(),
                                height.match(dictionary).captured(1).toInt());
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

        // Printing again keeps the landscape setting.
        QVERIFY(QFile::remove(pdf));
        r.clickButton(13);
        const PdfSummary again = readPdf(pdf);
        QCOMPARE(again.pages, 1);
        QVERIFY(again.pageSizes.value(0).width() > again.pageSizes.value(0).height());
    }
};

int runPrintTests(int argc, char** argv) {
    PrintTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "print_test.moc"
