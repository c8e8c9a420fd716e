// The find dialogs and "Найти" on the running editor.

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "store/editing_tables.h"
#include "support/fake_desktop.h"
#include "ui/error_report.h"
#include "ui/find_dialogs.h"
#include "ui/main_window.h"
#include "ui/program_grid.h"
#include "ui_fixture.h"

namespace tal::test {
namespace {

// Program 3 with two lines, program 12 with three, program 255 with none.
const char* kPrograms = R"({"programs": [
  {"ProgNum": 3, "lines": [{"Param 1": 1200}, {"Param 1": 800}]},
  {"ProgNum": 12, "lines": [{"Param 1": 1000}, {"Param 1": 1100}, {"Param 1": 1200}]},
  {"ProgNum": 255, "lines": []}
]})";

std::unique_ptr<FindDialogWindow> makeDialog(bool lines, Desktop& desktop) {
    if (lines)
        return std::make_unique<TForm4>(desktop);
    return std::make_unique<TForm3>(desktop);
}

// Answers the find dialog `w` with `number` ("Найти").
void enter(QWidget* w, const char* number) {
    auto* dialog = qobject_cast<FindDialogWindow*>(w);
    QVERIFY(dialog);
    dialog->Edit1()->clear();
    QTest::keyClicks(dialog->Edit1(), number);
    dialog->Button1()->click();
}

// Takes the message box `w` as "caption: text" and clicks OK.
auto noteMessage(QStringList& messages) {
    return [&messages](QWidget* w) {
        messages << w->windowTitle() + ": " + messageText(w);
        clickMessageButton(w, QMessageBox::Ok);
    };
}

}  // namespace
}  // namespace tal::test

using namespace tal;
using namespace tal::test;

class FindDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void theDialogsLayout_data() {
        QTest::addColumn<bool>("lines");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("fixed");
        QTest::addColumn<QPoint>("position");
        QTest::newRow("program") << false << "Поиск программы намотки"
                                 << "Номер программы намотки:" << true << QPoint(241, 163);
        QTest::newRow("line") << true << "Поиск строки программы"
                              << "Номер строки программы" << false << QPoint(206, 130);
    }
    void theDialogsLayout() {
        QFETCH(bool, lines);
        QFETCH(QString, caption);
        QFETCH(QString, label);
        QFETCH(bool, fixed);
        QFETCH(QPoint, position);
        FakeDesktop desktop;
        auto dialog = makeDialog(lines, desktop);
        QCOMPARE(dialog->windowTitle(), caption);
        QVERIFY(!(dialog->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(dialog->windowFlags() & Qt::WindowSystemMenuHint));
        QCOMPARE(dialog->minimumSize() == dialog->maximumSize(), fixed);
        if (fixed)
            QCOMPARE(dialog->size(), QSize(231, 80));
        QCOMPARE(dialog->pos(), position);
        QCOMPARE(dialog->Label1()->text(), label);
        QCOMPARE(dialog->Edit1()->accessibleName(), label);
        QCOMPARE(dialog->Edit1()->geometry(), QRect(192, 8, 33, 24));
        QCOMPARE(dialog->Button1()->text(), QString("Найти"));
        QCOMPARE(dialog->Button1()->geometry(), QRect(80, 40, 73, 25));
        QCOMPARE(dialog->Button2()->text(), QString("Отменить"));
        QCOMPARE(dialog->Button2()->geometry(), QRect(152, 40, 73, 25));
        for (QPushButton* button : {dialog->Button1(), dialog->Button2()})
            QVERIFY(!button->isDefault() && !button->autoDefault());
    }

    // Every character but a digit is discarded with the beep, Enter and Escape too, which close
    // nothing; an empty field does nothing on "Найти".
    void theFieldTakesDigitsOnly_data() {
        QTest::addColumn<bool>("lines");
        QTest::newRow("program") << false;
        QTest::newRow("line") << true;
    }
    void theFieldTakesDigitsOnly() {
        QFETCH(bool, lines);
        FakeDesktop desktop;
        auto dialog = makeDialog(lines, desktop);
        QString shown, typed, afterBackspace, afterDelete;
        int beepsAfterTyping = -1;
        bool openAfterKeys = false, openWhenEmpty = false;
        ModalScript script;
        script.then([&](QWidget*) {
            QLineEdit* entry = dialog->Edit1();
            shown = entry->text();
            QTest::keyClick(entry,
                            Qt::Key_Delete);  // the shown entry is selected: Delete empties it
            QTest::keyClicks(entry, "1a-2 ");
            typed = entry->text();
            beepsAfterTyping = desktop.beeps;
            QTest::keyClick(entry, Qt::Key_Backspace);
            afterBackspace = entry->text();
            QTest::keyClick(entry, Qt::Key_Return);
            QTest::keyClick(entry, Qt::Key_Escape);
            QTest::keyClick(dialog->Button1(), Qt::Key_Escape);
            openAfterKeys = dialog->isVisible();
            QTest::keyClick(entry, Qt::Key_Home);
            QTest::keyClick(entry, Qt::Key_Delete);
            afterDelete = entry->text();
            entry->clear();
            dialog->Button1()->click();
            openWhenEmpty = dialog->isVisible();
            dialog->Button2()->click();
        });
        const auto result = dialog->ask(70);
        QVERIFY(script.done());
        QCOMPARE(shown, QString("70"));
        QCOMPARE(typed, QString("12"));
        QCOMPARE(beepsAfterTyping, 3);
        QCOMPARE(afterBackspace, QString("12"));
        QCOMPARE(desktop.beeps, 6);  // Backspace, Enter, Escape
        QVERIFY(openAfterKeys);
        QCOMPARE(afterDelete, QString("2"));
        QVERIFY(openWhenEmpty);
        QVERIFY(!result);  // "Отменить"
        QVERIFY(desktop.messages.empty());
    }

    void aProgramIsFoundByItsNumber() {
        RunningEditor r;
        r.open(r.workspace.buildWorkingFile("find", kPrograms));
        QCOMPARE(r.form()->focusedGrid(), Grid::Headers);
        QString shownFirst, shownAgain;
        QStringList messages;
        ModalScript script;
        script.then([&](QWidget* w) {
            shownFirst = qobject_cast<TForm3*>(w)->Edit1()->text();
            enter(w, "256");
        });
        script.then(noteMessage(messages));
        script.then([&](QWidget* w) {
            shownAgain = qobject_cast<TForm3*>(w)->Edit1()->text();
            enter(w, "254");
        });
        script.then(noteMessage(messages));
        script.then([&](QWidget* w) { enter(w, "255"); });
        r.clickButton(6);

        QVERIFY(script.done());
        QCOMPARE(shownFirst, QString("0"));
        QCOMPARE(shownAgain, QString("256"));
        QCOMPARE(messages, QStringList({"Ошибка поиска программы: Недопустимый номер программы",
                                        "Ошибка поиска программы: Программа не найдена"}));
        QCOMPARE(r.headers().asInteger(hdr::ProgNum), 255);
        QCOMPARE(r.form()->DBGrid0()->currentIndex().row(), 2);
        QCOMPARE(r.form()->DBGrid1()->model()->rowCount(), 0);
        QCOMPARE(r.form()->focusedGrid(), Grid::Headers);
    }

    // Line 3 exists in program 12 only; the search stays in program 3.
    void aLineIsFoundInTheCurrentProgramOnly() {
        RunningEditor r;
        r.open(r.workspace.buildWorkingFile("find", kPrograms));
        clickRow(r.form()->DBGrid1(), 0);
        QCOMPARE(r.form()->focusedGrid(), Grid::Lines);
        QStringList messages;
        ModalScript script;
        script.then([&](QWidget* w) {
            QVERIFY(qobject_cast<TForm4*>(w));
            enter(w, "2015");
        });
        script.then(noteMessage(messages));
        script.then([&](QWidget* w) { enter(w, "3"); });
        script.then(noteMessage(messages));
        script.then([&](QWidget* w) { enter(w, "2"); });
        r.clickButton(6);

        QVERIFY(script.done());
        QCOMPARE(messages, QStringList({"Ошибка поиска строки: Недопустимый номер строки",
                                        "Ошибка поиска строки: Строка не найдена"}));
        QCOMPARE(r.headers().asInteger(hdr::ProgNum), 3);
        QCOMPARE(r.lines().asInteger(ln::StrNum), 2);
        QCOMPARE(r.form()->DBGrid1()->currentIndex().row(), 1);
        QCOMPARE(r.form()->focusedGrid(), Grid::Lines);
    }

    // A number too long for an integer goes to the standard error report; the dialog stays open.
    void aNumberTooLongIsReportedAndTheDialogStaysOpen() {
        RunningEditor r;
        r.open(r.workspace.buildWorkingFile("find", kPrograms));
        QString caption, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        bool openAfterReport = false;
        ModalScript script;
        script.then([&](QWidget* w) {
            auto* dialog = qobject_cast<TForm3*>(w);
            enter(w, "2147483648");  // the report comes up and is answered meanwhile
            openAfterReport = dialog->isVisible();
            dialog->Button2()->click();
        });
        script.then([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            caption = box->windowTitle();
            text = box->text();
            icon = box->icon();
            clickMessageButton(w, QMessageBox::Ok);
        });
        r.clickButton(6);

        QVERIFY(script.done());
        QVERIFY(openAfterReport);
        QCOMPARE(caption, QString::fromUtf8(kApplicationTitle));
        QCOMPARE(text, QString("'2147483648' is not a valid integer value."));
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(r.headers().asInteger(hdr::ProgNum), 3);
        // The entry keeps what it held: the dialog never closed with a number.
        QCOMPARE(r.editor->workbench().state().programNumberEntry, 0);
    }
};

int runFindDialogsTests(int argc, char** argv) {
    FindDialogsTest test;
    return runTestObject(test, argc, argv);
}

#include "find_dialogs_test.moc"
