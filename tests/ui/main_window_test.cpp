#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

#include "store/editing_tables.h"
#include "store/field_catalogue.h"
#include "store/table.h"
#include "ui/binding/field_text.h"
#include "ui/edit_window.h"
#include "ui/error_report.h"
#include "ui/main_window.h"
#include "ui/new_line_dialog.h"
#include "ui/new_program_dialog.h"
#include "ui/program_grid.h"
#include "ui/programmer_window.h"
#include "ui/table_model.h"
#include "ui/tool_bar.h"
#include "ui_fixture.h"

namespace tal::test {
namespace {

// Program 3 with two lines, program 8 without lines, program 12 with three lines.
const char* kPrograms = R"({"programs": [
  {"ProgNum": 3, "Param 01": "слева", "Param 02": 12.5, "Param 03": "программное",
   "Param 04": 2, "Param 05": 3, "Remark": "Первая",
   "lines": [{"Param 1": 1200, "Param 4": 1850, "Param 6": 12.5, "Param 8": 0.355},
             {"Param 1": 800, "Param 4": 40, "Param 6": 12.5, "Param 8": 0.355}]},
  {"ProgNum": 8, "Param 01": "справа", "Param 02": 0, "Remark": "Без строк", "lines": []},
  {"ProgNum": 12, "Param 01": "слева", "Param 02": 30.05, "Remark": "Третья",
   "lines": [{"Param 1": 1000}, {"Param 1": 1100}, {"Param 1": 1200}]}
]})";

QString cell(ProgramGrid* grid, int row, int column) {
    return grid->model()->index(row, column).data().toString();
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace
}  // namespace tal::test

