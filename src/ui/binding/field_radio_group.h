#pragma once

#include <QGroupBox>
#include <string>
#include <vector>

#include "store/table.h"

class QButtonGroup;
class QRadioButton;

namespace tal {

// A radio group over a choice field: each item shows a caption and stores a value. A field
// holding no value of the list, or none, shows no item chosen. Choosing an item writes its
// value, which puts the table into edit state.
class FieldRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    struct Item {
        QString caption;
        std::string value;
    };

    FieldRadioGroup(Table& table, int field, const QString& caption, std::vector<Item> items,
                    int columns, QWidget* parent = nullptr);

    // The chosen item, -1 for none.
    int chosen() const;
    QRadioButton* button(int item) const;
    void refresh();

private:
    void choose(int item);

    Table& m_table;
    int m_field;
    std::vector<Item> m_items;
    QButtonGroup* m_group;
    Table::Subscription m_changes;
};

}  // namespace tal
