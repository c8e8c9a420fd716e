// The edit window as an operator uses it: typing values under the model's limits, Enter as Tab,
// the navigators, the panels following the rows, and the refusal path.

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>
#include <QScrollArea>
#include <QTest>
#include <QToolButton>

#include "store/editing_tables.h"
#include "store/record_navigation.h"
#include "ui/binding/field_edit.h"
#include "ui/binding/field_radio_group.h"
#include "ui/binding/record_navigator.h"
#include "ui/edit_window.h"
#include "ui/error_report.h"
#include "ui/main_window.h"
#include "ui/program_grid.h"
#include "ui/tool_bar.h"
#include "ui_fixture.h"

namespace tal::test {
namespace {

// Program 3 with three lines (the second repeats nothing), program 8 without lines.
const char* kPrograms = R"({"programs": [
  {"ProgNum": 3, "Param 01": "слева", "Param 02": 12.5, "Param 03": "программное",
   "Param 04": 2, "Param 05": 3, "Remark": "Первая",
   "lines": [{"Param 1": 1200, "Param 4": 1850, "Param 6": 12.5, "Param 7": 40, "Param 16": 2,
              "Param 19": "нет"},
             {"Param 1": 800, "Param 4": 40, "Param 16": 0},
             {"Param 1": 1000, "Param 19": "исходное"}]},
  {"ProgNum": 8, "Param 01": "справа", "Param 02": 0, "Remark": "Без строк", "lines": []}
]})";

// An editor with the small programs open and the edit window shown.
struct EditSession : RunningEditor {
    EditSession() {
        open(workspace.buildWorkingFile("small", kPrograms));
        form()->Panel1()->SpeedButton(10)->click();
        window()->activateWindow();
        if (!QTest::qWaitForWindowActive(window()))
            qWarning("the edit window did not become active");
        settle();
    }
    TForm2* window() const { return editor->Form2(); }
    FieldEdit* edit(Control control) const { return window()->edit(control); }
    // Types `text` over the edit's text and presses Tab.
    void typeAndLeave(Control control, const QString& text) {
        window()->activateWindow();  // as the operator's click into it does
        if (!QTest::qWaitForWindowActive(window()))
            qWarning("the edit window did not become active");
        FieldEdit* target = edit(control);
        target->setFocus(Qt::TabFocusReason);
        target->selectAll();
        QTest::keyClicks(target, text);
        if (text.isEmpty())
            QTest::keyClick(target, Qt::Key_Delete);
        QTest::keyClick(target, Qt::Key_Tab);
        settle();
    }
    bool navigatorButtonEnabled(RecordNavigator* navigator, NavigatorButton which) const {
        return navigator->button(which)->isEnabled();
    }
};

// Answers the standard error report and keeps its text.
void expectReport(ModalScript& script, QString& text) {
    script.then([&text](QWidget* w) {
        text = w->windowTitle() + ": " + messageText(w);
        clickMessageButton(w, QMessageBox::Ok);
    });
}

}  // namespace
}  // namespace tal::test

using namespace tal;
using namespace tal::test;

class EditWindowTest : public QObject {
    Q_OBJECT
private slots:
    void aRefusedValueTakesTheFocusBackAndKeepsTheWindowOpen() {
        EditSession s;
        QString report;
        ModalScript script;
        expectReport(script, report);
        s.typeAndLeave(Control::DBEdit1, "5000");
        QTRY_VERIFY(script.done());
        QCOMPARE(report, QString("Редактор программ намотки: Допустимые пределы 10..3000 об/мин."));
        QCOMPARE(QApplication::focusWidget(), s.edit(Control::DBEdit1));
        QCOMPARE(s.edit(Control::DBEdit1)->selectedText(), QString("5000"));
        QCOMPARE(s.lines().asInteger(ln::param(1)), 1200);  // the field kept its value

        // Closing saves the line, which assigns the refused text once more.
        expectReport(script, report);
        s.window()->close();
        QTRY_VERIFY(script.done());
        QVERIFY(s.window()->isVisible());  // not while the last value was refused

        s.typeAndLeave(Control::DBEdit1, "1500");
        QCOMPARE(s.lines().asInteger(ln::param(1)), 1500);
        s.window()->close();
        settle();
        QVERIFY(!s.window()->isVisible());
        QCOMPARE(s.lines().state(), TableState::Browse);  // closing saved the line
        QCOMPARE(s.form()->DBGrid1()->model()->index(0, 0).data().toString(), QString("1500"));
    }

