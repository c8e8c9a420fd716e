#include "ui/programmer_window.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>

#include "ui/look.h"

namespace tal {
namespace {

QString qs(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// One argument as the operator would type it: quoted when it holds a blank or a quote.
QString shown(const QString& argument) {
    if (!argument.isEmpty() && !argument.contains(QLatin1Char(' ')) &&
        !argument.contains(QLatin1Char('"')))
        return argument;
    QString quoted = argument;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString commandLine(const ProgramLaunch& launch) {
    QString line = shown(QDir::toNativeSeparators(qs(launch.program)));
    for (const std::string& argument : launch.arguments)
        line += QLatin1Char(' ') + shown(qs(argument));
    return line;
}

// Why the tool did not start, in the operator's words where the cause can be seen from here.
QString startFailure(const ProgramLaunch& launch, const QProcess& process) {
    const QString program = qs(launch.program);
    const QString folder = qs(launch.workingFolder);
    const bool hasFolder =
        program.contains(QLatin1Char('/')) || program.contains(QLatin1Char('\\'));
    if (!folder.isEmpty() && !QFileInfo(folder).isDir())
        return text("нет папки ") + QDir::toNativeSeparators(folder);
    if (hasFolder && !QFileInfo::exists(program))
        return text("нет файла ") + QDir::toNativeSeparators(program);
    if (hasFolder && !QFileInfo(program).isExecutable())
        return text("нет права на запуск файла ") + QDir::toNativeSeparators(program);
    return process.errorString();
}

QString endText(const ProgramExit& exit, bool stopped) {
    if (exit.crashed)
        return text(stopped ? "Программатор остановлен" : "Программатор завершил работу аварийно");
    return text(exit.exitCode == 0 ? "Программатор завершил работу успешно (код %1)"
                                   : "Программатор завершил работу с ошибкой (код %1)")
        .arg(exit.exitCode);
}

}  // namespace

ProgrammerWindow::ProgrammerWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("ProgrammerWindow"));
    setWindowTitle(text("Программатор"));
    setFont(windowFont(11));
    resize(640, 320);

    m_output = new QPlainTextEdit(this);
    m_output->setObjectName(QStringLiteral("Output"));
    m_output->setAccessibleName(text("Вывод программатора"));
    m_output->setReadOnly(true);
    m_output->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_output->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    m_stop = new QPushButton(text("Остановить"), this);
    m_stop->setObjectName(QStringLiteral("Stop"));
    m_stop->setAccessibleName(m_stop->text());
    m_stop->setEnabled(false);
    m_close = new QPushButton(text("Закрыть"), this);
    m_close->setObjectName(QStringLiteral("Close"));
    m_close->setAccessibleName(m_close->text());
    connect(m_stop, &QPushButton::clicked, this, &ProgrammerWindow::stop);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_stop);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_output, 1);
    layout->addLayout(buttons);
}

ProgrammerWindow::~ProgrammerWindow() {
    if (!m_process)
        return;
    // Nobody is left to tell about the end. Programming that is cut off leaves the EEPROM half
    // written, so the tool is given time to finish before it is stopped.
    m_process->disconnect(this);
    m_onFinished = nullptr;
    if (!m_process->waitForFinished(60000)) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
}