using namespace tal;
using namespace tal::test;

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void addOnTheHeaderGridCreatesAProgramThroughTheDialog() {
        RunningEditor r;
        QCOMPARE(r.form()->focusedGrid(), Grid::Headers);
        QString proposed;
        bool pasteEnabled = true;
        ModalScript script;
        script.then([&](QWidget* w) {
            auto* dialog = qobject_cast<TForm5*>(w);
            QVERIFY(dialog);
            proposed = dialog->Edit1()->text();
            pasteEnabled = dialog->Button2()->isEnabled();
            QTest::keyClicks(dialog->Edit1(), "7");  // replaces the selected proposal
            dialog->Button1()->click();
        });
        r.clickButton(7);

        QVERIFY(script.done());
        QCOMPARE(proposed, QString("0"));
        QVERIFY(!pasteEnabled);
        QCOMPARE(r.headers().recordCount(), 1);
        QCOMPARE(r.headers().asInteger(hdr::ProgNum), 7);
        ProgramGrid* grid = r.form()->DBGrid0();
        QCOMPARE(grid->model()->rowCount(), 1);
        QCOMPARE(cell(grid, 0, 0), QString("7"));
        QCOMPARE(cell(grid, 0, 6), QString("1"));  // "Число строк"
        QCOMPARE(r.form()->focusedGrid(), Grid::Headers);
        QVERIFY(r.form()->DBGrid1()->isEnabled());
        QVERIFY(r.form()->Panel1()->SpeedButton(9)->isEnabled());
    }

    void addOnTheLineGridWithACopiedLineAsksTheNewLineDialog() {
        RunningEditor r;
        r.open(r.workspace.buildWorkingFile("small", kPrograms));
        ProgramGrid* lines = r.form()->DBGrid1();
        clickRow(lines, 1);
        QCOMPARE(r.form()->focusedGrid(), Grid::Lines);
        QCOMPARE(r.lines().recNo(), 1);
        r.clickButton(60);
        QCOMPARE(r.form()->Panel1()->Label2()->text(), QString("3/2"));
        QCOMPARE(r.form()->focusedGrid(), Grid::Lines);

        QString program;
        bool pasteEnabled = false;
        ModalScript script;
        script.then([&](QWidget* w) {
            auto* dialog = qobject_cast<TForm6*>(w);
            QVERIFY(dialog);
            program = dialog->Label2()->text();
            pasteEnabled = dialog->Button2()->isEnabled();
            dialog->Button2()->click();
        });
        r.clickButton(7);

        QVERIFY(script.done());
        QCOMPARE(program, QString("3"));
        QVERIFY(pasteEnabled);
        QCOMPARE(lines->model()->rowCount(), 3);
        QCOMPARE(cell(lines, 2, 0), QString("800"));
        QCOMPARE(cell(lines, 2, 3), QString("40"));
        QCOMPARE(lines->currentIndex().row(), 2);  // the new line, after the last one
        QCOMPARE(r.form()->focusedGrid(), Grid::Lines);
    }

    void deleteFollowsTheFocusedGrid() {
        RunningEditor r;
        r.open(r.workspace.buildWorkingFile("small", kPrograms));
        QStringList questions;
        QString caption, yes;
        ModalScript script;
        auto answerYes = [&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            questions << box->text();
            caption = box->windowTitle();
            yes = box->button(QMessageBox::Yes)->text().remove('&');
            box->button(QMessageBox::Yes)->click();
        };
        script.then(answerYes);
        script.then(answerYes);

        clickRow(r.form()->DBGrid1(), 0);
        r.clickButton(9);
        QCOMPARE(r.lines().recordCount(), 1);
        QCOMPARE(r.headers().recordCount(), 3);

        clickRow(r.form()->DBGrid0(), 0);
        r.clickButton(9);
        QCOMPARE(r.headers().recordCount(), 2);
        QCOMPARE(r.headers().asInteger(hdr::ProgNum), 8);

        QVERIFY(script.done());
        QCOMPARE(questions,
                 QStringList({"Удалить строку программы? ", "Удалить программу намотки? "}));
        QCOMPARE(caption, QString("Подтвердите удааление"));
        QCOMPARE(yes, QString("Да"));  // Qt's own texts are in Russian
        QCOMPARE(r.form()->focusedGrid(), Grid::Headers);
    }

    void theDeleteButtonFollowsTheGridThatTakesTheFocus() {
        RunningEditor r;
        r.open(r.workspace.buildWorkingFile("small", kPrograms));
        QToolButton* remove = r.form()->Panel1()->SpeedButton(9);
        clickRow(r.form()->DBGrid0(), 1);  // program 8 has no lines
        QCOMPARE(r.headers().asInteger(hdr::ProgNum), 8);
        QVERIFY(remove->isEnabled());

        QTest::mouseClick(r.form()->DBGrid1()->viewport(), Qt::LeftButton);
        settle();
        QCOMPARE(r.form()->focusedGrid(), Grid::Lines);
        QVERIFY(!remove->isEnabled());

        clickRow(r.form()->DBGrid0(), 2);  // program 12, with lines
        QCOMPARE(r.form()->focusedGrid(), Grid::Headers);
        QVERIFY(remove->isEnabled());
        clickRow(r.form()->DBGrid1(), 0);
        QVERIFY(remove->isEnabled());
    }

    void theGridsFollowTheCurrentRows() {
        RunningEditor r;
        r.open(r.workspace.buildWorkingFile("small", kPrograms));
        ProgramGrid* headers = r.form()->DBGrid0();
        ProgramGrid* lines = r.form()->DBGrid1();
        QCOMPARE(headers->currentIndex().row(), 0);
        QCOMPARE(lines->model()->rowCount(), 2);
        QCOMPARE(cell(headers, 0, 2), QString("12,5"));
        QCOMPARE(cell(lines, 0, 7), QString("0,355"));
        QVERIFY(!r.editor->workbench().state().modified);

        // The table's cursor moves the grids.
        QVERIFY(r.headers().findKey({Value::integer(12)}));
        settle();
        QCOMPARE(headers->currentIndex().row(), 2);
        QCOMPARE(lines->model()->rowCount(), 3);
        QCOMPARE(cell(lines, 1, 0), QString("1100"));
        QCOMPARE(cell(headers, 2, 2), QString("30,05"));

        // The grid moves the table's cursor, and merely moving marks the data modified.
        r.editor->workbench().state().modified = false;
        clickRow(headers, 0);
        QCOMPARE(r.headers().asInteger(hdr::ProgNum), 3);
        QCOMPARE(lines->model()->rowCount(), 2);
        QVERIFY(r.editor->workbench().state().modified);
        QTest::keyClick(headers, Qt::Key_Down);
        settle();
        QCOMPARE(r.headers().asInteger(hdr::ProgNum), 8);
        QCOMPARE(lines->model()->rowCount(), 0);
        QCOMPARE(headers->currentIndex().row(), 1);
    }

    void theGridsShowTheCataloguesColumnsInTableOrder() {
        RunningEditor r;
        const struct {
            ProgramGrid* grid;
            FieldTable table;
            int columns;
        } grids[] = {{r.form()->DBGrid0(), FieldTable::Headers, 8},
                     {r.form()->DBGrid1(), FieldTable::Lines, 19}};
        for (const auto& [grid, table, columns] : grids) {
            int column = 0;
            for (const FieldEntry& field : fieldsOf(table)) {
                if (!field.isGridColumn())
                    continue;
                const QString title = QString::fromUtf8(
                    field.grid.title.data(), static_cast<qsizetype>(field.grid.title.size()));
                QCOMPARE(grid->model()->headerData(column, Qt::Horizontal).toString(), title);
                QCOMPARE(grid->tableModel()->columns().at(column).field, field.index);
                if (field.grid.width > 0)
                    QCOMPARE(grid->columnWidth(column), field.grid.width);
                ++column;
            }
            QCOMPARE(column, columns);
            QCOMPARE(grid->model()->columnCount(), columns);
        }
    }

    void manyChangesInOneTurnReachTheGridOnce() {
        RunningEditor r;
        r.open(r.workspace.buildWorkingFile("small", kPrograms));
        QAbstractItemModel* model = r.form()->DBGrid1()->model();
        QSignalSpy resets(model, &QAbstractItemModel::modelReset);
        QSignalSpy changes(model, &QAbstractItemModel::dataChanged);
        for (int i = 0; i < 100; ++i) {
            r.lines().last();
            r.lines().setInteger(ln::param(1), 500 + i);
            r.lines().first();
        }
        QCOMPARE(changes.count() + resets.count(), 0);  // nothing before the turn ends
        settle();
        QCOMPARE(resets.count(), 0);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(cell(r.form()->DBGrid1(), 1, 0), QString("599"));
        QCOMPARE(r.form()->DBGrid1()->currentIndex().row(), 0);
    }

    void aNewRowLeftEmptyEndsWhenItsGridLosesTheFocus() {
        RunningEditor r;
        r.open(r.workspace.buildWorkingFile("small", kPrograms));
        clickRow(r.form()->DBGrid1(), 0);
        r.editor->workbench().state().bookkeepingEnabled = false;  // a bare insert of the engine
        r.lines().insert();
        QCOMPARE(r.lines().state(), TableState::Insert);
        clickRow(r.form()->DBGrid0(), 0);
        QCOMPARE(r.lines().state(), TableState::Browse);
        QCOMPARE(r.lines().recordCount(), 2);
    }

    void theStatusBarShowsTheWorkingFile() {
        RunningEditor r;
        QCOMPARE(r.form()->statusPanel(0)->text(), QString("Рабочий файл:"));
        QCOMPARE(r.form()->statusPanel(1)->text(), QString());
        QVERIFY(!r.form()->Panel1()->SpeedButton(4)->isEnabled());
        QVERIFY(!r.form()->Panel1()->SpeedButton(60)->isEnabled());
        QVERIFY(!r.form()->DBGrid1()->isEnabled());
        const std::string path = r.workspace.buildWorkingFile("small", kPrograms);
        r.open(path);
        QCOMPARE(r.form()->statusPanel(1)->text(), QString::fromStdString(path));
        QVERIFY(r.form()->Panel1()->SpeedButton(4)->isEnabled());
        QVERIFY(r.form()->Panel1()->SpeedButton(60)->isEnabled());
    }

    // Assistive technology finds the status bar by its role and reads its two panels.
    void theStatusBarIsAStatusBar() {
        RunningEditor r;
        const std::string path = r.workspace.buildWorkingFile("small", kPrograms);
        r.open(path);
        QStatusBar* bar = r.form()->StatusBar1();
        QVERIFY(bar);
        QCOMPARE(bar->height(), 22);
        QVERIFY(!bar->isSizeGripEnabled());
        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(bar);
        QVERIFY(access);
        QCOMPARE(access->role(), QAccessible::StatusBar);
        QStringList panels;
        for (int i = 0; i < access->childCount(); ++i)
            panels << access->child(i)->text(QAccessible::Name);
        QCOMPARE(panels, QStringList({"Рабочий файл:", QString::fromStdString(path)}));
        QCOMPARE(r.form()->statusPanel(0)->width(), 80);
    }

    void theEditButtonAndADoubleClickShowTheEditWindow() {
        RunningEditor r;
        QWidget* edit = r.editor->Form2();
        QVERIFY(!edit->isVisible());
        r.clickButton(10);
        QVERIFY(edit->isVisible());
        QCOMPARE(edit->windowTitle(), QString("Окно редактирования"));
        edit->hide();
        QTest::mouseDClick(r.form()->DBGrid0()->viewport(), Qt::LeftButton);
        settle();
        QVERIFY(edit->isVisible());
        QCOMPARE(r.form()->focusedGrid(), Grid::Headers);
    }

    void exitAsksTheClosingQuestionAndClosesTheWindow() {
        RunningEditor r;
        r.open(r.workspace.buildWorkingFile("small", kPrograms));
        clickRow(r.form()->DBGrid0(), 1);  // moving marks the data modified
        QString question;
        ModalScript script;
        script.then([&](QWidget* w) {
            question = messageText(w);
            clickMessageButton(w, QMessageBox::No);
        });
        r.clickButton(1);
        QVERIFY(script.done());
        QCOMPARE(question, QString("Сохранить данные? "));
        QVERIFY(!r.form()->isVisible());
    }

    void saveAsGoesThroughTheSaveDialog() {
        RunningEditor r;
        const std::string source = r.workspace.buildWorkingFile("small", kPrograms);
        r.open(source);
        const QString folder = QString::fromStdString(r.workspace.path("programs"));
        QDir().mkpath(folder);
        r.editor->workbench().state().dialogFolder = folder.toStdString() + "/";
        const QString target = folder + "/copy.bin";

        QStringList filters;
        QString suffix, directory, prompt;
        ModalScript script;
        script.then([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog);
            filters = dialog->nameFilters();
            suffix = dialog->defaultSuffix();
            directory = dialog->directory().absolutePath();
            // Typed as the operator would; the default extension completes it.
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText("copy");
            static_cast<QDialog*>(dialog)->accept();
        });
        script.then([&](QWidget* w) {  // a name that does not exist yet is confirmed
            prompt = messageText(w);
            clickMessageButton(w, QMessageBox::Yes);
        });
        r.clickButton(5);

        QVERIFY(script.done());
        QCOMPARE(filters, QStringList({"Двоичные файлы (*.bin) (*.bin)"}));
        QCOMPARE(suffix, QString("bin"));
        QCOMPARE(directory, folder);
        QVERIFY(prompt.startsWith(target));
        QVERIFY(QFileInfo(target).size() == 65536);
        QCOMPARE(r.form()->statusPanel(1)->text(), target);
        QVERIFY(r.form()->Panel1()->SpeedButton(4)->isEnabled());
    }

    void exportAndImportGoThroughTheProgrammerTool() {
        RunningEditor r;
        const QString tool = QString::fromStdString(r.workspace.installProgrammer());
        if (tool.isEmpty())
            QSKIP("the programmer stand-in is not built");
        const QString working =
            QString::fromStdString(r.workspace.buildWorkingFile("small", kPrograms));
        r.open(working.toStdString());

        const QString hexFile = QFileInfo(working).absolutePath() + "/" +
                                QFileInfo(working).completeBaseName() + ".hex";
        {
            // Enter gives the question's default answer, No: nothing is written or sent.
            ModalScript refused;
            refused.then([](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); });
            r.clickButton(12);
            QTRY_VERIFY(refused.done());
            QVERIFY(!QFileInfo::exists(hexFile));
            QVERIFY(!QFileInfo::exists(tool + "/pk2cmd-sim-eeprom.bin"));
        }
        {
            // The lines leave Param 2 and Param 7 outside the limits of ТАЛ-1: sent all the same.
            QString question;
            ModalScript asked;
            asked.then([&](QWidget* w) {
                question = messageText(w);
                clickMessageButton(w, QMessageBox::Yes);
            });
            r.clickButton(12);
            QTRY_VERIFY(asked.done());
            QVERIFY2(question.endsWith("Экспортировать всё равно?"), qPrintable(question));
        }
        const QString eeprom = tool + "/pk2cmd-sim-eeprom.bin";
        ProgrammerWindow* programmer = r.editor->programmerWindow();
        const QString done = "Программатор завершил работу успешно (код 0)";
        QTRY_VERIFY(programmer->output()->toPlainText().endsWith(
            "Память станка совпадает с записанными данными"));
        QCOMPARE(fileBytes(eeprom), fileBytes(working));

        ModalScript script;
        script.then([](QWidget* w) { clickMessageButton(w, QMessageBox::Yes); });  // delete
        clickRow(r.form()->DBGrid0(), 0);
        r.clickButton(9);
        QCOMPARE(r.headers().recordCount(), 2);

        const QString imported = QFileInfo(working).absolutePath() + "/imported.bin";
        QString prompt;
        script.then([&](QWidget* w) {
            w->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText("imported");
            static_cast<QDialog*>(w)->accept();
        });
        script.then([](QWidget* w) { clickMessageButton(w, QMessageBox::Yes); });  // create it
        script.then([&](QWidget* w) {
            prompt = messageText(w);
            // The operator presses OK once the programmer window says the tool has finished.
            QTRY_VERIFY(programmer->output()->toPlainText().endsWith(done));
            QVERIFY(programmer->output()->toPlainText().contains("/GF"));
            clickMessageButton(w, QMessageBox::Ok);
        });
        r.editor->workbench().state().dialogFolder =
            QFileInfo(working).absolutePath().toStdString() + "/";
        r.clickButton(11);

        QVERIFY(script.done());
        QCOMPARE(prompt, QString("После завершения процесса нажмите OK"));
        QCOMPARE(r.headers().recordCount(), 3);
        QCOMPARE(r.form()->DBGrid0()->model()->rowCount(), 3);
        QCOMPARE(r.form()->statusPanel(1)->text(), imported);
        QCOMPARE(fileBytes(imported), fileBytes(working));
    }

    // Save, Copy and Delete wait for programs from the start, before the first showing.
    void theToolbarButtonsAsTheWindowIsCreated() {
        Workspace workspace;
        Editor editor(workspace.executableFolder());
        QVERIFY(editor.started());
        QVERIFY(!editor.Form1()->isVisible());
        for (const int number : {1, 2, 3, 4, 5, 6, 60, 7, 8, 9, 10, 11, 12, 13, 15}) {
            const bool disabledAtStart = number == 4 || number == 60 || number == 9;
            QVERIFY2(editor.Form1()->Panel1()->SpeedButton(number)->isEnabled() != disabledAtStart,
                     qPrintable(QString::number(number)));
        }
    }

    void aMissingTableFileStopsTheStart() {
        Workspace workspace(Workspace::TableFiles);
        QStringList messages;
        ModalScript script;
        script.then([&](QWidget* w) {
            messages << w->windowTitle() + ": " + messageText(w);
            clickMessageButton(w, QMessageBox::Ok);
        });
        Editor editor(workspace.executableFolder());
        QVERIFY(!editor.started());
        QCOMPARE(messages, QStringList({"Загрузка приложения: Ошибка загрузки приложения"}));
    }

    void theEditWindowTakesTheModelsHintsAtStartUp() {
        {
            RunningEditor r;
            QWidget* edit = r.editor->Form2()->controls().find(Control::DBEdit1);
            QVERIFY(edit);
            QCOMPARE(edit->toolTip(), QString("Допустимые пределы 10..3000 об/мин"));
        }
        // Without the limits table the engine's error is reported, once for the edit window's
        // hints and once for the settings window's model list, and the editor goes on.
        Workspace workspace(Workspace::LimitsFile);
        QStringList captions;
        ModalScript script;
        for (int i = 0; i < 2; ++i)
            script.then([&](QWidget* w) {
                captions << w->windowTitle();
                clickMessageButton(w, QMessageBox::Ok);
            });
        Editor editor(workspace.executableFolder());
        QVERIFY(editor.started());
        QVERIFY(script.done());
        const QString title = QString::fromUtf8(kApplicationTitle);
        QCOMPARE(captions, QStringList({title, title}));
    }

    void anUnhandledErrorGoesToTheStandardReport() {
        QString caption, text, ok;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        ModalScript script;
        script.then([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            caption = box->windowTitle();
            text = box->text();
            icon = box->icon();
            ok = box->button(QMessageBox::Ok)->text();
            box->button(QMessageBox::Ok)->click();
        });
        runGuarded([] { throw ValidationError("Допустимые пределы 0..180 мм"); });
        QVERIFY(script.done());
        QCOMPARE(caption, QString::fromUtf8(kApplicationTitle));
        QCOMPARE(text, QString("Допустимые пределы 0..180 мм."));
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(ok, QString("OK"));
    }

    void theStandardReportEndsWithAFullStop_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "Ошибка записи"
                                << "Ошибка записи.";
        QTest::newRow("full stop") << "Ошибка."
                                   << "Ошибка.";
        QTest::newRow("below the full stop") << "Ошибка!"
                                             << "Ошибка!";
        QTest::newRow("bracket") << "(ошибка)"
                                 << "(ошибка)";
        QTest::newRow("slash is above") << "5/"
                                        << "5/.";
        QTest::newRow("digit") << "Строка 12"
                               << "Строка 12.";
        QTest::newRow("empty") << ""
                               << "";
    }
    void theStandardReportEndsWithAFullStop() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(standardErrorText(message), shown);
    }

    void gridTexts_data() {
        QTest::addColumn<int>("kind");  // 0 empty, 1 integer, 2 real
        QTest::addColumn<double>("number");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("shown");
        QTest::newRow("decimal comma") << 2 << 12.5 << 15 << "12,5";
        QTest::newRow("loaded hundredths") << 2 << 30.05 << 15 << "30,05";
        QTest::newRow("thousandths") << 2 << 0.355 << 15 << "0,355";
        QTest::newRow("six significant digits") << 2 << 123.4567 << 6 << "123,457";
        QTest::newRow("whole real") << 2 << 20.0 << 6 << "20";
        QTest::newRow("integer") << 1 << 40000.0 << 15 << "40000";
        QTest::newRow("empty") << 0 << 0.0 << 15 << "";
    }
    void gridTexts() {
        QFETCH(int, kind);
        QFETCH(double, number);
        QFETCH(int, digits);
        QFETCH(QString, shown);
        const Value value = kind == 0   ? Value()
                            : kind == 1 ? Value::integer(static_cast<std::int64_t>(number))
                                        : Value::real(number);
        const FieldType type = kind == 1 ? FieldType::Integer : FieldType::Float;
        QCOMPARE(fieldText(value, type, digits), shown);
    }
};

int runMainWindowTests(int argc, char** argv) {
    MainWindowTest test;
    return runTestObject(test, argc, argv);
}

#include "main_window_test.moc"
