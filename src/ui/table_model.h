#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <vector>

#include "store/field_catalogue.h"
#include "store/table.h"

namespace tal {

// One grid column: a field of the table, its title and width.
struct GridColumn {
    int field;
    QString title;
    int width;                   // pixels; 0 keeps the grid's default width
    int significantDigits = 15;  // for float fields
};

// The columns the catalogue gives a table's grid, in table order.
std::vector<GridColumn> gridColumnsOf(FieldTable table);

// The rows of a table for a grid. It listens to the table engine and turns its announcements
// into one model update per event-loop turn, however many rows a command touched: a reset when
// rows came or went, otherwise a repaint of the rows whose values changed.
class TableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TableModel(Table& table, std::vector<GridColumn> columns, QObject* parent = nullptr);

    Table& table() { return m_table; }
    const std::vector<GridColumn>& columns() const { return m_columns; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Brings the model up to date with the table now instead of at the end of the turn.
    void flush();

signals:
    // The table's current row after an update (-1 when it has none).
    void currentRowChanged(int row);

private:
    void tableChanged(const TableChange& change);
    void scheduleFlush();

    Table& m_table;
    std::vector<GridColumn> m_columns;
    int m_rowCount = 0;
    bool m_flushPending = false;
    bool m_rowsChanged = false;
    int m_firstChangedRow = -1;  // rows whose values changed since the last flush
    int m_lastChangedRow = -1;
    Table::Subscription m_changes;
};

}  // namespace tal
