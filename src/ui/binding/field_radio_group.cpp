#include "ui/binding/field_radio_group.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

#include "ui/binding/field_text.h"
#include "ui/error_report.h"

namespace tal {

FieldRadioGroup::FieldRadioGroup(Table& table, int field, const QString& caption,
                                 std::vector<Item> items, int columns, QWidget* parent)
    : QGroupBox(caption, parent),
      m_table(table),
      m_field(field),
      m_items(std::move(items)),
      m_group(new QButtonGroup(this)) {
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(6, 0, 4, 0);
    layout->setVerticalSpacing(0);
    const int perRow = std::max(columns, 1);
    for (int i = 0; i < static_cast<int>(m_items.size()); ++i) {
        auto* radio = new QRadioButton(m_items[i].caption, this);
        m_group->addButton(radio, i);
        layout->addWidget(radio, i / perRow, i % perRow);
    }
    // Only the operator's choice writes; showing a value never does.
    connect(m_group, &QButtonGroup::idClicked, this, &FieldRadioGroup::choose);
    m_changes = table.subscribe([this](const Table& t, const TableChange& change) {
        if (touchesCurrentField(t, change, m_field))
            refresh();
    });
    refresh();
}

QRadioButton* FieldRadioGroup::button(int item) const {
    return qobject_cast<QRadioButton*>(m_group->button(item));
}

int FieldRadioGroup::chosen() const {
    return m_group->checkedId();
}

void FieldRadioGroup::refresh() {
    int match = -1;
    if (m_table.isOpen() && m_table.hasCurrentRow()) {
        const Value& value = m_table.value(m_field);
        if (const std::string* text = value.textIf())
            for (int i = 0; i < static_cast<int>(m_items.size()); ++i)
                if (m_items[i].value == *text)
                    match = i;
    }
    if (match >= 0) {
        m_group->button(match)->setChecked(true);
        return;
    }
    // An exclusive group cannot uncheck its last button; let go of it for a moment.
    m_group->setExclusive(false);
    for (QAbstractButton* radio : m_group->buttons())
        radio->setChecked(false);
    m_group->setExclusive(true);
}

void FieldRadioGroup::choose(int item) {
    runGuarded([&] { m_table.setText(m_field, m_items.at(item).value); });
    refresh();  // a refused choice shows the value the field kept
}

}  // namespace tal
