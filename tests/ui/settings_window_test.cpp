// The settings window on the running editor.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "limits/limits_file.h"
#include "store/file_system.h"
#include "store/text.h"
#include "support/limits_data.h"
#include "ui/edit_window.h"
#include "ui/main_window.h"
#include "ui/settings_window.h"
#include "ui/tool_bar.h"
#include "ui_fixture.h"

namespace tal::test {
namespace {

// The lines of the settings file beside the executable, decoded.
QStringList settingsLines(const Workspace& workspace) {
    const ReadResult file = readFile(workspace.executableFolder() + "TAL.cfg", 4096);
    return QString::fromStdString(decodeCp1251(file.bytes)).split('\n');
}

QString hintOf(const std::vector<LimitsRecord>& records, const char* model, const char* field) {
    return QString::fromStdString(limitsMessage(records, model, field).value_or("?"));
}

}  // namespace
}  // namespace tal::test

using namespace tal;
using namespace tal::test;

class SettingsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void theWindowIsShownByItsButtonAndClosingHidesIt() {
        RunningEditor r;
        TForm8* window = r.editor->Form8();
        QVERIFY(window);
        QVERIFY(window->isHidden());
        QCOMPARE(window->windowTitle(), QString("Окно настроек"));
        QCOMPARE(window->size(), QSize(400, 200));
        QComboBox* models = window->ComboBox1();
        QVERIFY(!models->isEditable());
        QCOMPARE(models->toolTip(), QString("Модель станка"));
        QCOMPARE(models->accessibleName(), QString("Модель станка"));
        QVERIFY(models->font().bold());
        QCOMPARE(models->font().styleHint(), QFont::Serif);
        QCOMPARE(models->palette().color(QPalette::Base), QColor(0xFF, 0xFB, 0xF0));
        QCOMPARE(window->StaticText1()->geometry(), QRect(8, 72, 377, 17));
        QCOMPARE(window->StaticText2()->geometry(), QRect(8, 128, 377, 17));
        QCOMPARE(window->StaticText1()->text(),
                 QString::fromStdString(r.workspace.path("programs") + "/"));
        QList<QWidget*> tabOrder{models};
        for (QWidget* w = models->nextInFocusChain(); w != models; w = w->nextInFocusChain())
            if (w->focusPolicy() & Qt::TabFocus)
                tabOrder << w;
        QCOMPARE(tabOrder, QList<QWidget*>({models, window->Button1(), window->StaticText1(),
                                            window->Button2(), window->StaticText2()}));

        r.clickButton(15);
        QVERIFY(window->isVisible());
        QVERIFY(!window->isModal());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        window->close();
        settle();
        QVERIFY(window->isHidden());
        QCOMPARE(r.editor->Form8(), window);  // the same window, only hidden
        r.clickButton(15);
        QVERIFY(window->isVisible());
    }

    // Models that differ only in letter case are two entries; the model TAL.cfg names is selected.
    void theModelListComesFromTheLimitsTable() {
        Workspace workspace;
        std::string error;
        const std::vector<LimitsRecord> records{
            limitsRecord("ТАЛ-1", "Param 1", 10, 3000, "a"),
            limitsRecord("тал-1", "Param 1", 10, 2000, "b"),
            limitsRecord("ТАЛ-1", "Param 2", 10, 3000, "c"),
        };
        QVERIFY(writeLimitsFile(workspace.path("work/TALC.DB"), records, error));
        Editor editor(workspace.executableFolder());
        QVERIFY(editor.started());
        QComboBox* models = editor.Form8()->ComboBox1();
        QStringList items;
        for (int i = 0; i < models->count(); ++i)
            items << models->itemText(i);
        QCOMPARE(items, QStringList({"ТАЛ-1", "тал-1"}));
        QCOMPARE(models->currentText(), QString("ТАЛ-1"));
    }

    void pickingAModelWritesTheSettingsFileAndTheHints() {
        RunningEditor r;
        const std::vector<LimitsRecord> limits = deliveredLimits();
        QWidget* speed = r.editor->Form2()->controls().find(Control::DBEdit1);
        QCOMPARE(speed->toolTip(), hintOf(limits, "ТАЛ-1", "Param 1"));
        QVERIFY(hintOf(limits, "ТАЛ-1", "Param 1") != hintOf(limits, "ТАЛ-2", "Param 1"));

        r.clickButton(15);
        QComboBox* models = r.editor->Form8()->ComboBox1();
        QCOMPARE(models->currentText(), QString("ТАЛ-1"));
        QTest::keyClick(models, Qt::Key_Down);
        settle();
        QCOMPARE(models->currentText(), QString("ТАЛ-2"));
        QCOMPARE(r.editor->workbench().state().machineModel, std::string("ТАЛ-2"));
        QCOMPARE(settingsLines(r.workspace).value(0), QString("ТАЛ-2"));
        QCOMPARE(speed->toolTip(), hintOf(limits, "ТАЛ-2", "Param 1"));
    }

    void aChosenFolderGetsOneBackslash_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("line");
        QTest::newRow("programs") << 1 << 1;
        QTest::newRow("programmer") << 2 << 2;
    }
    void aChosenFolderGetsOneBackslash() {
        QFETCH(int, button);
        QFETCH(int, line);
        RunningEditor r;
        const QString chosen = QString::fromStdString(r.workspace.path("chosen"));
        QVERIFY(QDir().mkpath(chosen));
        const QStringList before = settingsLines(r.workspace);
        TForm8* window = r.editor->Form8();
        r.clickButton(15);
        QString title;
        ModalScript script;
        script.then([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog);
            title = dialog->windowTitle();
            dialog->setDirectory(chosen);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        (button == 1 ? window->Button1() : window->Button2())->click();
        settle();

        QVERIFY(script.done());
        QCOMPARE(title, QString("Выберите папку"));
        const QString expected = QDir::toNativeSeparators(chosen) + "\\";
        QLabel* shown = button == 1 ? window->StaticText1() : window->StaticText2();
        QCOMPARE(shown->text(), expected);
        QStringList after = settingsLines(r.workspace);
        QCOMPARE(after.value(line), expected);
        after[line] = before.value(line);
        QCOMPARE(after, before);  // the other settings are written as they were
    }
};

int runSettingsWindowTests(int argc, char** argv) {
    SettingsWindowTest test;
    return runTestObject(test, argc, argv);
}

#include "settings_window_test.moc"