    void typedText_data() {
        QTest::addColumn<int>("control");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("refusal");  // empty: accepted
        QTest::addColumn<QString>("shown");    // the edit's text afterwards
        QTest::addColumn<bool>("checked");     // a check saw the value (not a text refused)
        const int start = static_cast<int>(Control::DBEdit02);
        const int turns = static_cast<int>(Control::DBEdit4);
        const int speed = static_cast<int>(Control::DBEdit1);
        QTest::newRow("hundredths") << start << "0.35"
                                    << ""
                                    << "0,35" << true;
        QTest::newRow("decimal comma") << start << "0,07"
                                       << ""
                                       << "0,07" << true;
        QTest::newRow("too precise") << start << "12.345"
                                     << "Максимальная точность 0,01."
                                     << "12.345" << true;
        QTest::newRow("out of range beats precision") << start << "-0,001"
                                                      << "Допустимые пределы 0..180 мм."
                                                      << "-0,001" << true;
        QTest::newRow("letters in an integer") << turns << "abc"
                                               << "'abc' is not a valid integer value."
                                               << "abc" << false;
        QTest::newRow("a comma in an integer") << turns << "12,5"
                                               << "'12,5' is not a valid integer value."
                                               << "12,5" << false;
        QTest::newRow("cleared") << speed << ""
                                 << "Допустимые пределы 10..3000 об/мин."
                                 << "" << true;
        QTest::newRow("upper bound") << speed << "3000"
                                     << ""
                                     << "3000" << true;
    }
    void typedText() {
        QFETCH(int, control);
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        QFETCH(QString, shown);
        QFETCH(bool, checked);
        EditSession s;
        QString report;
        ModalScript script;
        if (!refusal.isEmpty())
            expectReport(script, report);
        s.typeAndLeave(static_cast<Control>(control), typed);
        QTRY_VERIFY(script.done());
        if (!refusal.isEmpty())
            QCOMPARE(report, "Редактор программ намотки: " + refusal);
        QCOMPARE(s.edit(static_cast<Control>(control))->text(), shown);
        // Only a check's refusal keeps the window open by the flag; a text that is no number
        // never reaches the check.
        QCOMPARE(s.editor->workbench().state().lastValueAccepted, refusal.isEmpty() || !checked);
    }

