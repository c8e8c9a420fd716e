#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "editor/value.h"
#include "store/table_change.h"

namespace tal {

// An error of the table engine (closed table, unknown field, wrong table file, ...).
class EngineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text that is no value of its field's type ("'12,5' is not a valid integer value"), refused
// by the engine before any check sees it; the message is shown to the operator as it stands.
class ConversionError : public EngineError {
public:
    using EngineError::EngineError;
};

// A value refused by a field check; the message is shown to the operator.
class ValidationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class FieldType { SmallInt, Integer, Float, String, AutoInc };

struct FieldDef {
    std::string name;
    FieldType type;
    int size = 0;  // characters, for String
};

// An in-memory dataset with a cursor, edit states, an index order kept incrementally,
// events, field checks and an optional master table.
class Table {
    struct Row;

public:
    using Handler = std::function<void(Table&)>;
    using Validator = std::function<void(Table&, int field)>;

    // `indexFields` give the order of the active index; `caseInsensitiveIndex` folds texts.
    Table(std::string name, std::vector<FieldDef> fields, std::vector<std::string> indexFields,
          bool caseInsensitiveIndex = false);
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    const std::string& name() const { return m_name; }
    const std::vector<FieldDef>& fields() const { return m_fields; }
    int fieldIndex(std::string_view fieldName) const;  // EngineError when unknown

    // Runs on every Open before the table becomes active; throws EngineError to refuse.
    void setOpenCheck(std::function<void()> check) { m_openCheck = std::move(check); }
    void open();
    void close();
    bool isOpen() const { return m_state != TableState::Inactive; }
    TableState state() const { return m_state; }
    // A value of the pending or edited row was assigned since the insert or edit began.
    bool rowModified() const {
        return (m_state == TableState::Edit || m_state == TableState::Insert) && m_rowModified;
    }

    // A read-only table refuses every change of its rows (insert, edit, assignment, delete)
    // with an EngineError; its owner lifts the flag only to fill it.
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool readOnly() const { return m_readOnly; }

    // Makes this table the detail of `master`: while the master is open, only the rows whose
    // first index field equals the master's `masterField` are visible.
    void setMaster(Table* master, std::string_view masterField);

    void first();
    void last();
    void next();
    void prior();
    void moveBy(int distance);
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    // Visible rows, without a pending new row.
    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0 && !m_pending; }
    // Position of the current row among the visible rows (0-based); -1 when there is none.
    int recNo() const;

    void append();
    void insert();
    void edit();
    void post();
    void cancel();
    void remove();  // Delete: the following row becomes current
    bool findKey(const std::vector<Value>& key);
    // Saves a pending change, then shows the rows anew from the first.
    void refresh();

    // The current row (the pending one while inserting).
    const Value& value(int field) const;
    const Value& value(std::string_view fieldName) const { return value(fieldIndex(fieldName)); }
    std::int64_t asInteger(int field) const { return value(field).asInteger(); }
    double asFloat(int field) const { return value(field).asFloat(); }
    std::string asText(int field) const { return value(field).asText(); }
    bool hasCurrentRow() const;

    // Assigns through the field's check; in browse state the table enters edit state first.
    // A text given to a numeric field is read as typed text is (ConversionError when it is no
    // number). An integer reaches the check in full; one the field cannot hold (smallint 16 bits,
    // integer 32) is then refused with an EngineError and the field keeps its value.
    void setValue(int field, Value v);
    // A refusal of a value beyond the field's check: nothing, or the message of an EngineError.
    using Limit = std::function<std::optional<std::string>(const Value&)>;
    // setValue with `limit` asked after the field's check has accepted the value, so that the
    // check's own refusal comes first.
    void setValue(int field, Value v, const Limit& limit);
    void setInteger(int field, std::int64_t v) { setValue(field, Value::integer(v)); }
    void setFloat(int field, double v) { setValue(field, Value::real(v)); }
    void setText(int field, std::string v) { setValue(field, Value::text(std::move(v))); }
    void clear(int field) { setValue(field, Value()); }
    // Several fields of the current row at once, each through its check, with one notification.
    void setValues(std::span<std::pair<int, Value>> values);

    // Access to one visible row during updateVisibleRows.
    class RowAccess {
    public:
        int index() const { return m_index; }  // among the visible rows
        std::int64_t integer(int field) const;
        // For fields without a check only; EngineError when the field cannot hold v.
        void setInteger(int field, std::int64_t v);

