#include "limits/limits_table.h"

#include "editor/desktop.h"
#include "editor/editor_state.h"
#include "store/text.h"

namespace tal {
namespace {

std::unique_ptr<Table> makeLimitsTable() {
    return std::make_unique<Table>(
        kLimitsTableName,
        std::vector<FieldDef>{{"Key", FieldType::AutoInc},
                              {"Config", FieldType::String, static_cast<int>(kConfigLength)},
                              {"FieldName", FieldType::String, static_cast<int>(kFieldNameLength)},
                              {"MinValue", FieldType::Float},
                              {"MaxValue", FieldType::Float},
                              {"Title", FieldType::String, static_cast<int>(kTitleLength)},
                              {"Message", FieldType::String, static_cast<int>(kMessageLength)}},
        std::vector<std::string>{"Config", "FieldName"}, /*caseInsensitiveIndex=*/true);
}

Value boundValue(const std::optional<double>& bound) {
    return bound ? Value::real(*bound) : Value();
}

}  // namespace

LimitsTable::LimitsTable(std::string path) : m_path(std::move(path)), m_table(makeLimitsTable()) {
    m_table->setReadOnly(true);
}

void LimitsTable::Open() {
    if (m_table->isOpen())
        return;
    LimitsReadResult file = readLimitsFile(m_path);
    if (!file.ok()) {
        m_openError = file.error;
        throw EngineError(file.error);
    }
    m_openError.clear();
    m_cutTexts = std::move(file.cutTexts);
    Table& t = *m_table;
    // Filling is the only writing the table ever sees.
    t.setReadOnly(false);
    try {
        t.open();
        while (t.recordCount() > 0) {  // rows of an earlier opening
            t.first();
            t.remove();
        }
        for (const LimitsRecord& record : file.records) {
            t.append();
            t.setText(lim::Config, record.config);
            t.setText(lim::FieldName, record.fieldName);
            t.setValue(lim::MinValue, boundValue(record.minValue));
            t.setValue(lim::MaxValue, boundValue(record.maxValue));
            t.setText(lim::Title, record.title);
            t.setText(lim::Message, record.message);
            t.post();
        }
        t.first();
    } catch (...) {
        t.setReadOnly(true);
        throw;
    }
    t.setReadOnly(true);
}

void LimitsTable::Close() {
    m_table->close();
}

void LimitsTable::requireOpen() const {
    if (m_table->isOpen())
        return;
    if (m_openError.empty())
        throw EngineError("Таблица пределов " + m_path + " не открыта");
    throw EngineError("Таблица пределов не открыта (" + m_openError + ")");
}

bool LimitsTable::FindLimits(std::string_view model, std::string_view fieldName) {
    requireOpen();
    // A key longer than its field can equal no row; the engine would cut it to the field's size.
    if (utf8Length(model) > kConfigLength || utf8Length(fieldName) > kFieldNameLength)
        return false;
    return m_table->findKey({Value::text(std::string(model)), Value::text(std::string(fieldName))});
}

LimitsRow LimitsTable::current() const {
    return {m_table->asFloat(lim::MinValue), m_table->asFloat(lim::MaxValue),
            m_table->asText(lim::Message)};
}

bool LimitsTable::hasModel(std::string_view model) {
    requireOpen();
    if (utf8Length(model) > kConfigLength)
        return false;
    return m_table->findKey({Value::text(std::string(model))});
}

void LimitsTable::ApplyLimitHints(EditorState& state, Desktop& desktop) {
    Open();
    m_table->first();
    state.lastValueAccepted = true;
    for (const FieldEntry* field : checkedFields()) {
        if (FindLimits(state.machineModel, field->name))
            desktop.setHint(*field->edit.control, current().message);
    }
}

}  // namespace tal