    void enterMovesOnAsTabDoes() {
        EditSession s;
        s.edit(Control::DBEdit02)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(s.edit(Control::DBEdit02), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), s.edit(Control::DBEdit04));
        QTest::keyClick(s.edit(Control::DBEdit04), Qt::Key_Enter);
        QCOMPARE(QApplication::focusWidget(), s.edit(Control::DBEdit05));
    }

    void aRepeatCountOfZeroClearsAndDisablesTheRepeatEdits() {
        EditSession s;
        FieldEdit* repeats = s.edit(Control::DBEdit17);
        FieldEdit* offset = s.edit(Control::DBEdit18);
        QVERIFY(repeats->isEnabled() && offset->isEnabled());  // line 1 repeats twice
        s.typeAndLeave(Control::DBEdit17, "1");
        s.typeAndLeave(Control::DBEdit16, "0");
        QCOMPARE(s.lines().asInteger(ln::param(17)), 0);
        QCOMPARE(repeats->text(), QString("0"));
        QVERIFY(!repeats->isEnabled() && !offset->isEnabled());
        s.typeAndLeave(Control::DBEdit16, "3");
        QVERIFY(repeats->isEnabled() && offset->isEnabled());

        // Moving to a line that repeats nothing disables them too.
        s.lines().post();
        s.lines().next();
        settle();
        QVERIFY(!repeats->isEnabled());
    }

    void theNavigatorsFollowTheirTables() {
        EditSession s;
        RecordNavigator* lines = s.window()->DBNavigator1();
        RecordNavigator* headers = s.window()->DBNavigator0();
        using B = NavigatorButton;
        QVERIFY(!lines->button(B::Insert)->isHidden());
        QVERIFY(headers->button(B::Insert)->isHidden() && headers->button(B::Delete)->isHidden());
        QCOMPARE(headers->button(B::First)->toolTip(), QString("Первая программа"));
        QCOMPARE(lines->button(B::Post)->toolTip(), QString("Сохранить изменение строки"));

        QVERIFY(!s.navigatorButtonEnabled(lines, B::First) &&
                !s.navigatorButtonEnabled(lines, B::Prior));
        QVERIFY(s.navigatorButtonEnabled(lines, B::Next) &&
                s.navigatorButtonEnabled(lines, B::Last));
        lines->button(B::Last)->click();
        settle();
        QCOMPARE(s.lines().recNo(), 2);
        QCOMPARE(s.form()->DBGrid1()->currentIndex().row(), 2);  // the main window follows
        QVERIFY(!s.navigatorButtonEnabled(lines, B::Next) &&
                !s.navigatorButtonEnabled(lines, B::Last));
        QVERIFY(s.navigatorButtonEnabled(lines, B::Edit));
        QVERIFY(!s.navigatorButtonEnabled(lines, B::Post) &&
                !s.navigatorButtonEnabled(lines, B::Cancel));

        s.edit(Control::DBEdit4)->selectAll();
        QTest::keyClicks(s.edit(Control::DBEdit4), "7");  // typing starts an edit
        QVERIFY(!s.navigatorButtonEnabled(lines, B::Edit));
        QVERIFY(s.navigatorButtonEnabled(lines, B::Post) &&
                s.navigatorButtonEnabled(lines, B::Cancel));
        lines->button(B::Post)->click();  // the typed text is assigned before the post
        settle();
        QCOMPARE(s.lines().state(), TableState::Browse);
        QCOMPARE(s.lines().asInteger(ln::param(4)), 7);

        QStringList asked;
        ModalScript script;
        auto answer = [&asked](QMessageBox::StandardButton button) {
            return [&asked, button](QWidget* w) {
                auto* box = qobject_cast<QMessageBox*>(w);
                QVERIFY(box && box->button(QMessageBox::Ok) && box->button(QMessageBox::Cancel));
                asked << messageText(w);
                clickMessageButton(w, button);
            };
        };
        script.then(answer(QMessageBox::Cancel));
        script.then(answer(QMessageBox::Ok));
        lines->button(B::Delete)->click();
        settle();
        QCOMPARE(s.lines().recordCount(), 3);
        lines->button(B::Delete)->click();
        settle();
        QVERIFY(script.done());
        QCOMPARE(asked, QStringList({"Delete record?", "Delete record?"}));
        QCOMPARE(s.lines().recordCount(), 2);
        QCOMPARE(s.headers().asInteger(hdr::ProgSize), 3);  // the bookkeeping ran
    }

    void thePanelsFollowTheRows() {
        RunningEditor r;
        r.clickButton(10);
        TForm2* w = r.editor->Form2();
        auto enabled = [](QWidget* widget) { return widget->isEnabled(); };
        // No headers: everything but the header navigator is off.
        QVERIFY(!enabled(w->ScrollBox0()) && !enabled(w->ScrollBox1()));
        QVERIFY(!enabled(w->DBNavigator1()) && !enabled(w->SpeedButton1()));
        QVERIFY(enabled(w->DBNavigator0()));
        QVERIFY(!w->edit(Control::DBEdit02)->isEnabled());

        r.open(r.workspace.buildWorkingFile("small", kPrograms));
        QVERIFY(r.headers().findKey({Value::integer(8)}));  // a program without lines
        r.editor->workbench().store().updateEnabling();
        settle();
        QVERIFY(enabled(w->ScrollBox0()) && !enabled(w->ScrollBox1()));
        QVERIFY(enabled(w->DBNavigator1()) && enabled(w->SpeedButton1()));

        w->SpeedButton1()->click();  // "Добавить строку"
        settle();
        QCOMPARE(r.lines().recordCount(), 1);
        QVERIFY(enabled(w->ScrollBox1()));
        QVERIFY(!w->edit(Control::DBEdit17)->isEnabled() &&
                !w->edit(Control::DBEdit18)->isEnabled());
        QVERIFY(!r.editor->workbench().state().appendFlag);
    }

    void aRadioGroupShowsTheStoredChoiceOrNone() {
        EditSession s;
        FieldRadioGroup* ending = s.window()->radioGroup(Control::DBRadioGroup19);
        FieldRadioGroup* rotation = s.window()->radioGroup(Control::DBRadioGroup3);
        QCOMPARE(ending->chosen(), 1);  // "нет"
        QCOMPARE(rotation->button(0)->text(), QString("против часовой стрелки"));

        s.lines().setText(ln::param(19), "что-то");  // no value of the list
        QCOMPARE(ending->chosen(), -1);
        s.lines().clear(ln::param(19));
        QCOMPARE(ending->chosen(), -1);
        s.lines().cancel();
        QCOMPARE(ending->chosen(), 1);

        QCOMPARE(rotation->chosen(), 1);  // "по ч/с", for a direction left empty
        QRadioButton* counter = rotation->button(0);
        QTest::mouseClick(counter, Qt::LeftButton, {}, QPoint(8, counter->height() / 2));
        QCOMPARE(s.lines().asText(ln::param(3)), std::string("против ч/с"));
        QCOMPARE(s.lines().state(), TableState::Edit);
    }

    void theRemarkTakesOnlyWhatItsFileCanHold() {
        EditSession s;
        FieldEdit* remark = s.edit(Control::DBEdit06);
        QCOMPARE(remark->maxLength(), 99);
        remark->setFocus(Qt::TabFocusReason);
        remark->selectAll();
        for (QChar typed : QString::fromUtf8("Ав\u03a9г")) {  // Greek omega has no byte
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(typed));
            QApplication::sendEvent(remark, &press);
        }
        QCOMPARE(remark->text(), QString("Авг"));
    }

    void everyInputControlIsNamedByItsLabel() {
        EditSession s;
        const std::pair<Control, const char*> named[] = {
            {Control::DBEdit02, "Координата начала намотки, мм"},
            {Control::DBEdit06, "Примечание"},
            {Control::DBEdit1, "намотки"},
            {Control::DBEdit2, "домотки"},
            {Control::DBEdit6, "начала катушки"},
            {Control::DBEdit7, "конца катушки"},
            {Control::DBRadioGroup19, "Конец"},
        };
        for (const auto& [control, name] : named)
            QCOMPARE(s.window()->controls().find(control)->accessibleName(), QString(name));
        for (QWidget* input : s.window()->findChildren<FieldEdit*>())
            QVERIFY2(!input->accessibleName().isEmpty(), qPrintable(input->objectName()));
        for (QWidget* input : s.window()->findChildren<FieldRadioGroup*>())
            QVERIFY2(!input->accessibleName().isEmpty(), qPrintable(input->objectName()));
    }

    void theWindowAndTheGridsShowTheSameRows() {
        EditSession s;
        ProgramGrid* grid = s.form()->DBGrid1();
        QCOMPARE(s.edit(Control::DBEdit1)->text(), QString("1200"));
        QCOMPARE(s.edit(Control::DBEdit6)->text(), QString("12,5"));
        s.lines().next();
        settle();
        QCOMPARE(s.edit(Control::DBEdit1)->text(), QString("800"));
        QCOMPARE(grid->currentIndex().row(), 1);
        s.typeAndLeave(Control::DBEdit1, "900");
        QCOMPARE(grid->model()->index(1, 0).data().toString(), QString("900"));
        QVERIFY(s.headers().findKey({Value::integer(8)}));
        settle();
        QCOMPARE(s.window()->findChild<QLabel*>("ProgDBText")->text(), QString("8"));
        QCOMPARE(s.edit(Control::DBEdit06)->text(), QString("Без строк"));
        QCOMPARE(s.edit(Control::DBEdit1)->text(), QString());
    }
};

int runEditWindowTests(int argc, char** argv) {
    EditWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "edit_window_test.moc"