    private:
        friend class Table;
        Table* m_table = nullptr;
        Row* m_row = nullptr;
        int m_index = 0;
        int m_firstChanged = -1;
        int m_lastChanged = -1;
        std::uint32_t m_fields = 0;
        bool m_changed = false;
        bool m_keyChanged = false;
        bool m_linkChanged = false;
    };
    // Replaces every row with `rows` (values in field order), for loaders that fill the table
    // from storage: each value is converted and must fit its field (an EngineError leaves the
    // table as it was), a pending change is discarded, the rows are put in index order, no check
    // or handler runs, and one reset is announced. The cursor goes to the first visible row. An
    // automatic key that is given is kept (later appends follow the highest), an empty one made.
    void replaceRows(std::vector<std::vector<Value>> rows);
    // Saves a pending row, then lets `edit` change fields of every visible row from the first
    // to the last, without moving the cursor, and announces the change once. The edit must keep
    // the rows in index order.
    void updateVisibleRows(const std::function<void(RowAccess&)>& edit);

    // Visible row k (0-based), for readers that do not move the cursor (grids, storing).
    const Value& rowValue(int row, int field) const;
    // Every posted row in index order, whatever the master shows.
    int storedRowCount() const { return static_cast<int>(m_rows.size()); }
    const Value& storedValue(int row, int field) const { return m_rows.at(row)->values.at(field); }
    const std::vector<Value>& storedRow(int row) const { return m_rows.at(row)->values; }

    Handler beforeInsert, afterInsert, beforeDelete, afterDelete, afterScroll;
    void setValidator(int field, Validator validator);

    using Subscription = TableListeners::Subscription;
    // Every change, as it happens (see TableChange).
    [[nodiscard]] Subscription subscribe(TableListeners::Listener listener) {
        return m_listeners.add(std::move(listener));
    }
    // Asked before a pending change is saved, by Post and by every implicit post: controls that
    // hold typed text not yet assigned assign it now. An error thrown here stops the post.
    [[nodiscard]] Subscription subscribeUpdateRecord(std::function<void()> update) {
        return m_updateRecord.add(
            [update = std::move(update)](const Table&, const TableChange&) { update(); });
    }

private:
    struct Row {
        std::vector<Value> values;
    };

    using RowPtr = std::unique_ptr<Row>;

    void convert(int field, Value& v) const;  // to the field's type, in place, never narrowed
    void requireFits(int field, const Value& v) const;  // EngineError beyond the field's range
    // True when the value changed; announces nothing.
    bool assign(int field, Value& v, const Limit& limit = {});
    void announce(const TableChange& change);
    void announceState();
    void announceCursor();
    // The visible rows shown anew from the first: a reset.
    void showFromFirst();
    // Values of `count` rows from visible row `row` (-1: the pending row) changed.
    void announceValues(int row, int count, std::uint32_t fields, bool linkChanged);
    int visibleRowOf(std::size_t absolute) const;
    int currentVisibleRow() const;  // -1 for a pending row or none
    void updateRecord();
    int compareKeys(const Row& a, const Row& b) const;
    int compareValues(const Value& a, const Value& b) const;
    std::size_t insertionPoint(const Row& row) const;  // in m_rows, after equal keys
    void refreshRange() const;
    void rangeAfterInsert(std::size_t at);
    void rangeAfterRemove(std::size_t at);
    std::size_t lo() const;
    std::size_t hi() const;
    Row* currentRow() const;
    void requireOpen() const;
    void requireWritable() const;
    void checkBrowseMode();
    void startInsert(bool appendAtEnd);
    void moveTo(std::size_t absolute, bool announce);
    void masterChanged();
    void fireScroll();
    void notifyDetails();

    std::string m_name;
    std::vector<FieldDef> m_fields;
    std::vector<int> m_index;
    bool m_caseInsensitive;
    std::vector<Validator> m_validators;
    std::vector<bool> m_isKey;       // per field: part of the active index
    std::vector<bool> m_linkFields;  // per field: a detail table follows it
    std::function<void()> m_openCheck;

    std::deque<RowPtr> m_rows;  // in index order; a deque, so emptying from the front is cheap
    RowPtr m_pending;           // a new row not posted yet
    std::size_t m_cursor = 0;   // index into m_rows
    std::size_t m_cursorBeforeInsert = 0;
    std::vector<std::pair<int, Value>> m_undo;  // old values of an edit, for Cancel
    bool m_keyTouched = false;
    bool m_readOnly = false;
    bool m_rowModified = false;  // a value of the pending or edited row changed
    TableState m_state = TableState::Inactive;
    bool m_eof = true;
    bool m_bof = true;
    std::int64_t m_nextKey = 1;
    int m_autoIncField = -1;

    Table* m_master = nullptr;
    int m_masterField = -1;
    std::vector<Table*> m_details;
    mutable bool m_rangeDirty = true;
    mutable std::size_t m_lo = 0;
    mutable std::size_t m_hi = 0;

    TableListeners m_listeners;
    TableListeners m_updateRecord;
};

}  // namespace tal
