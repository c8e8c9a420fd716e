#pragma once

#include "editor/desktop.h"

namespace tal::bench {

// A desktop that answers every question at once: the new-program dialog with `answer`,
// every question with Yes.
class BenchDesktop : public NullDesktop {
public:
    NewProgramResult answer{DialogAnswer::Create, 0};
    Grid focus = Grid::Headers;

    MessageAnswer showMessage(const std::string&, const std::string&, MessageIcon,
                              MessageButtons buttons) override {
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
    }
    Grid focusedGrid() override { return focus; }
    void focusGrid(Grid grid) override { focus = grid; }
    NewProgramResult askNewProgram(unsigned, bool) override { return answer; }
    DialogAnswer askNewLine(unsigned, bool) override { return DialogAnswer::Create; }
    bool runProgram(const ProgramLaunch&, ProgramFinished onFinished) override {
        onFinished({});
        return true;
    }
};

}  // namespace tal::bench
