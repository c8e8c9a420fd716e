#pragma once

#include <QByteArray>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "support/temp_folder.h"
#include "ui/editor.h"

namespace tal {
class ProgramGrid;
}

namespace tal::test {

// A workspace like the one the editor is installed in: a folder standing for the executable's
// (TAL.ini, TAL.cfg naming the model ТАЛ-1) and a working folder holding the table files and the
// delivered limits, made the current folder.
class Workspace {
public:
    enum Missing { Nothing, TableFiles, LimitsFile };
    explicit Workspace(Missing missing = Nothing);
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    std::string executableFolder() const { return m_dir.path("bin") + "/"; }
    std::string path(const std::string& name) const { return m_dir.path(name); }
    // Puts the programmer stand-in as PK2CMD.exe into the programmer folder TAL.cfg names, and
    // gives that folder; empty when the stand-in is not built.
    std::string installProgrammer() const;
    // Builds a working file from the JSON of `tal build`; empty on failure.
    std::string buildWorkingFile(const std::string& name, const std::string& json) const;

private:
    TempFolder m_dir;
    std::string m_previousFolder;
    QByteArray m_previousStateHome;
};

// Answers modal windows (message boxes, the small dialogs) one after the other as they come up.
// A window no answer is left for, or one an answer left open, is rejected, so that a failing
// test ends instead of waiting for a click.
class ModalScript : public QObject {
public:
    using Answer = std::function<void(QWidget*)>;
    ModalScript();
    void then(Answer answer) { m_answers.push_back(std::move(answer)); }
    // Every answer was used, and no window had to be rejected.
    bool done() const { return m_answers.empty() && !m_rejected; }

private:
    void poll();
    void reject(QWidget* modal);
    QTimer m_timer;
    std::deque<Answer> m_answers;
    QPointer<QWidget> m_handled;
    int m_answering = 0;
    bool m_rejected = false;
};

// An editor on a workspace, shown and active, its grids up to date.
struct RunningEditor {
    Workspace workspace;
    std::unique_ptr<Editor> editor;

    RunningEditor();
    TForm1* form() const { return editor->Form1(); }
    Table& headers() { return editor->workbench().store().headers(); }
    Table& lines() { return editor->workbench().store().lines(); }
    void clickButton(int number);
    // Opens a working file through the Open command.
    void open(const std::string& path);
};

// Lets the queued grid updates run.
void settle();

// Clicks the first cell of `row` of a grid, as the operator would, and lets the updates run.
void clickRow(ProgramGrid* grid, int row);

// Runs the Qt Test functions of `test`. Functions named on the command line run only in the class
// that has them; a class with none of them is passed over instead of failing "not found".
int runTestObject(QObject& test, int argc, char** argv);

// The text of the message box `w` (a QMessageBox), its caption, and clicks its button `which`.
QString messageText(QWidget* w);
void clickMessageButton(QWidget* w, int standardButton);

}  // namespace tal::test
