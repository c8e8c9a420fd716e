#pragma once

#include <QLineEdit>

#include <optional>

#include "editor/typed_text.h"
#include "store/table.h"

namespace tal {

class Desktop;

// An edit bound to a field of a table's current row. It shows the field's text (reals with the
// decimal comma); what the operator types is assigned when the edit is left or the row is saved,
// through the field's type and its check. Typing puts the table into edit state; Escape takes
// back what was typed.
class FieldEdit : public QLineEdit {
    Q_OBJECT
public:
    struct Options {
        int maxLength = 32767;
        int significantDigits = 15;    // for a real field
        bool windows1251Only = false;  // discards, with the beep, characters the files cannot hold
        // What the field's place in the image holds: a typed number outside it is refused.
        std::optional<ValueRange> range{};
    };

    FieldEdit(Table& table, int field, Options options, Desktop& desktop,
              QWidget* parent = nullptr);

    Table& table() const { return m_table; }
    int field() const { return m_field; }
    // Text typed since the field's value was last shown.
    bool hasTypedText() const { return m_typed; }
    // Assigns the typed text to the field; throws the refusal (not a number, one the image
    // cannot hold, or the check's message), keeping the typed text for correction.
    void commit();
    // Shows the field's value, dropping typed text.
    void refresh();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void typed(const QString& text);

    Table& m_table;
    int m_field;
    Options m_options;
    Desktop& m_desktop;
    bool m_typed = false;
    Table::Subscription m_changes;
    Table::Subscription m_updateRecord;
};

}  // namespace tal
