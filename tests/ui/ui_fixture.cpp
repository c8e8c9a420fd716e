#include "ui_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMessageBox>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <vector>

#include "limits/limits_file.h"
#include "store/file_system.h"
#include "store/memory_image.h"
#include "store/table_files.h"
#include "store/text.h"
#include "support/file_bytes.h"
#include "support/tal_tool.h"
#include "ui/main_window.h"
#include "ui/program_grid.h"
#include "ui/tool_bar.h"

namespace tal::test {

Workspace::Workspace(Missing missing) {
    // Each editor keeps its recovery copy in its own workspace, never in the user's state folder.
    m_previousStateHome = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", QByteArray::fromStdString(m_dir.path("state")));
    std::filesystem::create_directories(m_dir.path("bin"));
    std::filesystem::create_directories(m_dir.path("work"));
    const Image blank = makeBlankImage();
    writeFileAtomically(m_dir.path("bin/TAL.ini"), imageBytes(blank));
    const std::string settings =
        "ТАЛ-1\n" + m_dir.path("programs") + "/\n" + m_dir.path("tool") + "/\n";
    writeFileAtomically(m_dir.path("bin/TAL.cfg"), *encodeCp1251(settings));
    std::string error;
    if (missing != TableFiles && !writeTableFiles(m_dir.path("work"), error))
        qFatal("table files: %s", error.c_str());
    if (missing != LimitsFile) {
        const LimitsReadResult limits = parseLimitsSource(deliveredLimitsSource());
        if (!limits.ok() || !writeLimitsFile(m_dir.path("work/TALC.DB"), limits.records, error))
            qFatal("limits: %s", error.c_str());
    } else {
        std::filesystem::remove(m_dir.path("work/TALC.DB"));
    }
    m_previousFolder = QDir::currentPath().toStdString();
    QDir::setCurrent(QString::fromStdString(m_dir.path("work")));
}

Workspace::~Workspace() {
    QDir::setCurrent(QString::fromStdString(m_previousFolder));
    qputenv("XDG_STATE_HOME", m_previousStateHome);
}

std::string Workspace::installProgrammer() const {
#ifdef PK2CMD_SIM_PATH
    const std::string folder = m_dir.path("tool");
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(PK2CMD_SIM_PATH, folder + "/PK2CMD.exe",
                               std::filesystem::copy_options::overwrite_existing);
    return folder;
#else
    return {};
#endif
}

std::string Workspace::buildWorkingFile(const std::string& name, const std::string& json) const {
    const std::string target = m_dir.path(name + ".bin");
    if (const ::testing::AssertionResult built = tal::test::buildWorkingFile(json, target);
        !built) {
        qWarning("%s", built.message());
        return {};
    }
    return target;
}

ModalScript::ModalScript() {
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &ModalScript::poll);
    m_timer.start();
}

void ModalScript::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) {
        m_handled = nullptr;
        return;
    }
    if (modal == m_handled) {
        if (m_answering == 0 && m_answers.empty())
            reject(modal);
        return;
    }
    if (m_answers.empty()) {
        reject(modal);
        return;
    }
    m_handled = modal;
    Answer answer = std::move(m_answers.front());
    m_answers.pop_front();
    ++m_answering;
    // Answered from the event loop rather than from this timer, so that a window the answer opens
    // in turn is answered too.
    QMetaObject::invokeMethod(
        this,
        [this, modal = QPointer<QWidget>(modal), answer = std::move(answer)] {
            if (modal)
                answer(modal);
            --m_answering;
            // A window that closed may come up again (the same dialog asked once more).
            if (modal && m_handled == modal && !modal->isVisible())
                m_handled = nullptr;
        },
        Qt::QueuedConnection);
}

void ModalScript::reject(QWidget* modal) {
    qWarning("unanswered modal window: %s", qPrintable(modal->windowTitle()));
    m_rejected = true;
    m_handled = nullptr;
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}

RunningEditor::RunningEditor() {
    editor = std::make_unique<Editor>(workspace.executableFolder());
    if (!editor->started())
        qFatal("the editor did not start");
    editor->show();
    form()->activateWindow();
    if (!QTest::qWaitForWindowActive(form()))
        qWarning("the main window did not become active");
    settle();
}

void RunningEditor::clickButton(int number) {
    QTest::mouseClick(form()->Panel1()->SpeedButton(number), Qt::LeftButton);
    settle();
}

void RunningEditor::open(const std::string& path) {
    editor->desktop().answerNextOpenDialog(path);
    clickButton(3);
}

int runTestObject(QObject& test, int argc, char** argv) {
    // Options that take a value, whose value is no function name.
    static const QStringList valued = {"-o",          "-maxwarnings", "-eventdelay", "-keydelay",
                                       "-mousedelay", "-platform",    "-iterations", "-median"};
    std::vector<char*> kept{argv[0]};
    bool named = false, ownsOne = false;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument.startsWith('-')) {
            kept.push_back(argv[i]);
            if (valued.contains(argument) && i + 1 < argc)
                kept.push_back(argv[++i]);
            continue;
        }
        named = true;
        const QByteArray function = argument.section(':', 0, 0).toLatin1() + "()";
        if (test.metaObject()->indexOfMethod(function.constData()) >= 0) {
            kept.push_back(argv[i]);
            ownsOne = true;
        }
    }
    if (named && !ownsOne)
        return 0;
    return QTest::qExec(&test, static_cast<int>(kept.size()), kept.data());
}

void settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

void clickRow(ProgramGrid* grid, int row) {
    const QRect rect = grid->visualRect(grid->model()->index(row, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
    settle();
}

QString messageText(QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    return box ? box->text() : QString();
}

void clickMessageButton(QWidget* w, int standardButton) {
    auto* box = qobject_cast<QMessageBox*>(w);
    if (!box)
        return;
    if (QAbstractButton* button =
            box->button(static_cast<QMessageBox::StandardButton>(standardButton)))
        button->click();
}

}  // namespace tal::test
