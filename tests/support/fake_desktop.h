#pragma once

#include <deque>
#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "editor/desktop.h"

namespace tal::test {

struct RecordedMessage {
    std::string text;
    std::string caption;
    MessageIcon icon;
    MessageButtons buttons;
    bool operator==(const RecordedMessage&) const = default;
};
void PrintTo(const RecordedMessage& message, std::ostream* out);

// A scripted desktop: records every call in order and answers from queues. An empty queue
// answers No, Cancel or nothing, so a test that forgot an answer sees the command stop. Answers
// still queued when the desktop goes, or is replaced by assignment, fail the running GoogleTest
// test: a question the test expected was never asked. Qt tests check unusedAnswers() themselves.
class FakeDesktop : public NullDesktop {
    // Checks the answers being replaced; declared first so that it runs before they are.
    struct UnusedAnswersCheck {
        const FakeDesktop* owner;
        UnusedAnswersCheck& operator=(const UnusedAnswersCheck&) {
            owner->expectAllAnswersUsed();
            return *this;
        }
    } m_unusedAnswersCheck{this};

public:
    FakeDesktop() = default;
    FakeDesktop(const FakeDesktop&) = delete;
    FakeDesktop& operator=(const FakeDesktop&) = default;
    ~FakeDesktop() override;

    // Every call as one line, in order ("message Загрузка данных: ...", "enable SpeedButton9 0").
    std::vector<std::string> calls;
    std::vector<RecordedMessage> messages;

    std::deque<MessageAnswer> messageAnswers;
    std::deque<NewProgramResult> newProgramAnswers;
    std::deque<DialogAnswer> newLineAnswers;
    std::deque<std::optional<long long>> findProgramAnswers;  // nothing: "Отменить"
    std::deque<std::optional<long long>> findLineAnswers;
    std::deque<std::optional<std::string>> openFileAnswers;
    std::deque<std::optional<std::string>> saveFileAnswers;
    std::deque<std::optional<std::string>> folderAnswers;
    bool startProgramResult = true;
    // When set, starting a program runs this instead and answers what it returns.
    std::function<bool(const ProgramLaunch&)> programRunner;
    // A started program ends at once with `programExit`; with `holdPrograms` it runs on until
    // endProgram.
    ProgramExit programExit;
    bool holdPrograms = false;
    std::deque<ProgramFinished> runningPrograms;
    std::vector<std::pair<std::string, bool>> programOutcomes;  // text, success

    Grid focus = Grid::None;
    std::map<Control, bool> enabled;
    std::map<std::string, std::string> hints;
    std::string clipboardIndicator;
    std::string statusFileName;
    std::vector<FileDialogRequest> openRequests, saveRequests;
    std::vector<ProgramLaunch> launches;
    std::vector<std::pair<unsigned, bool>> newProgramQuestions;  // proposed number, paste enabled
    std::vector<std::pair<unsigned, bool>> newLineQuestions;     // program number, paste enabled
    std::vector<unsigned> findProgramQuestions;  // the entry each find dialog showed
    std::vector<unsigned> findLineQuestions;
    int beeps = 0;
    int editWindowShown = 0;
    int settingsWindowShown = 0;
    int mainWindowCloses = 0;
    int quits = 0;

    MessageAnswer showMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                              MessageButtons buttons) override;
    Grid focusedGrid() override { return focus; }
    void focusGrid(Grid grid) override;
    void setEnabled(Control control, bool on) override;
    void setHint(Control control, const std::string& hint) override;
    void setClipboardIndicator(const std::string& text) override;
    void setStatusFileName(const std::string& name) override;
    NewProgramResult askNewProgram(unsigned proposedNumber, bool pasteEnabled) override;
    DialogAnswer askNewLine(unsigned programNumber, bool pasteEnabled) override;
    std::optional<long long> askFindProgram(unsigned programNumberEntry) override;
    std::optional<long long> askFindLine(unsigned lineNumberEntry) override;
    std::optional<std::string> chooseOpenFile(const FileDialogRequest& request) override;
    std::optional<std::string> chooseSaveFile(const FileDialogRequest& request) override;
    std::optional<std::string> chooseFolder(const std::string& title) override;
    void beep() override;
    bool runProgram(const ProgramLaunch& launch, ProgramFinished onFinished) override;
    void reportProgramOutcome(const std::string& text, bool success) override;
    void showEditWindow() override;
    void showSettingsWindow() override;
    void closeMainWindow() override {
        ++mainWindowCloses;
        calls.push_back("close-main-window");
    }
    void quitApplication() override {
        ++quits;
        calls.push_back("quit");
    }

    // Ends the program started first of those still running.
    void endProgram(const ProgramExit& exit);

    bool isEnabled(Control control) const;
    // One line per queue that still holds answers ("2 messageAnswers"); empty when all were used.
    std::vector<std::string> unusedAnswers() const;
    // Fails the running test when answers are left, naming them.
    void expectAllAnswersUsed() const;
    // Messages shown since the last call, then forgets them.
    std::vector<RecordedMessage> takeMessages();
    // Takes the messages and expects exactly one: an error box under `caption` whose text holds
    // every part of `said`. Its text, or "" when there was not exactly one.
    std::string takeOneError(const std::string& caption, const std::vector<std::string>& said);
};

}  // namespace tal::test
