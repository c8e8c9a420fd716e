// How long the editor takes with a full memory image: 256 programs in 2,014 slots, the first ones
// as long as a program can be. The times are printed for the record; nothing here depends on them.

#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <sstream>

#include "store/editing_tables.h"
#include "store/image_file.h"
#include "store/memory_image.h"
#include "support/fake_desktop.h"
#include "ui/main_window.h"
#include "ui/program_grid.h"
#include "ui_fixture.h"
#include "workbench/workbench.h"

namespace tal::test {
namespace {

constexpr int kPrograms = kProgramCount;
constexpr int kLongest = kMaxProgramLines;
// Every slot that can be handed out: the longest programs first, then one line a program.
constexpr int kLines = kSlotCount - 1 - kPrograms;
constexpr int kLongPrograms = kLines / kLongest;
static_assert(kLines - kLongPrograms * kLongest <= kPrograms - kLongPrograms);

int lineCount(int program) {
    if (program < kLongPrograms)
        return kLongest;
    return program - kLongPrograms < kLines - kLongPrograms * kLongest ? 1 : 0;
}

std::string lineJson(int i) {
    std::ostringstream line;
    line << R"({"Param 1": )" << 1000 + (i % 20) * 50 << R"(, "Param 2": 200, "Param 3": "по ч/с",)"
         << R"( "Param 4": )" << 100 + i << R"(, "Param 5": ")" << (i % 2 ? "влево" : "вправо")
         << R"(", "Param 6": 12.5, "Param 7": 58.25, "Param 8": 0.355, "Param 9": "нет",)"
         << R"( "Param 10": 0, "Param 11": 12.5, "Param 12": "нет", "Param 13": "по ч/с",)"
         << R"( "Param 14": 0, "Param 15": 0.5, "Param 16": 0, "Param 17": 0, "Param 18": 0,)"
         << R"( "Param 19": "нет"})";
    return line.str();
}

std::string fullImageJson() {
    std::ostringstream json;
    json << R"({"programs": [)";
    for (int p = 0; p < kPrograms; ++p) {
        json << (p ? "," : "") << R"({"ProgNum": )" << p
             << R"(, "Param 01": "слева", "Param 02": 12.5, "Param 03": "программное",)"
             << R"( "Param 04": 2, "Param 05": 3, "Remark": "Программа )" << p
             << R"(", "lines": [)";
        const int count = lineCount(p);
        for (int i = 0; i < count; ++i)
            json << (i ? "," : "") << lineJson(i);
        json << "]}";
    }
    json << "]}";
    return json.str();
}

}  // namespace
}  // namespace tal::test

using namespace tal;
using namespace tal::test;

class ResponsivenessTest : public QObject {
    Q_OBJECT
private slots:
    void aFullImage() {
        RunningEditor r;
        QElapsedTimer build;
        build.start();
        const std::string path = r.workspace.buildWorkingFile("full", fullImageJson());
        QVERIFY(!path.empty());
        const qint64 buildMs = build.elapsed();

        QElapsedTimer timer;
        timer.start();
        r.open(path);
        const qint64 openMs = timer.elapsed();
        QCOMPARE(r.headers().recordCount(), kPrograms);
        QCOMPARE(r.form()->DBGrid1()->model()->rowCount(), kLongest);

        ProgramGrid* headers = r.form()->DBGrid0();
        qint64 slowestMove = 0;
        timer.start();
        for (int i = 1; i < kPrograms; ++i) {
            QElapsedTimer move;
            move.start();
            QTest::keyClick(headers, Qt::Key_Down);
            settle();
            slowestMove = std::max(slowestMove, move.elapsed());
        }
        const qint64 walkMs = timer.elapsed();
        QCOMPARE(r.headers().asInteger(hdr::ProgNum), kPrograms - 1);
        QCOMPARE(headers->currentIndex().row(), kPrograms - 1);

        QTest::keyClick(headers, Qt::Key_Home, Qt::ControlModifier);
        settle();
        QCOMPARE(r.headers().asInteger(hdr::ProgNum), 0);
        ModalScript script;
        script.then(
            [](QWidget* w) { qobject_cast<QMessageBox*>(w)->button(QMessageBox::Yes)->click(); });
        timer.start();
        r.clickButton(9);
        const qint64 deleteMs = timer.elapsed();
        QVERIFY(script.done());
        QCOMPARE(r.headers().recordCount(), kPrograms - 1);
        QCOMPARE(r.form()->DBGrid0()->model()->rowCount(), kPrograms - 1);

        // The same delete on the core alone, without windows.
        FakeDesktop fake;
        Workbench bench(fake);
        QCOMPARE(readImageFile(path, bench.state().currentImage), ImageReadStatus::Ok);
        bench.store().LoadImage(path);
        QVERIFY(fake.messages.empty());
        QCOMPARE(int(bench.store().FindFreeSlot()), kSlotCount);  // full: no slot to hand out
        fake.focus = Grid::Headers;
        fake.messageAnswers.push_back(MessageAnswer::Yes);
        timer.start();
        bench.gridCommands().SpeedButton9Click();
        const qint64 coreDeleteMs = timer.elapsed();
        QCOMPARE(bench.store().headers().recordCount(), kPrograms - 1);
        QVERIFY(fake.unusedAnswers().empty());

        qInfo(
            "full image (%d programs, longest %d lines): tal build %lld ms; open %lld ms; "
            "moving through the headers %lld ms (%d moves, slowest %lld ms); deleting the "
            "longest program %lld ms with the question answered by script, %lld ms of the same "
            "delete in the core alone",
            kPrograms, kLongest, buildMs, openMs, walkMs, kPrograms - 1, slowestMove, deleteMs,
            coreDeleteMs);
    }
};

int runResponsivenessTests(int argc, char** argv) {
    ResponsivenessTest test;
    return runTestObject(test, argc, argv);
}

#include "responsiveness_test.moc"
