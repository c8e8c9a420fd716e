#include "ui/binding/field_label.h"

#include "ui/binding/field_text.h"

namespace tal {

FieldLabel::FieldLabel(Table& table, int field, QWidget* parent)
    : QLabel(parent), m_table(table), m_field(field) {
    m_changes = table.subscribe([this](const Table& t, const TableChange& change) {
        if (touchesCurrentField(t, change, m_field))
            refresh();
    });
    refresh();
}

void FieldLabel::refresh() {
    setText(m_table.isOpen() ? currentFieldText(m_table, m_field) : QString());
}

}  // namespace tal
