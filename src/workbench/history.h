#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "editor/image.h"
#include "editor/value.h"
#include "store/table.h"

namespace tal {

class ProgramStore;

// Undo and redo of the changes to the programs. A step is whatever changed the posted rows
// between two checkpoints: one command (a program or line created, pasted or deleted) or one
// posted edit of a row. Each state holds the rows of every program and currentImage; a program
// or an image that did not change is shared with the state before, so a step costs about what
// it changed.
class History {
public:
    static constexpr std::size_t kDepth = 100;

    explicit History(ProgramStore& store, std::size_t depth = kDepth);
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    // A fresh history that starts from the tables as they stand (New, Open, Import, start-up).
    void reset();
    // Records a step when the posted rows or currentImage differ from the last state. While a
    // row is being edited or inserted nothing is recorded: the step comes when it is posted.
    void checkpoint();
    // Run once for every change of the rows after a checkpoint, so that the caller can take the
    // next checkpoint when the command or the event at hand is over.
    void setChangeHandler(std::function<void()> handler) { m_changed = std::move(handler); }

    // Both first post a pending edit of either table (a refused one stays as it is and its
    // error passes through, nothing undone) and record it as a step. Then they put back the
    // programs before (after) the step and make current the program and line it changed;
    // `modified` becomes true. False when there was no step to undo (redo).
    bool undo();
    bool redo();
    std::size_t undoSteps() const { return m_at; }
    std::size_t redoSteps() const { return m_states.size() - 1 - m_at; }

private:
    using Row = std::vector<Value>;
    // One program number's rows: its header (empty when the lines have no header) and lines.
    struct Program {
        std::int64_t number = 0;
        Row header;
        std::vector<Row> lines;
    };
    using ProgramPtr = std::shared_ptr<const Program>;
    struct State {
        std::vector<ProgramPtr> programs;  // ascending program number
        std::shared_ptr<const Image> image;
        bool operator==(const State& other) const;
    };
    // Where two states first differ: the program number and the line position in it.
    struct Place {
        std::int64_t program = 0;
        int line = 0;
    };

    State capture();
    void restore(const State& target, const State& other);
    static Place firstDifference(const State& shown, const State& other);
    void postPending();
    void onChange(const TableChange& change);

    ProgramStore& m_store;
    std::size_t m_depth;
    std::deque<State> m_states;  // m_states[m_at] is what the tables hold
    std::size_t m_at = 0;
    bool m_dirty = false;
    bool m_restoring = false;
    std::function<void()> m_changed;
    Table::Subscription m_headerChanges;
    Table::Subscription m_lineChanges;
};

}  // namespace tal
