#include "ui/binding/field_edit.h"

#include <QKeyEvent>

#include "editor/desktop.h"
#include "editor/typed_text.h"
#include "store/text.h"
#include "ui/binding/field_text.h"
#include "ui/error_report.h"

namespace tal {
namespace {

TypedKind kindOf(FieldType type) {
    switch (type) {
        case FieldType::SmallInt:
        case FieldType::Integer:
        case FieldType::AutoInc:
            return TypedKind::Integer;
        case FieldType::Float:
            return TypedKind::Real;
        case FieldType::String:
            break;
    }
    return TypedKind::Text;
}

// The characters of `text` that Windows-1251 holds.
QString windows1251Part(const QString& text) {
    QString kept;
    for (QChar c : text)
        if (fitsCp1251(QString(c).toStdString()))
            kept += c;
    return kept;
}

}  // namespace

FieldEdit::FieldEdit(Table& table, int field, Options options, Desktop& desktop, QWidget* parent)
    : QLineEdit(parent), m_table(table), m_field(field), m_options(options), m_desktop(desktop) {
    setMaxLength(options.maxLength);
    connect(this, &QLineEdit::textEdited, this, &FieldEdit::typed);
    m_changes = table.subscribe([this](const Table& t, const TableChange& change) {
        if (touchesCurrentField(t, change, m_field))
            refresh();
    });
    m_updateRecord = table.subscribeUpdateRecord([this] { commit(); });
    refresh();
}

void FieldEdit::refresh() {
    m_typed = false;
    setText(m_table.isOpen() ? currentFieldText(m_table, m_field, m_options.significantDigits)
                             : QString());
    setCursorPosition(0);  // a long text shows its beginning
}

void FieldEdit::typed(const QString& text) {
    if (m_options.windows1251Only && !fitsCp1251(text.toStdString())) {
        const QString kept = windows1251Part(text);
        const int cursor = cursorPosition() - static_cast<int>(text.size() - kept.size());
        setText(kept);
        setCursorPosition(std::max(cursor, 0));
        m_desktop.beep();
    }
    m_typed = true;
    if (m_table.state() == TableState::Browse)
        runGuarded([this] { m_table.edit(); });
}

void FieldEdit::commit() {
    if (!m_typed)
        return;
    const std::string typedText = text().toStdString();
    const FieldDef& def = m_table.fields()[m_field];
    const TypedText parsed = parseTypedText(typedText, kindOf(def.type));
    if (const std::string* refusal = parsed.refusal())
        throw ConversionError(*refusal);
    // A number the field's place in the image cannot hold is refused after the model's check,
    // whose message names the allowed range.
    Table::Limit limit;
    if (m_options.range)
        limit = [&](const Value& v) { return refusalOutside(v, *m_options.range, def.name); };
    m_table.setValue(m_field, *parsed.value(), limit);
    // Accepted: show the value as the field holds it ("12.5" reads "12,5").
    refresh();
}

void FieldEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && m_typed) {
        refresh();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace tal
