#include "support/fake_desktop.h"

#include <gtest/gtest.h>

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
         << (message.buttons == MessageButtons::Ok         ? ", OK)"
             : message.buttons == MessageButtons::YesNo    ? ", Yes/No)"
             : message.buttons == MessageButtons::OkCancel ? ", OK/Cancel)"
                                                           : ", Yes/No, No by default)");
}

MessageAnswer FakeDesktop::showMessage(const std::string& text, const std::string& caption,
                                       MessageIcon icon, MessageButtons buttons) {
    messages.push_back({text, caption, icon, buttons});
    calls.push_back("message " + caption + ": " + text);
    const MessageAnswer fallback = NullDesktop::showMessage(text, caption, icon, buttons);
    return pop(messageAnswers, fallback);
}

void FakeDesktop::focusGrid(Grid grid) {
    focus = grid;
    calls.push_back("focus " + std::to_string(static_cast<int>(grid)));
}

void FakeDesktop::setEnabled(Control control, bool on) {
    enabled[control] = on;
    calls.push_back("enable " + std::string(controlName(control)) + " " + (on ? "1" : "0"));
}

void FakeDesktop::setHint(Control control, const std::string& hint) {
    hints[controlName(control)] = hint;
    calls.push_back("hint " + std::string(controlName(control)) + " " + hint);
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

std::optional<long long> FakeDesktop::askFindProgram(unsigned programNumberEntry) {
    findProgramQuestions.push_back(programNumberEntry);
    calls.push_back("find-program " + std::to_string(programNumberEntry));
    return pop(findProgramAnswers, std::optional<long long>());
}

std::optional<long long> FakeDesktop::askFindLine(unsigned lineNumberEntry) {
    findLineQuestions.push_back(lineNumberEntry);
    calls.push_back("find-line " + std::to_string(lineNumberEntry));
    return pop(findLineAnswers, std::optional<long long>());
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

bool FakeDesktop::runProgram(const ProgramLaunch& launch, ProgramFinished onFinished) {
    launches.push_back(launch);
    calls.push_back("start " + launch.program);
    if (!(programRunner ? programRunner(launch) : startProgramResult))
        return false;
    if (holdPrograms)
        runningPrograms.push_back(std::move(onFinished));
    else
        onFinished(programExit);
    return true;
}

void FakeDesktop::reportProgramOutcome(const std::string& text, bool success) {
    programOutcomes.emplace_back(text, success);
    calls.push_back("outcome " + text);
}

void FakeDesktop::endProgram(const ProgramExit& exit) {
    ASSERT_FALSE(runningPrograms.empty()) << "no program is running";
    const ProgramFinished onFinished = std::move(runningPrograms.front());
    runningPrograms.pop_front();
    calls.push_back("end " + std::to_string(exit.exitCode));
    onFinished(exit);
}

void FakeDesktop::showEditWindow() {
    ++editWindowShown;
    calls.push_back("show-edit-window");
}

void FakeDesktop::showSettingsWindow() {
    ++settingsWindowShown;
    calls.push_back("show-settings-window");
}

FakeDesktop::~FakeDesktop() {
    expectAllAnswersUsed();
}

std::vector<std::string> FakeDesktop::unusedAnswers() const {
    std::vector<std::string> left;
    const auto note = [&left](std::size_t count, const char* queue) {
        if (count > 0)
            left.push_back(std::to_string(count) + " " + queue);
    };
    note(messageAnswers.size(), "messageAnswers");
    note(newProgramAnswers.size(), "newProgramAnswers");
    note(newLineAnswers.size(), "newLineAnswers");
    note(findProgramAnswers.size(), "findProgramAnswers");
    note(findLineAnswers.size(), "findLineAnswers");
    note(openFileAnswers.size(), "openFileAnswers");
    note(saveFileAnswers.size(), "saveFileAnswers");
    note(folderAnswers.size(), "folderAnswers");
    return left;
}

void FakeDesktop::expectAllAnswersUsed() const {
    const std::vector<std::string> left = unusedAnswers();
    if (left.empty())
        return;
    std::string text;
    for (const std::string& queue : left)
        text += (text.empty() ? "" : ", ") + queue;
    ADD_FAILURE() << "the fake desktop was left scripted answers nobody asked for: " << text;
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

std::string FakeDesktop::takeOneError(const std::string& caption,
                                      const std::vector<std::string>& said) {
    const auto taken = takeMessages();
    EXPECT_EQ(taken.size(), 1u);
    if (taken.size() != 1)
        return "";
    EXPECT_EQ(taken[0].caption, caption);
    EXPECT_EQ(taken[0].icon, MessageIcon::Error);
    for (const std::string& part : said)
        EXPECT_NE(taken[0].text.find(part), std::string::npos) << part << "\n" << taken[0].text;
    return taken[0].text;
}

}  // namespace tal::test
