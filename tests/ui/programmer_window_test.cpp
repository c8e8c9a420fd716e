#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <optional>

#include "ui/main_window.h"
#include "ui/programmer_window.h"
#include "ui_fixture.h"

namespace tal::test {
namespace {

// Program 3 with one line, within the limits of ТАЛ-1.
const char* kPrograms = R"({"programs": [{"ProgNum": 3, "lines": [
    {"Param 1": 1200, "Param 2": 100, "Param 4": 50, "Param 8": 0.1}]}]})";

QString shownText(const ProgrammerWindow* window) {
    return window->output()->toPlainText();
}

// Sets an environment variable for the tools started while it lives.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const char* value) : m_name(name) {
        qputenv(name, value);
    }
    ~EnvironmentVariable() { qunsetenv(m_name); }

private:
    const char* m_name;
};

}  // namespace
}  // namespace tal::test

using namespace tal;
using namespace tal::test;

class ProgrammerWindowTest : public QObject {
    Q_OBJECT
private slots:
    // The arguments reach the tool as a list, whatever they hold; both of its outputs and its
    // exit code reach the window, and the exit code the logic.
    void theToolRunsWithItsArgumentsAndItsOutputIsShown() {
        Workspace workspace;
        const std::string folder = workspace.path("tool");
        QDir().mkpath(QString::fromStdString(folder));
        ProgrammerWindow window;
        QtDesktop desktop;
        desktop.attachProgrammerWindow(&window);

        std::optional<ProgramExit> end;
        const ProgramLaunch launch{
            "/bin/sh",
            {"-c", "printf '%s\\n' \"$1\"; pwd; printf 'no device' >&2; exit 3", "sh",
             "/F/a b/\"c\".hex"},
            folder};
        QVERIFY(desktop.runProgram(launch, [&](const ProgramExit& exit) { end = exit; }));
        QVERIFY(window.isVisible());
        QTRY_VERIFY(end.has_value());
        QCOMPARE(end->crashed, false);
        QCOMPARE(end->exitCode, 3);
        const QStringList lines = shownText(&window).split(QLatin1Char('\n'));
        QVERIFY2(lines.contains(QString::fromStdString("/F/a b/\"c\".hex")),
                 qPrintable(lines.join(QLatin1Char('|'))));
        QVERIFY(lines.contains(QFileInfo(QString::fromStdString(folder)).canonicalFilePath()));
        QVERIFY(lines.contains("no device"));  // a last line without its line end
        QVERIFY(lines.first().startsWith("Запуск: /bin/sh -c "));
        QCOMPARE(lines.last(), QString("Программатор завершил работу с ошибкой (код 3)"));

        // The next run clears the window; a tool that is not there does not start.
        bool called = false;
        const std::string missing = folder + "/PK2CMD.exe";
        QVERIFY(!desktop.runProgram({missing, {"/P25LC512"}, folder},
                                    [&](const ProgramExit&) { called = true; }));
        QCOMPARE(shownText(&window).split(QLatin1Char('\n')).last(),
                 QString::fromStdString("Программатор не запустился: нет файла " + missing));
        QVERIFY(!shownText(&window).contains("no device"));
        QTest::qWait(50);
        QVERIFY(!called);
    }

    void theStopButtonEndsTheTool() {
        ProgrammerWindow window;
        std::optional<ProgramExit> end;
        QVERIFY(!window.stopButton()->isEnabled());
        QVERIFY(window.run({"/bin/sleep", {"30"}, ""}, [&](const ProgramExit& e) { end = e; }));
        QVERIFY(window.stopButton()->isEnabled());
        window.stopButton()->click();
        QTRY_VERIFY(end.has_value());
        QVERIFY(end->crashed);
        QCOMPARE(shownText(&window).split(QLatin1Char('\n')).last(),
                 QString("Программатор остановлен"));
        QVERIFY(!window.stopButton()->isEnabled());
    }

    // Without a window of the tool's own, the operator reads its failure here; the window stays
    // and the next export shows only its own run.
    void anExportShowsWhatTheProgrammerSays() {
        RunningEditor r;
        if (r.workspace.installProgrammer().empty())
            QSKIP("the programmer stand-in is not built");
        r.open(r.workspace.buildWorkingFile("coil", kPrograms));
        ProgrammerWindow* window = r.editor->programmerWindow();
        QVERIFY(!window->isVisible());
        {
            EnvironmentVariable noDevice("PK2CMD_SIM_NO_DEVICE", "1");
            r.clickButton(12);
            QVERIFY(window->isVisible());
            QTRY_VERIFY(!window->isRunning());
        }
        const QStringList failed = shownText(window).split(QLatin1Char('\n'));
        QVERIFY2(failed.contains("No PICkit 2 found."), qPrintable(failed.join(QLatin1Char('|'))));
        QCOMPARE(failed.last(), QString("Программатор завершил работу с ошибкой (код 5)"));
        QVERIFY(failed.first().startsWith(
            "Запуск: " + QString::fromStdString(r.workspace.path("tool/PK2CMD.exe"))));
        QVERIFY(!window->isModal());

        // A good write is read back below its own output, and the window says it matched.
        r.clickButton(12);
        QTRY_VERIFY(shownText(window).endsWith("Память станка совпадает с записанными данными"));
        QVERIFY(!window->isRunning());
        const QStringList succeeded = shownText(window).split(QLatin1Char('\n'));
        QVERIFY2(succeeded.contains("Program Succeeded."),
                 qPrintable(succeeded.join(QLatin1Char('|'))));
        QVERIFY(succeeded.contains("Read successfully."));
        QVERIFY(!succeeded.contains("No PICkit 2 found."));
        QCOMPARE(succeeded.count("Программатор завершил работу успешно (код 0)"), 2);
        QVERIFY(succeeded.first().endsWith(" /M"));
        QVERIFY(succeeded.filter(QRegularExpression("^Запуск: .* /GF")).size() == 1);
    }

    // The stand-in inverts one byte as it writes: the export says where, in a box and in the
    // window.
    void aWriteTheMachineDoesNotHoldIsReported() {
        RunningEditor r;
        if (r.workspace.installProgrammer().empty())
            QSKIP("the programmer stand-in is not built");
        r.open(r.workspace.buildWorkingFile("coil", kPrograms));
        ProgrammerWindow* window = r.editor->programmerWindow();
        const QString expected =
            "Память станка не совпадает с записанными данными: первый "
            "отличающийся адрес 0x0400, отличающихся байтов: 1";
        QString shown, caption;
        ModalScript script;
        script.then([&](QWidget* w) {
            shown = messageText(w);
            caption = w->windowTitle();
            clickMessageButton(w, QMessageBox::Ok);
        });
        EnvironmentVariable corrupt("PK2CMD_SIM_CORRUPT", "400");
        r.clickButton(12);
        QTRY_VERIFY(script.done());
        QCOMPARE(shown, expected);
        QCOMPARE(caption, QString("Экспорт данных"));
        QCOMPARE(shownText(window).split(QLatin1Char('\n')).last(), expected);
    }
};

int runProgrammerWindowTests(int argc, char** argv) {
    ProgrammerWindowTest test;
    return runTestObject(test, argc, argv);
}

#include "programmer_window_test.moc"
