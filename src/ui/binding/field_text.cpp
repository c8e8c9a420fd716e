#include "ui/binding/field_text.h"

namespace tal {

QString fieldText(const Value& value, FieldType type, int significantDigits) {
    if (value.isNull())
        return {};
    if (type == FieldType::Float || value.isReal()) {
        QString text = QString::number(value.asFloat(), 'g', significantDigits);
        return text.replace(QLatin1Char('.'), QLatin1Char(','));
    }
    return QString::fromStdString(value.asText());
}

QString currentFieldText(const Table& table, int field, int significantDigits) {
    if (!table.hasCurrentRow())
        return {};
    return fieldText(table.value(field), table.fields().at(field).type, significantDigits);
}

bool touchesCurrentField(const Table& table, const TableChange& change, int field) {
    switch (change.kind) {
        case ChangeKind::ValuesChanged: {
            if (!change.hasField(field))
                return false;
            const int current = table.state() == TableState::Insert ? -1 : table.recNo();
            return change.coversRow(current);
        }
        case ChangeKind::RowsInserted:
        case ChangeKind::RowsRemoved:
        case ChangeKind::RowMoved:
            return false;  // the cursor's own announcement follows
        case ChangeKind::StateChanged:
            // Entering edit state changes no value (and must not wipe out what is being typed);
            // going back to browse state after a cancel may.
            return change.state == TableState::Browse || change.state == TableState::Inactive;
        case ChangeKind::Reset:
        case ChangeKind::CursorMoved:
            return true;
    }
    return true;
}

}  // namespace tal
