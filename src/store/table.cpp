#include "store/table.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "store/text.h"

namespace tal {

Table::Table(std::string name, std::vector<FieldDef> fields, std::vector<std::string> indexFields,
             bool caseInsensitiveIndex)
    : m_name(std::move(name)),
      m_fields(std::move(fields)),
      m_caseInsensitive(caseInsensitiveIndex) {
    m_validators.resize(m_fields.size());
    for (const auto& field : indexFields)
        m_index.push_back(fieldIndex(field));
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].type == FieldType::AutoInc)
            m_autoIncField = static_cast<int>(i);
    m_isKey.assign(m_fields.size(), false);
    for (int field : m_index)
        m_isKey[field] = true;
    m_linkFields.assign(m_fields.size(), false);
    if (m_fields.size() > 32)
        throw EngineError("Таблица " + m_name + ": больше 32 полей");
}

Table::~Table() {
    if (m_master) {
        auto& details = m_master->m_details;
        details.erase(std::remove(details.begin(), details.end(), this), details.end());
    }
    for (Table* detail : m_details)
        detail->m_master = nullptr;
}

int Table::fieldIndex(std::string_view fieldName) const {
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name == fieldName)
            return static_cast<int>(i);
    throw EngineError("Поле '" + std::string(fieldName) + "' не найдено в таблице " + m_name);
}

void Table::open() {
    if (isOpen())
        return;
    if (m_openCheck)
        m_openCheck();
    m_state = TableState::Browse;
    showFromFirst();
    announceState();
    notifyDetails();
    fireScroll();
}

void Table::close() {
    if (!isOpen())
        return;
    m_pending.reset();
    if (m_state == TableState::Edit) {
        for (auto& [field, old] : m_undo)
            currentRow()->values[field] = std::move(old);
    }
    m_undo.clear();
    if (m_state != TableState::Browse) {
        m_state = TableState::Browse;
        announceState();
    }
    // Heard while the rows are still there; the state change that follows says they are gone.
    announce({.kind = ChangeKind::Reset});
    m_state = TableState::Inactive;
    m_rangeDirty = true;
    announceState();
    notifyDetails();
}

void Table::setMaster(Table* master, std::string_view masterField) {
    m_master = master;
    m_masterField = master->fieldIndex(masterField);
    master->m_details.push_back(this);
    master->m_linkFields[m_masterField] = true;
    m_rangeDirty = true;
}

void Table::requireOpen() const {
    if (!isOpen())
        throw EngineError("Таблица " + m_name + " закрыта");
}

void Table::requireWritable() const {
    if (m_readOnly)
        throw EngineError("Таблица " + m_name + " только для чтения");
}

// ---- visible range -------------------------------------------------------------------------

void Table::refreshRange() const {
    if (!m_rangeDirty)
        return;
    m_rangeDirty = false;
    if (!m_master || !m_master->isOpen()) {
        m_lo = 0;
        m_hi = m_rows.size();
        return;
    }
    if (!m_master->hasCurrentRow()) {
        m_lo = m_hi = 0;
        return;
    }
    const Value& key = m_master->value(m_masterField);
    const int keyField = m_index.front();
    auto below = [&](const RowPtr& row, const Value& k) {
        return compareValues(row->values[keyField], k) < 0;
    };
    auto above = [&](const Value& k, const RowPtr& row) {
        return compareValues(k, row->values[keyField]) < 0;
    };
    m_lo = std::lower_bound(m_rows.begin(), m_rows.end(), key, below) - m_rows.begin();
    m_hi = std::upper_bound(m_rows.begin() + m_lo, m_rows.end(), key, above) - m_rows.begin();
}

// The visible range follows single inserts and removals without a new search.
void Table::rangeAfterInsert(std::size_t at) {
    if (m_rangeDirty)
        return;
    bool visible = true;
    if (m_master && m_master->isOpen()) {
        if (!m_master->hasCurrentRow()) {
            m_rangeDirty = true;
            return;
        }
        visible =
            compareValues(m_rows[at]->values[m_index.front()], m_master->value(m_masterField)) == 0;
    }
    if (visible) {
        ++m_hi;
    } else if (at <= m_lo) {
        ++m_lo;
        ++m_hi;
    }
}

void Table::rangeAfterRemove(std::size_t at) {
    if (m_rangeDirty)
        return;
    if (at < m_lo) {
        --m_lo;
        --m_hi;
    } else if (at < m_hi) {
        --m_hi;
    }
}

