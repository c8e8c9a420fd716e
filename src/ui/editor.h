#pragma once

#include <QObject>
#include <memory>
#include <string>

#include "editor/print_command.h"
#include "ui/qt_desktop.h"
#include "ui/qt_printer.h"
#include "workbench/workbench.h"

namespace tal {

class HistoryKeys;
class ProgrammerWindow;
class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm8;

// The running editor: the workbench, its desktop and its windows, created in start-up order,
// with every toolbar button, grid event and window event wired to its handler.
class Editor : public QObject {
    Q_OBJECT
public:
    // `executableFolder` holds TAL.ini and TAL.cfg; the table files are in the current folder.
    explicit Editor(std::string executableFolder);
    ~Editor() override;

    // False when start-up failed; the application then quits as soon as its event loop runs.
    bool started() const { return m_started; }

    // Shows the main window; its first showing empties the tables and the clipboard.
    void show();

    QtDesktop& desktop() { return m_desktop; }
    Workbench& workbench() { return m_bench; }
    TForm1* Form1() const { return m_form1.get(); }
    TForm2* Form2() const { return m_form2.get(); }
    TForm5* Form5() const { return m_form5.get(); }
    TForm6* Form6() const { return m_form6.get(); }
    ProgrammerWindow* programmerWindow() const { return m_programmer.get(); }
    TForm3* Form3() const { return m_form3.get(); }
    TForm4* Form4() const { return m_form4.get(); }
    TForm8* Form8() const { return m_form8.get(); }
    QtPrinter& printer() { return m_printer; }

private:
    bool FormCreate();
    void FormShow();
    void FormClose();
    void wireToolbar();
    void wireGrids();
    void gridExited(Table& table);

    std::string m_executableFolder;
    QtDesktop m_desktop;
    Workbench m_bench;
    // The windows go before the workbench whose tables they show.
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm2> m_form2;
    std::unique_ptr<TForm5> m_form5;
    std::unique_ptr<TForm6> m_form6;
    // Holds the end of a programmer run, which reaches into the workbench.
    std::unique_ptr<ProgrammerWindow> m_programmer;
    std::unique_ptr<TForm3> m_form3;
    std::unique_ptr<TForm4> m_form4;
    std::unique_ptr<TForm8> m_form8;
    QtPrinter m_printer;
    PrintCommand m_print{m_printer};
    std::unique_ptr<HistoryKeys> m_historyKeys;
    bool m_started = false;
};

}  // namespace tal
