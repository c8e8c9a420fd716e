#pragma once

#include <QByteArray>
#include <QProcess>
#include <QWidget>

#include "editor/desktop.h"

class QPlainTextEdit;
class QPushButton;

namespace tal {

// The programmer window: the tool has no window of its own on this desktop, so this one shows
// the command line of its last run, every line it prints (standard output and standard error)
// as it comes, how it ended, and the logic's verdict on it. A run clears it and brings it to the
// front, except a run started as the one before ends (the read-back after a write), which goes
// on below it; it stays until the operator closes it.
class ProgrammerWindow : public QWidget {
    Q_OBJECT
public:
    explicit ProgrammerWindow(QWidget* parent = nullptr);
    ~ProgrammerWindow() override;

    // Starts the tool with its output captured. False, with the reason in the window, when it
    // could not be started or another run is still going; otherwise `onFinished` runs from the
    // event loop once it has ended.
    bool run(const ProgramLaunch& launch, ProgramFinished onFinished);
    bool isRunning() const { return m_process != nullptr; }
    // The logic's verdict, under the output.
    void report(const QString& text, bool success);

    QPlainTextEdit* output() const { return m_output; }
    QPushButton* stopButton() const { return m_stop; }
    QPushButton* closeButton() const { return m_close; }

private:
    enum class Kind { Command, Output, Error, End, Success, Failure };
    void append(const QString& line, Kind kind);
    void read(QProcess::ProcessChannel channel, bool toTheEnd);
    void finished(int exitCode, QProcess::ExitStatus status);
    void stop();

    QPlainTextEdit* m_output;
    QPushButton* m_stop;
    QPushButton* m_close;
    QProcess* m_process = nullptr;  // the run going on
    ProgramFinished m_onFinished;
    QByteArray m_partLine[2];  // a line begun on standard output, on standard error
    bool m_stopped = false;
    bool m_ending = false;  // the logic is being told of an end
};

}  // namespace tal