std::size_t Table::lo() const {
    refreshRange();
    return m_lo;
}

std::size_t Table::hi() const {
    refreshRange();
    return m_hi;
}

int Table::recordCount() const {
    if (!isOpen())
        return 0;
    return static_cast<int>(hi() - lo());
}

int Table::recNo() const {
    if (!isOpen() || recordCount() == 0)
        return -1;
    return static_cast<int>(m_cursor - lo());
}

bool Table::hasCurrentRow() const {
    return isOpen() && (m_pending || recordCount() > 0);
}

Table::Row* Table::currentRow() const {
    if (m_pending)
        return m_pending.get();
    if (!isOpen())
        throw EngineError("Таблица " + m_name + " закрыта");
    if (recordCount() == 0)
        return nullptr;
    return m_rows[m_cursor].get();
}

// ---- ordering ------------------------------------------------------------------------------

int Table::compareValues(const Value& a, const Value& b) const {
    if (const std::int64_t* x = a.integerIf(), *y = b.integerIf(); x && y)
        return *x < *y ? -1 : (*y < *x ? 1 : 0);
    // Empty values sort first, like nulls of the original engine.
    if (a.isNull() || b.isNull())
        return (a.isNull() ? 0 : 1) - (b.isNull() ? 0 : 1);
    if (a.isText() || b.isText()) {
        if (m_caseInsensitive)
            return foldCase(a.asText()).compare(foldCase(b.asText()));
        if (a.isText() && b.isText())
            return a.textIf()->compare(*b.textIf());
        return a.asText().compare(b.asText());
    }
    if (a.isReal() || b.isReal()) {
        const double x = a.asFloat(), y = b.asFloat();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    const auto x = a.asInteger(), y = b.asInteger();
    return x < y ? -1 : (y < x ? 1 : 0);
}

int Table::compareKeys(const Row& a, const Row& b) const {
    for (int field : m_index) {
        const int c = compareValues(a.values[field], b.values[field]);
        if (c != 0)
            return c;
    }
    return 0;
}

std::size_t Table::insertionPoint(const Row& row) const {
    // Rows mostly arrive in index order (loading, appending lines): try the end first.
    if (m_rows.empty() || compareKeys(*m_rows.back(), row) <= 0)
        return m_rows.size();
    auto it =
        std::upper_bound(m_rows.begin(), m_rows.end(), row,
                         [&](const Row& r, const RowPtr& p) { return compareKeys(r, *p) < 0; });
    return it - m_rows.begin();
}

// ---- navigation ----------------------------------------------------------------------------

void Table::updateRecord() {
    if (m_state == TableState::Edit || m_state == TableState::Insert)
        m_updateRecord.deliver(*this, {});
}

void Table::checkBrowseMode() {
    if (m_state == TableState::Edit || m_state == TableState::Insert) {
        updateRecord();
        if (m_rowModified) {
            post();
        } else {
            cancel();
        }
    }
}

void Table::moveTo(std::size_t absolute, bool announce) {
    const bool moved = absolute != m_cursor;
    m_cursor = absolute;
    if (announce || moved)
        announceCursor();
    if (moved)
        notifyDetails();
    fireScroll();
}

void Table::first() {
    requireOpen();
    checkBrowseMode();
    m_bof = true;
    m_eof = recordCount() == 0;
    moveTo(lo(), true);
}

void Table::last() {
    requireOpen();
    checkBrowseMode();
    m_eof = true;
    m_bof = recordCount() == 0;
    moveTo(recordCount() == 0 ? lo() : hi() - 1, true);
}

void Table::next() {
    moveBy(1);
}
void Table::prior() {
    moveBy(-1);
}

void Table::moveBy(int distance) {
    requireOpen();
    checkBrowseMode();
    const int count = recordCount();
    if (count == 0) {
        m_eof = m_bof = true;
        return;
    }
    const int from = recNo();
    int to = from + distance;
    m_eof = m_bof = false;
    if (to >= count) {
        to = count - 1;
        m_eof = true;
    }
    if (to < 0) {
        to = 0;
        m_bof = true;
    }
    if (to == from) {
        fireScroll();
        return;
    }
    moveTo(lo() + to, false);
}

bool Table::findKey(const std::vector<Value>& key) {
    requireOpen();
    checkBrowseMode();
    Row probe;
    probe.values.resize(m_fields.size());
    for (std::size_t i = 0; i < key.size() && i < m_index.size(); ++i) {
        probe.values[m_index[i]] = key[i];
        convert(m_index[i], probe.values[m_index[i]]);
    }
    auto first = m_rows.begin() + lo(), last = m_rows.begin() + hi();
    auto it = std::lower_bound(first, last, probe, [&](const RowPtr& p, const Row& r) {
        for (std::size_t i = 0; i < key.size() && i < m_index.size(); ++i) {
            const int c = compareValues(p->values[m_index[i]], r.values[m_index[i]]);
            if (c != 0)
                return c < 0;
        }
        return false;
    });
    if (it == last)
        return false;
    for (std::size_t i = 0; i < key.size() && i < m_index.size(); ++i)
        if (compareValues((*it)->values[m_index[i]], probe.values[m_index[i]]) != 0)
            return false;
    m_bof = m_eof = false;
    moveTo(it - m_rows.begin(), true);
    return true;
}

void Table::refresh() {
    requireOpen();
    checkBrowseMode();
    m_rangeDirty = true;
    m_cursor = std::min(m_cursor, recordCount() == 0 ? lo() : hi() - 1);
    announce({.kind = ChangeKind::Reset});
    fireScroll();
}

// ---- editing -------------------------------------------------------------------------------

void Table::startInsert(bool appendAtEnd) {
    requireOpen();
    requireWritable();
    checkBrowseMode();
    if (beforeInsert)
        beforeInsert(*this);
    m_cursorBeforeInsert = m_cursor;
    m_pending = std::make_unique<Row>();
    m_pending->values.resize(m_fields.size());
    m_keyTouched = false;
    m_rowModified = false;
    if (appendAtEnd && recordCount() > 0)
        m_cursor = hi() - 1;
    m_state = TableState::Insert;
    m_eof = m_bof = false;
    announceState();
    announceCursor();
    notifyDetails();
    if (afterInsert)
        afterInsert(*this);
    fireScroll();
}

void Table::append() {
    startInsert(true);
}
void Table::insert() {
    startInsert(false);
}

void Table::edit() {
    requireOpen();
    requireWritable();
    if (m_state == TableState::Edit || m_state == TableState::Insert)
        return;
    if (recordCount() == 0)
        throw EngineError("Таблица " + m_name + " пуста");
    m_undo.clear();
    m_keyTouched = false;
    m_rowModified = false;
    m_state = TableState::Edit;
    announceState();
}

void Table::post() {
    requireOpen();
    updateRecord();
    if (m_state == TableState::Insert) {
        RowPtr row = std::move(m_pending);
        if (m_autoIncField >= 0)
            row->values[m_autoIncField] = Value::integer(m_nextKey++);
        const std::size_t at = insertionPoint(*row);
        m_rows.insert(m_rows.begin() + at, std::move(row));
        rangeAfterInsert(at);
        m_state = TableState::Browse;
        m_cursor = at;
        m_keyTouched = false;
        announce({.kind = ChangeKind::RowsInserted, .row = visibleRowOf(at), .count = 1});
        announceState();
        announceCursor();
        notifyDetails();
        return;
    }
    if (m_state != TableState::Edit)
        return;
    m_state = TableState::Browse;
    m_undo.clear();
    announceState();
    if (!m_keyTouched)
        return;
    m_keyTouched = false;
    // Move the one row whose key changed, unless it is still in order.
    const std::size_t at = m_cursor;
    const bool inOrder =
        (at == 0 || compareKeys(*m_rows[at - 1], *m_rows[at]) <= 0) &&
        (at + 1 == m_rows.size() || compareKeys(*m_rows[at], *m_rows[at + 1]) <= 0);
    if (inOrder)
        return;
    const int from = visibleRowOf(at);
    RowPtr row = std::move(m_rows[at]);
    m_rows.erase(m_rows.begin() + at);
    const std::size_t to = insertionPoint(*row);
    m_rows.insert(m_rows.begin() + to, std::move(row));
    m_cursor = to;
    m_rangeDirty = true;
    announce({.kind = ChangeKind::RowMoved, .row = visibleRowOf(to), .from = from});
    announceCursor();
}

void Table::cancel() {
    if (m_state == TableState::Insert) {
        m_pending.reset();
        m_state = TableState::Browse;
        m_keyTouched = false;
        m_cursor = std::min(m_cursorBeforeInsert, recordCount() == 0 ? lo() : hi() - 1);
        m_eof = m_bof = recordCount() == 0;
        announceState();
        announceCursor();
        notifyDetails();
        fireScroll();
        return;
    }
    if (m_state == TableState::Edit) {
        Row* row = currentRow();
        std::uint32_t restored = 0;
        for (auto it = m_undo.rbegin(); it != m_undo.rend(); ++it) {
            row->values[it->first] = std::move(it->second);
            restored |= 1u << it->first;
        }
        const bool keyRestored = m_keyTouched;
        m_undo.clear();
        m_keyTouched = false;
        m_state = TableState::Browse;
        announceState();
        if (restored != 0)
            announce({.kind = ChangeKind::ValuesChanged,
                      .row = currentVisibleRow(),
                      .count = 1,
                      .fields = restored});
        if (keyRestored)
            notifyDetails();
    }
}

void Table::remove() {
    requireOpen();
    requireWritable();
    if (m_state == TableState::Insert) {
        cancel();
        return;
    }
    if (recordCount() == 0)
        throw EngineError("Таблица " + m_name + " пуста");
    if (m_state == TableState::Edit)
        cancel();
    if (beforeDelete)
        beforeDelete(*this);
    if (recordCount() == 0)
        return;  // the handler emptied the view
    const std::size_t at = m_cursor;
    const int removedRow = visibleRowOf(at);
    m_rows.erase(m_rows.begin() + at);
    rangeAfterRemove(at);
    const int count = recordCount();
    m_cursor = count == 0 ? lo() : std::min(at, hi() - 1);
    m_eof = m_bof = count == 0;
    announce({.kind = ChangeKind::RowsRemoved, .row = removedRow, .count = 1});
    announceCursor();
    notifyDetails();
    if (afterDelete)
        afterDelete(*this);
    fireScroll();
}

void Table::replaceRows(std::vector<std::vector<Value>> rows) {
    requireOpen();
    requireWritable();
    std::vector<RowPtr> fresh;  // sorted as a vector: deque iterators are slow to sort with
    fresh.reserve(rows.size());
    for (auto& values : rows) {
        values.resize(m_fields.size());
        for (std::size_t field = 0; field < values.size(); ++field) {
            convert(static_cast<int>(field), values[field]);
            requireFits(static_cast<int>(field), values[field]);
        }
        if (m_autoIncField >= 0) {
            Value& key = values[m_autoIncField];
            if (key.isNull())
                key = Value::integer(m_nextKey++);
            else
                m_nextKey = std::max(m_nextKey, key.asInteger() + 1);
        }
        fresh.push_back(std::make_unique<Row>(Row{std::move(values)}));
    }
    const auto before = [&](const RowPtr& a, const RowPtr& b) { return compareKeys(*a, *b) < 0; };
    if (!std::is_sorted(fresh.begin(), fresh.end(), before))
        std::stable_sort(fresh.begin(), fresh.end(), before);
    if (m_state == TableState::Insert || m_state == TableState::Edit)
        cancel();
    m_rows.assign(std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
    showFromFirst();
    notifyDetails();
    fireScroll();
}

void Table::showFromFirst() {
    m_rangeDirty = true;
    m_cursor = lo();
    m_bof = true;
    m_eof = recordCount() == 0;
    announce({.kind = ChangeKind::Reset});
}

// ---- events --------------------------------------------------------------------------------

void Table::announce(const TableChange& change) {
    // Only a closing table speaks while inactive: it says so.
    if (!isOpen() && change.kind != ChangeKind::StateChanged)
        return;
    m_listeners.deliver(*this, change);
}

void Table::announceState() {
    m_listeners.deliver(*this, {.kind = ChangeKind::StateChanged, .state = m_state});
}

void Table::announceCursor() {
    announce({.kind = ChangeKind::CursorMoved, .row = currentVisibleRow()});
}

int Table::visibleRowOf(std::size_t absolute) const {
    return static_cast<int>(absolute) - static_cast<int>(lo());
}

int Table::currentVisibleRow() const {
    if (m_pending || recordCount() == 0)
        return -1;
    return visibleRowOf(m_cursor);
}

void Table::fireScroll() {
    if (afterScroll && isOpen())
        afterScroll(*this);
}

void Table::notifyDetails() {
    for (Table* detail : m_details)
        detail->masterChanged();
}

void Table::masterChanged() {
    // The master moved or its link value changed: save a pending row of this table, then
    // show the new range from its first row.
    m_rangeDirty = true;
    if (!isOpen())
        return;
    checkBrowseMode();
    showFromFirst();
    fireScroll();
}

}  // namespace tal
