#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace tal {

enum class TableState { Inactive, Browse, Edit, Insert };

// What a table announces after (or, for a close, just before) a change.
enum class ChangeKind {
    Reset,          // opened, closed, refreshed, or the visible rows replaced (the master moved)
    RowsInserted,   // `count` rows now stand at `row`
    RowsRemoved,    // `count` rows that stood at `row` are gone
    RowMoved,       // the row at `from` now stands at `row` (its key changed)
    ValuesChanged,  // `fields` of the rows `row` .. `row + count - 1` changed
    CursorMoved,    // another row is current: `row`
    StateChanged,   // the table entered `state`
};

// Rows are counted among the visible rows from 0; the pending new row of an insert is row -1.
struct TableChange {
    ChangeKind kind = ChangeKind::Reset;
    int row = -1;
    int count = 0;
    int from = -1;
    std::uint32_t fields = 0;  // ValuesChanged: one bit per field index
    TableState state = TableState::Browse;

    bool hasField(int field) const { return (fields >> field) & 1u; }
    // Whether rows `row` .. `row + count - 1` include `position` (-1: the pending row).
    bool coversRow(int position) const {
        return position < 0 ? row < 0 : row >= 0 && position >= row && position < row + count;
    }
};

class Table;

// Announcements reach their listeners in the order they subscribed. A listener may unsubscribe,
// or subscribe others, while an announcement is delivered; one that left hears nothing more.
class TableListeners {
public:
    using Listener = std::function<void(const Table&, const TableChange&)>;

    // Detaches its listener when it goes; outliving the table is harmless.
    class Subscription {
    public:
        Subscription() = default;
        Subscription(Subscription&& other) noexcept { *this = std::move(other); }
        Subscription& operator=(Subscription&& other) noexcept;
        Subscription(const Subscription&) = delete;
        Subscription& operator=(const Subscription&) = delete;
        ~Subscription() { reset(); }
        void reset();

    private:
        friend class TableListeners;
        struct Entry;
        std::weak_ptr<Entry> m_entry;
        TableListeners* m_owner = nullptr;
    };

    TableListeners() = default;
    TableListeners(const TableListeners&) = delete;
    TableListeners& operator=(const TableListeners&) = delete;

    [[nodiscard]] Subscription add(Listener listener);
    void deliver(const Table& table, const TableChange& change);
    bool empty() const { return m_entries.empty(); }

private:
    std::vector<std::shared_ptr<Subscription::Entry>> m_entries;
};

struct TableListeners::Subscription::Entry {
    Listener listener;
    bool attached = true;
};

}  // namespace tal
