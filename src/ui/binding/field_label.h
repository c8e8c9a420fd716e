#pragma once

#include <QLabel>

#include "store/table.h"

namespace tal {

// A label showing a field of a table's current row.
class FieldLabel : public QLabel {
    Q_OBJECT
public:
    FieldLabel(Table& table, int field, QWidget* parent = nullptr);
    void refresh();

private:
    Table& m_table;
    int m_field;
    Table::Subscription m_changes;
};

}  // namespace tal
