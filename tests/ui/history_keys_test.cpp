// Undo and redo keys in the main window and in the edit window, and the recovery copy kept by the
// running editor.

#include <QTest>
#include <QToolButton>
#include <cstdlib>
#include <filesystem>

#include "files/recovery.h"
#include "store/editing_tables.h"
#include "ui/binding/field_edit.h"
#include "ui/edit_window.h"
#include "ui/main_window.h"
#include "ui/tool_bar.h"
#include "ui_fixture.h"

namespace tal::test {
namespace {

const char* kPrograms = R"({"programs": [
  {"ProgNum": 3, "Remark": "Первая", "lines": [{"Param 1": 1200}, {"Param 1": 800}]},
  {"ProgNum": 8, "Remark": "Без строк", "lines": []}
]})";

void press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(target, key, modifiers);
    settle();
}

class HistoryKeysTest : public QObject {
    Q_OBJECT
private slots:
    void undoAndRedoInTheMainWindow() {
        RunningEditor r;
        r.open(r.workspace.buildWorkingFile("small", kPrograms));
        r.headers().remove();  // as "Удалить" does once the question is answered
        settle();
        QCOMPARE(r.headers().recordCount(), 1);

        press(r.form(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(r.headers().recordCount(), 2);
        QCOMPARE(r.headers().asInteger(hdr::ProgNum), 3);
        QCOMPARE(r.lines().recordCount(), 2);
        QVERIFY(r.editor->workbench().state().modified);
        press(r.form(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(r.headers().recordCount(), 1);
        press(r.form(), Qt::Key_Z, Qt::ControlModifier);
        press(r.form(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(r.headers().recordCount(), 1);
    }

    // In a text field of the edit window the keys undo the programs' step, not the typing.
    void undoInAnEditWindowField() {
        RunningEditor r;
        r.open(r.workspace.buildWorkingFile("small", kPrograms));
        r.clickButton(10);
        TForm2* window = r.editor->Form2();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        FieldEdit* edit = window->edit(Control::DBEdit1);
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, "1500");
        QTest::keyClick(edit, Qt::Key_Tab);
        settle();
        QCOMPARE(r.lines().asInteger(ln::param(1)), 1500);

        edit->setFocus(Qt::TabFocusReason);
        press(edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(r.lines().asInteger(ln::param(1)), 1200);
        QCOMPARE(edit->text(), QStringLiteral("1200"));
        press(edit, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(r.lines().asInteger(ln::param(1)), 1500);
    }

    // The running editor writes the copy by itself after a change and drops it when saved.
    void keepsTheRecoveryCopy() {
        RunningEditor r;
        const std::string copy = r.editor->workbench().recovery().path();
        QVERIFY(!std::filesystem::exists(copy));
        r.open(r.workspace.buildWorkingFile("small", kPrograms));
        r.headers().remove();
        settle();
        QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::exists(copy), 30000);
        r.clickButton(4);  // "Сохранить"
        QTRY_VERIFY_WITH_TIMEOUT(!std::filesystem::exists(copy), 30000);
    }
};

}  // namespace
}  // namespace tal::test

int runHistoryKeysTests(int argc, char** argv) {
    tal::test::HistoryKeysTest test;
    return tal::test::runTestObject(test, argc, argv);
}

#include "history_keys_test.moc"
