#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "support/fake_desktop.h"
#include "ui/new_line_dialog.h"
#include "ui/new_program_dialog.h"
#include "ui_fixture.h"

namespace tal::test {
namespace {

// The controls that Tab visits from `start`, in order, until it comes back.
QList<QWidget*> tabOrder(QWidget* start) {
    QList<QWidget*> order{start};
    for (QWidget* w = start->nextInFocusChain(); w != start; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            order << w;
    return order;
}

}  // namespace
}  // namespace tal::test

using namespace tal;
using namespace tal::test;

class DialogTest : public QObject {
    Q_OBJECT
private slots:
    void theNumberEntryTakesDigitsOnly() {
        FakeDesktop desktop;
        TForm5 dialog(desktop);
        QString afterTyping, afterBackspace, afterDelete;
        int beepsAfterTyping = -1;
        ModalScript script;
        script.then([&](QWidget*) {
            QLineEdit* entry = dialog.Edit1();
            QTest::keyClick(entry, Qt::Key_Delete);  // the proposal is selected: Delete empties it
            QTest::keyClicks(entry, "1a2");
            afterTyping = entry->text();
            beepsAfterTyping = desktop.beeps;
            QTest::keyClick(entry, Qt::Key_Backspace);
            afterBackspace = entry->text();
            QTest::keyClick(entry, Qt::Key_Home);
            QTest::keyClick(entry, Qt::Key_Delete);
            afterDelete = entry->text();
            dialog.Button1()->click();
        });
        const NewProgramResult result = dialog.ask(4, false);
        QVERIFY(script.done());
        QCOMPARE(afterTyping, QString("12"));
        QCOMPARE(beepsAfterTyping, 1);
        QCOMPARE(afterBackspace, QString("12"));  // Backspace is refused like any non-digit
        QCOMPARE(desktop.beeps, 2);
        QCOMPARE(afterDelete, QString("2"));
        QCOMPARE(result.answer, DialogAnswer::Create);
        QCOMPARE(result.number, 2LL);
    }

    void anEmptyEntryKeepsTheDialogOpen() {
        FakeDesktop desktop;
        TForm5 dialog(desktop);
        bool openAfterCreate = false;
        ModalScript script;
        script.then([&](QWidget*) {
            dialog.Edit1()->clear();
            dialog.Button1()->click();
            openAfterCreate = dialog.isVisible();
            dialog.Button3()->click();
        });
        const NewProgramResult result = dialog.ask(0, true);
        QVERIFY(openAfterCreate);
        QCOMPARE(result.answer, DialogAnswer::Cancel);
    }

    void pasteIsOfferedOnlyForACopiedProgram() {
        FakeDesktop desktop;
        TForm5 dialog(desktop);
        bool enabled = false;
        ModalScript script;
        script.then([&](QWidget*) {
            enabled = dialog.Button2()->isEnabled();
            dialog.Button2()->click();
        });
        const NewProgramResult paste = dialog.ask(9, true);
        QVERIFY(enabled);
        QCOMPARE(paste.answer, DialogAnswer::Paste);
        QCOMPARE(paste.number, 9LL);

        script.then([&](QWidget*) {
            enabled = dialog.Button2()->isEnabled();
            dialog.close();  // closing by other means cancels
        });
        QCOMPARE(dialog.ask(9, false).answer, DialogAnswer::Cancel);
        QVERIFY(!enabled);
    }

    void theNewProgramDialogLayout() {
        FakeDesktop desktop;
        TForm5 dialog(desktop);
        QCOMPARE(dialog.windowTitle(), QString("Новая программа намотки"));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
        QCOMPARE(tabOrder(dialog.Edit1()), QList<QWidget*>({dialog.Edit1(), dialog.Button1(),
                                                            dialog.Button3(), dialog.Button2()}));
        QCOMPARE(dialog.Button2()->toolTip(), QString("Вставить программу из буфера обмена"));
    }

    void theNewLineDialogAnswers() {
        TForm6 dialog;
        QCOMPARE(dialog.windowTitle(), QString("Новая строка"));
        QCOMPARE(tabOrder(dialog.Button1()),
                 QList<QWidget*>({dialog.Button1(), dialog.Button3(), dialog.Button2()}));
        QString program;
        ModalScript script;
        script.then([&](QWidget*) {
            program = dialog.Label2()->text();
            dialog.Button2()->click();
        });
        script.then([&](QWidget*) { dialog.Button1()->click(); });
        script.then([&](QWidget*) { dialog.close(); });
        QCOMPARE(dialog.ask(17, true), DialogAnswer::Paste);
        QCOMPARE(program, QString("17"));
        QCOMPARE(dialog.ask(17, true), DialogAnswer::Create);
        QCOMPARE(dialog.ask(17, true), DialogAnswer::Cancel);
    }
};

int runDialogTests(int argc, char** argv) {
    DialogTest test;
    return runTestObject(test, argc, argv);
}

#include "dialogs_test.moc"
