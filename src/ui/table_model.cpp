#include "ui/table_model.h"

#include <QMetaObject>
#include <algorithm>

#include "ui/binding/field_text.h"

namespace tal {

std::vector<GridColumn> gridColumnsOf(FieldTable table) {
    std::vector<GridColumn> columns;
    for (const FieldEntry& field : fieldsOf(table))
        if (field.isGridColumn())
            columns.push_back({field.index,
                               QString::fromUtf8(field.grid.title.data(),
                                                 static_cast<qsizetype>(field.grid.title.size())),
                               field.grid.width, field.grid.significantDigits});
    return columns;
}

TableModel::TableModel(Table& table, std::vector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), m_table(table), m_columns(std::move(columns)) {
    m_rowCount = m_table.recordCount();
    m_changes = m_table.subscribe(
        [this](const Table&, const TableChange& change) { tableChanged(change); });
}

int TableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rowCount;
}

int TableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const GridColumn& column = m_columns.at(index.column());
    const FieldType type = m_table.fields().at(column.field).type;
    if (role == Qt::TextAlignmentRole) {
        const bool number = type != FieldType::String;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole)
        return {};
    // Between a change and the flush the table may already hold fewer rows than the view knows.
    if (index.row() >= m_table.recordCount())
        return {};
    const Value& value = m_table.rowValue(index.row(), column.field);
    return fieldText(value, type, column.significantDigits);
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal && section >= 0 &&
        section < static_cast<int>(m_columns.size()))
        return m_columns[section].title;
    return QString();
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void TableModel::tableChanged(const TableChange& change) {
    switch (change.kind) {
        case ChangeKind::Reset:
        case ChangeKind::RowsInserted:
        case ChangeKind::RowsRemoved:
        case ChangeKind::RowMoved:
            m_rowsChanged = true;
            break;
        case ChangeKind::ValuesChanged:
            if (change.row < 0)
                return;  // the pending new row is not shown
            m_firstChangedRow =
                m_firstChangedRow < 0 ? change.row : std::min(m_firstChangedRow, change.row);
            m_lastChangedRow = std::max(m_lastChangedRow, change.row + change.count - 1);
            break;
        case ChangeKind::CursorMoved:
        case ChangeKind::StateChanged:
            break;
    }
    scheduleFlush();
}

void TableModel::scheduleFlush() {
    if (m_flushPending)
        return;
    m_flushPending = true;
    QMetaObject::invokeMethod(this, &TableModel::flush, Qt::QueuedConnection);
}

void TableModel::flush() {
    m_flushPending = false;
    const int count = m_table.recordCount();
    if (m_rowsChanged || count != m_rowCount) {
        beginResetModel();
        m_rowCount = count;
        endResetModel();
    } else if (m_firstChangedRow >= 0 && m_firstChangedRow < count) {
        const int last = std::min(m_lastChangedRow, count - 1);
        emit dataChanged(index(m_firstChangedRow, 0), index(last, columnCount() - 1),
                         {Qt::DisplayRole});
    }
    m_rowsChanged = false;
    m_firstChangedRow = m_lastChangedRow = -1;
    emit currentRowChanged(m_table.recNo());
}

}  // namespace tal
