#include "ui/qt_desktop.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QToolButton>

#include "ui/edit_window.h"
#include "ui/file_names.h"
#include "ui/find_dialogs.h"
#include "ui/main_window.h"
#include "ui/new_line_dialog.h"
#include "ui/new_program_dialog.h"
#include "ui/program_grid.h"
#include "ui/programmer_window.h"
#include "ui/settings_window.h"
#include "ui/tool_bar.h"

namespace tal {
namespace {

QString qs(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// "Двоичные файлы (*.bin)|*.bin;" as Qt wants it: the description shown as it is, the patterns
// in a trailing bracket the dialog hides.
QString nameFilter(const std::string& filter) {
    const QString text = qs(filter);
    const qsizetype bar = text.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return text;
    QStringList patterns = text.mid(bar + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& pattern : patterns)
        pattern = pattern.trimmed();
    return text.left(bar) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
           QLatin1Char(')');
}

void prepare(QFileDialog& dialog, const FileDialogRequest& request) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(nameFilter(request.filter));
    dialog.setDefaultSuffix(qs(request.defaultExtension));
    const QString folder = shownFileName(request.initialFolder);
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    if (!request.proposedName.empty())
        dialog.selectFile(shownFileName(request.proposedName));
}

std::optional<std::string> chosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return systemFileName(dialog.selectedFiles().constFirst());
}

}  // namespace

void QtDesktop::attach(TForm1* mainWindow, TForm2* editWindow, TForm5* newProgram,
                       TForm6* newLine) {
    m_main = mainWindow;
    m_edit = editWindow;
    m_newProgram = newProgram;
    m_newLine = newLine;
}

void QtDesktop::attachFindDialogs(TForm3* findProgram, TForm4* findLine) {
    m_findProgram = findProgram;
    m_findLine = findLine;
}

void QtDesktop::attachSettingsWindow(TForm8* settings) {
    m_settings = settings;
}

MessageAnswer QtDesktop::showMessage(const std::string& text, const std::string& caption,
                                     MessageIcon icon, MessageButtons buttons) {
    if (m_messageHook)
        return m_messageHook(text, caption, icon, buttons);
    const QMessageBox::Icon boxIcon = icon == MessageIcon::Error         ? QMessageBox::Critical
                                      : icon == MessageIcon::Information ? QMessageBox::Information
                                                                         : QMessageBox::NoIcon;
    QMessageBox::StandardButtons boxButtons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::Ok;
    if (buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoDefaultNo) {
        boxButtons = QMessageBox::Yes | QMessageBox::No;
        defaultButton = buttons == MessageButtons::YesNo ? QMessageBox::Yes : QMessageBox::No;
    } else if (buttons == MessageButtons::OkCancel) {
        boxButtons = QMessageBox::Ok | QMessageBox::Cancel;
    }
    QMessageBox box(boxIcon, qs(caption), qs(text), boxButtons);
    box.setDefaultButton(defaultButton);
    switch (box.exec()) {
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        case QMessageBox::Cancel:
            return MessageAnswer::Cancel;
        default:
            return buttons == MessageButtons::Ok         ? MessageAnswer::Ok
                   : buttons == MessageButtons::OkCancel ? MessageAnswer::Cancel
                                                         : MessageAnswer::No;
    }
}

Grid QtDesktop::focusedGrid() {
    return m_main ? m_main->focusedGrid() : Grid::None;
}

void QtDesktop::focusGrid(Grid grid) {
    if (m_main)
        m_main->focusGrid(grid);
}

QWidget* QtDesktop::findControl(Control control) const {
    if (m_main)
        if (QWidget* widget = m_main->controls().find(control))
            return widget;
    if (m_edit)
        if (QWidget* widget = m_edit->controls().find(control))
            return widget;
    return nullptr;
}

void QtDesktop::setEnabled(Control control, bool enabled) {
    if (QWidget* widget = findControl(control))
        widget->setEnabled(enabled);
}

void QtDesktop::setHint(Control control, const std::string& hint) {
    if (QWidget* widget = findControl(control))
        widget->setToolTip(qs(hint));
}

void QtDesktop::setClipboardIndicator(const std::string& text) {
    if (m_main) {
        QLabel* label = m_main->Panel1()->Label2();
        label->setText(qs(text));
        label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
    }
}

void QtDesktop::setStatusFileName(const std::string& name) {
    if (m_main)
        m_main->statusPanel(1)->setText(shownFileName(name));
}

NewProgramResult QtDesktop::askNewProgram(unsigned proposedNumber, bool pasteEnabled) {
    if (!m_newProgram)
        return {DialogAnswer::Cancel, 0};
    return m_newProgram->ask(proposedNumber, pasteEnabled);
}

DialogAnswer QtDesktop::askNewLine(unsigned programNumber, bool pasteEnabled) {
    if (!m_newLine)
        return DialogAnswer::Cancel;
    return m_newLine->ask(programNumber, pasteEnabled);
}

std::optional<long long> QtDesktop::askFindProgram(unsigned programNumberEntry) {
    return m_findProgram ? m_findProgram->ask(programNumberEntry) : std::nullopt;
}

std::optional<long long> QtDesktop::askFindLine(unsigned lineNumberEntry) {
    return m_findLine ? m_findLine->ask(lineNumberEntry) : std::nullopt;
}

std::optional<std::string> QtDesktop::chooseOpenFile(const FileDialogRequest& request) {
    if (!m_openAnswers.empty()) {
        std::string path = std::move(m_openAnswers.front());
        m_openAnswers.pop_front();
        return path;
    }
    QFileDialog dialog(nullptr, QString::fromUtf8("Открыть"));
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return chosenFile(dialog);
}

std::optional<std::string> QtDesktop::chooseSaveFile(const FileDialogRequest& request) {
    QFileDialog dialog(nullptr, QString::fromUtf8("Сохранить как"));
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Replacing an existing file is the command's own question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    for (;;) {
        auto chosen = chosenFile(dialog);
        if (!chosen || QFileInfo::exists(qs(*chosen)))
            return chosen;
        // A name that does not exist yet is accepted only when confirmed.
        const QString question =
            shownFileName(*chosen) + QString::fromUtf8("\nЭтот файл не существует.\nСоздать его?");
        QMessageBox box(QMessageBox::NoIcon, dialog.windowTitle(), question,
                        QMessageBox::Yes | QMessageBox::No);
        if (box.exec() == QMessageBox::Yes)
            return chosen;
        dialog.selectFile(shownFileName(*chosen));
    }
}

std::optional<std::string> QtDesktop::chooseFolder(const std::string& title) {
    const QString folder = QFileDialog::getExistingDirectory(
        nullptr, qs(title), QString(),
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (folder.isEmpty())
        return std::nullopt;
    return systemFileName(folder);
}

void QtDesktop::beep() {
    QApplication::beep();
}

bool QtDesktop::runProgram(const ProgramLaunch& launch, ProgramFinished onFinished) {
    return m_programmer && m_programmer->run(launch, std::move(onFinished));
}

void QtDesktop::reportProgramOutcome(const std::string& text, bool success) {
    if (m_programmer)
        m_programmer->report(QString::fromStdString(text), success);
}

void QtDesktop::showEditWindow() {
    if (m_edit)
        m_edit->showAndRaise();
}

void QtDesktop::showSettingsWindow() {
    if (m_settings)
        m_settings->showAndRaise();
}

void QtDesktop::closeMainWindow() {
    if (m_main)
        m_main->close();
}

void QtDesktop::quitApplication() {
    QTimer::singleShot(0, qApp, [] { QCoreApplication::quit(); });
}

}  // namespace tal
