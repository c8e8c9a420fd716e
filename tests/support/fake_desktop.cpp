#include "support/fake_desktop.h"

#include <ostream>

namespace tal::test {
namespace {

template <typename T>
T pop(std::deque<T>& queue, T fallback) {
    if (queue.empty())
        return fallback;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

}  // namespace

void PrintTo(const RecordedMessage& message, std::ostream* out) {
    static const char* const icons[] = {"no icon", "error", "information"};
    *out << '"' << message.text << "\" / \"" << message.caption << "\" ("
         << icons[static_cast<int>(message.icon)]
         << (message.buttons == MessageButtons::Ok ? ", OK)" : ", Yes/No)");
}

std::string controlName(Control control) {
    switch (control) {
        case Control::DBGrid1:
            return "DBGrid1";
        case Control::SpeedButton4:
            return "SpeedButton4";
        case Control::SpeedButton9:
            return "SpeedButton9";
        case Control::SpeedButton60:
            return "SpeedButton60";
        case Control::EditAddLine:
            return "EditAddLine";
        case Control::DBNavigator1:
            return "DBNavigator1";
        case Control::ScrollBox0:
            return "ScrollBox0";
        case Control::ScrollBox1:
            return "ScrollBox1";
        case Control::DBEdit17:
            return "DBEdit17";
        case Control::DBEdit18:
            return "DBEdit18";
    }
    return "?";
}

MessageAnswer FakeDesktop::showMessage(const std::string& text, const std::string& caption,
                                       MessageIcon icon, MessageButtons buttons) {
    messages.push_back({text, caption, icon, buttons});
    calls.push_back("message " + caption + ": " + text);
    const MessageAnswer fallback =
        buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    return pop(messageAnswers, fallback);
}

void FakeDesktop::focusGrid(Grid grid) {
    focus = grid;
    calls.push_back("focus " + std::to_string(static_cast<int>(grid)));
}

void FakeDesktop::setEnabled(Control control, bool on) {
    enabled[control] = on;
    calls.push_back("enable " + controlName(control) + " " + (on ? "1" : "0"));
}

void FakeDesktop::setHint(const std::string& control, const std::string& hint) {
    hints[control] = hint;
    calls.push_back("hint " + control + " " + hint);
}

void FakeDesktop::setClipboardIndicator(const std::string& text) {
    clipboardIndicator = text;
    calls.push_back("indicator " + text);
}

void FakeDesktop::setStatusFileName(const std::string& name) {
    statusFileName = name;
    calls.push_back("status " + name);
}

NewProgramResult FakeDesktop::askNewProgram(unsigned proposedNumber, bool pasteEnabled) {
    newProgramQuestions.emplace_back(proposedNumber, pasteEnabled);
    calls.push_back("new-program " + std::to_string(proposedNumber));
    return pop(newProgramAnswers, NewProgramResult{DialogAnswer::Cancel, 0});
}

DialogAnswer FakeDesktop::askNewLine(unsigned programNumber, bool pasteEnabled) {
    newLineQuestions.emplace_back(programNumber, pasteEnabled);
    calls.push_back("new-line " + std::to_string(programNumber));
    return pop(newLineAnswers, DialogAnswer::Cancel);
}

std::optional<std::string> FakeDesktop::chooseOpenFile(const FileDialogRequest& request) {
    openRequests.push_back(request);
    calls.push_back("open-dialog " + request.proposedName);
    return pop(openFileAnswers, std::optional<std::string>());
}

std::optional<std::string> FakeDesktop::chooseSaveFile(const FileDialogRequest& request) {
    saveRequests.push_back(request);
    calls.push_back("save-dialog " + request.proposedName);
    return pop(saveFileAnswers, std::optional<std::string>());
}

std::optional<std::string> FakeDesktop::chooseFolder(const std::string& title) {
    calls.push_back("folder-dialog " + title);
    return pop(folderAnswers, std::optional<std::string>());
}

void FakeDesktop::beep() {
    ++beeps;
    calls.push_back("beep");
}

bool FakeDesktop::startProgram(const ProgramLaunch& launch) {
    launches.push_back(launch);
    calls.push_back("start " + launch.program);
    return programRunner ? programRunner(launch) : startProgramResult;
}

void FakeDesktop::showEditWindow() {
    ++editWindowShown;
    calls.push_back("show-edit-window");
}

void FakeDesktop::showSettingsWindow() {
    ++settingsWindowShown;
    calls.push_back("show-settings-window");
}

bool FakeDesktop::isEnabled(Control control) const {
    auto it = enabled.find(control);
    return it != enabled.end() && it->second;
}

std::vector<RecordedMessage> FakeDesktop::takeMessages() {
    auto taken = std::move(messages);
    messages.clear();
    return taken;
}

}  // namespace tal::test