bool ProgrammerWindow::run(const ProgramLaunch& launch, ProgramFinished onFinished) {
    if (isRunning())
        return false;
    if (m_ending)
        append(QString(), Kind::Output);
    else
        m_output->clear();
    m_partLine[0].clear();
    m_partLine[1].clear();
    m_stopped = false;
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();

    append(text("Запуск: ") + commandLine(launch), Kind::Command);
    if (!launch.workingFolder.empty())
        append(text("Папка: ") + QDir::toNativeSeparators(qs(launch.workingFolder)), Kind::Command);

    auto* process = new QProcess(this);
    process->setProgram(qs(launch.program));
    QStringList arguments;
    for (const std::string& argument : launch.arguments)
        arguments << qs(argument);
    process->setArguments(arguments);
    process->setWorkingDirectory(qs(launch.workingFolder));
    process->setStandardInputFile(QProcess::nullDevice());
    process->start();
    // Only the start is waited for, which takes no longer than creating the process.
    if (!process->waitForStarted()) {
        append(text("Программатор не запустился: ") + startFailure(launch, *process), Kind::End);
        delete process;
        return false;
    }

    m_process = process;
    m_onFinished = std::move(onFinished);
    m_stop->setEnabled(true);
    connect(process, &QProcess::readyReadStandardOutput, this,
            [this] { read(QProcess::StandardOutput, false); });
    connect(process, &QProcess::readyReadStandardError, this,
            [this] { read(QProcess::StandardError, false); });
    connect(process, &QProcess::finished, this, &ProgrammerWindow::finished);
    return true;
}

void ProgrammerWindow::append(const QString& line, Kind kind) {
    QTextCharFormat format;
    switch (kind) {
        case Kind::Command:
            format.setForeground(QColor(0x00, 0x00, 0x80));
            break;
        case Kind::Output:
            break;
        case Kind::Error:
            format.setForeground(QColor(0xB0, 0x00, 0x00));
            break;
        case Kind::End:
            format.setFontWeight(QFont::Bold);
            break;
        case Kind::Success:
            format.setFontWeight(QFont::Bold);
            format.setForeground(QColor(0x00, 0x70, 0x00));
            break;
        case Kind::Failure:
            format.setFontWeight(QFont::Bold);
            format.setForeground(QColor(0xB0, 0x00, 0x00));
            break;
    }
    // Follows the output unless the operator scrolled back to read.
    QScrollBar* scroll = m_output->verticalScrollBar();
    const bool following = scroll->value() == scroll->maximum();
    QTextCursor cursor(m_output->document());
    cursor.movePosition(QTextCursor::End);
    if (!m_output->document()->isEmpty())
        cursor.insertBlock();
    cursor.insertText(line, format);
    if (following)
        scroll->setValue(scroll->maximum());
}

// Shows the complete lines that arrived; at the end, also a last line without its line end.
void ProgrammerWindow::read(QProcess::ProcessChannel channel, bool toTheEnd) {
    const bool error = channel == QProcess::StandardError;
    QByteArray& buffer = m_partLine[error ? 1 : 0];
    buffer += error ? m_process->readAllStandardError() : m_process->readAllStandardOutput();
    qsizetype start = 0;
    for (qsizetype end; (end = buffer.indexOf('\n', start)) >= 0; start = end + 1) {
        QByteArray line = buffer.mid(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        append(QString::fromLocal8Bit(line), error ? Kind::Error : Kind::Output);
    }
    buffer.remove(0, start);
    if (toTheEnd && !buffer.isEmpty()) {
        append(QString::fromLocal8Bit(buffer), error ? Kind::Error : Kind::Output);
        buffer.clear();
    }
}

void ProgrammerWindow::finished(int exitCode, QProcess::ExitStatus status) {
    read(QProcess::StandardOutput, true);
    read(QProcess::StandardError, true);
    ProgramExit exit;
    exit.crashed = status == QProcess::CrashExit;
    exit.exitCode = exit.crashed ? 0 : exitCode;
    append(endText(exit, m_stopped), Kind::End);

    m_process->deleteLater();
    m_process = nullptr;
    m_stop->setEnabled(false);
    // Last: the logic may start the next run from here.
    ProgramFinished onFinished;
    std::swap(onFinished, m_onFinished);
    if (!onFinished)
        return;
    m_ending = true;
    onFinished(exit);
    m_ending = false;
}

void ProgrammerWindow::report(const QString& text, bool success) {
    append(text, success ? Kind::Success : Kind::Failure);
}

void ProgrammerWindow::stop() {
    if (!m_process)
        return;
    m_stopped = true;
    m_process->kill();
}

}  // namespace tal
