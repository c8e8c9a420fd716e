#include "workbench/history.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "editor/editor_state.h"
#include "store/editing_tables.h"
#include "store/program_store.h"

namespace tal {
namespace {

bool changesRows(ChangeKind kind) {
    return kind == ChangeKind::RowsInserted || kind == ChangeKind::RowsRemoved ||
           kind == ChangeKind::RowMoved || kind == ChangeKind::ValuesChanged;
}

// Sets a flag for a scope, and puts back what it was also when an error passes through.
class Assign {
public:
    Assign(bool& flag, bool value) : m_flag(flag), m_old(flag) { m_flag = value; }
    ~Assign() { m_flag = m_old; }
    Assign(const Assign&) = delete;
    Assign& operator=(const Assign&) = delete;

private:
    bool& m_flag;
    bool m_old;
};

}  // namespace

bool History::State::operator==(const State& other) const {
    return image == other.image && programs == other.programs;
}

History::History(ProgramStore& store, std::size_t depth) : m_store(store), m_depth(depth) {
    auto listen = [this](const Table&, const TableChange& change) { onChange(change); };
    m_headerChanges = store.headers().subscribe(listen);
    m_lineChanges = store.lines().subscribe(listen);
    reset();
}

void History::onChange(const TableChange& change) {
    if (m_restoring)
        return;
    const bool rows = changesRows(change.kind);
    m_dirty = m_dirty || rows;
    // A posted edit is heard as the return to browse state.
    if (m_dirty && m_changed && (rows || change.kind == ChangeKind::StateChanged))
        m_changed();
}

void History::reset() {
    m_states.clear();
    m_at = 0;
    m_states.push_back(capture());
    m_dirty = false;
}

History::State History::capture() {
    const Table& headers = m_store.headers();
    const Table& lines = m_store.lines();
    const State* previous = m_states.empty() ? nullptr : &m_states[m_at];
    State state;
    const Image& image = m_store.state().currentImage;
    state.image = previous && *previous->image == image ? previous->image
                                                        : std::make_shared<const Image>(image);

    constexpr auto kNone = std::numeric_limits<std::int64_t>::max();
    const int headerCount = headers.storedRowCount();
    const int lineCount = lines.storedRowCount();
    int h = 0;
    int l = 0;
    std::size_t p = 0;
    while (h < headerCount || l < lineCount) {
        const std::int64_t headerNumber =
            h < headerCount ? headers.storedValue(h, hdr::ProgNum).asInteger() : kNone;
        const std::int64_t lineNumber =
            l < lineCount ? lines.storedValue(l, ln::ProgNum).asInteger() : kNone;
        const std::int64_t number = std::min(headerNumber, lineNumber);
        const int headerRow = headerNumber == number ? h++ : -1;
        const int firstLine = l;
        while (l < lineCount && lines.storedValue(l, ln::ProgNum).asInteger() == number)
            ++l;

        while (previous && p < previous->programs.size() && previous->programs[p]->number < number)
            ++p;
        if (previous && p < previous->programs.size() && previous->programs[p]->number == number) {
            const Program& old = *previous->programs[p];
            bool same = (headerRow < 0) == old.header.empty() &&
                        (headerRow < 0 || old.header == headers.storedRow(headerRow)) &&
                        old.lines.size() == static_cast<std::size_t>(l - firstLine);
            for (int row = firstLine; same && row < l; ++row)
                same = old.lines[row - firstLine] == lines.storedRow(row);
            if (same) {
                state.programs.push_back(previous->programs[p]);
                continue;
            }
        }
        auto program = std::make_shared<Program>();
        program->number = number;
        if (headerRow >= 0)
            program->header = headers.storedRow(headerRow);
        program->lines.reserve(l - firstLine);
        for (int row = firstLine; row < l; ++row)
            program->lines.push_back(lines.storedRow(row));
        state.programs.push_back(std::move(program));
    }
    return state;
}

void History::checkpoint() {
    if (!m_dirty || m_restoring)
        return;
    for (Table* table : {&m_store.headers(), &m_store.lines()})
        if (table->state() == TableState::Edit || table->state() == TableState::Insert)
            return;
    m_dirty = false;
    State now = capture();
    if (now == m_states[m_at])
        return;
    m_states.erase(m_states.begin() + static_cast<std::ptrdiff_t>(m_at) + 1, m_states.end());
    m_states.push_back(std::move(now));
    ++m_at;
    while (m_states.size() > m_depth + 1) {
        m_states.pop_front();
        --m_at;
    }
}

void History::postPending() {
    for (Table* table : {&m_store.lines(), &m_store.headers()})
        if (table->state() == TableState::Edit || table->state() == TableState::Insert)
            table->post();
    checkpoint();
}

bool History::undo() {
    postPending();
    if (m_at == 0)
        return false;
    restore(m_states[m_at - 1], m_states[m_at]);
    --m_at;
    return true;
}

bool History::redo() {
    postPending();
    if (m_at + 1 >= m_states.size())
        return false;
    restore(m_states[m_at + 1], m_states[m_at]);
    ++m_at;
    return true;
}

History::Place History::firstDifference(const State& shown, const State& other) {
    static const std::vector<Row> none;
    auto equal = [](const ProgramPtr& a, const ProgramPtr& b) {
        return a == b || (a->header == b->header && a->lines == b->lines);
    };
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < shown.programs.size() || j < other.programs.size()) {
        const Program* a = i < shown.programs.size() ? shown.programs[i].get() : nullptr;
        const Program* b = j < other.programs.size() ? other.programs[j].get() : nullptr;
        if (a && b && a->number == b->number && equal(shown.programs[i], other.programs[j])) {
            ++i;
            ++j;
            continue;
        }
        if (!a || (b && b->number < a->number))
            return {b->number, 0};  // only in the other state: where it would stand
        const std::vector<Row>& before = b && b->number == a->number ? b->lines : none;
        const std::vector<Row>& after = a->lines;
        const std::size_t common = std::min(before.size(), after.size());
        std::size_t line = 0;
        while (line < common && before[line][ln::CurStr] == after[line][ln::CurStr])
            ++line;
        if (line == common && before.size() == after.size()) {
            line = 0;
            while (line < common && before[line] == after[line])
                ++line;
            if (line == common)
                line = 0;  // only the header changed
        }
        return {a->number, static_cast<int>(line)};
    }
    return {};
}

void History::restore(const State& target, const State& other) {
    Table& headers = m_store.headers();
    Table& lines = m_store.lines();
    EditorState& state = m_store.state();
    std::vector<Row> headerRows;
    std::vector<Row> lineRows;
    for (const ProgramPtr& program : target.programs) {
        if (!program->header.empty())
            headerRows.push_back(program->header);
        lineRows.insert(lineRows.end(), program->lines.begin(), program->lines.end());
    }
    const Place place = firstDifference(target, other);
    {
        Assign restoring(m_restoring, true);
        Assign noBookkeeping(state.bookkeepingEnabled, false);
        state.currentImage = *target.image;
        headers.replaceRows(std::move(headerRows));
        lines.replaceRows(std::move(lineRows));
        int row = 0;
        while (row + 1 < headers.recordCount() &&
               headers.rowValue(row, hdr::ProgNum).asInteger() < place.program)
            ++row;
        headers.first();
        headers.moveBy(row);
        lines.first();
        lines.moveBy(place.line);
    }
    m_dirty = false;
    state.modified = true;
    m_store.updateEnabling();
}

}  // namespace tal
