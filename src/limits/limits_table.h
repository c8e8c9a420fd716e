#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "limits/field_check.h"
#include "limits/limits_file.h"
#include "store/table.h"

namespace tal {

class Desktop;
struct EditorState;

// The hint DBEdit02 of the edit window carries before the first ApplyLimitHints.
inline constexpr const char* kInitialParam02Hint = "Допустимые пределы 0..180 мм";

// Fields of the limits table Table2, in their order.
namespace lim {
enum : int { Key, Config, FieldName, MinValue, MaxValue, Title, Message };
}

// The limits table Table2: the rows of TALC.DB, read into a read-only table ordered by its index
// ConField (Config, FieldName), which ignores letter case including Cyrillic.
class LimitsTable {
public:
    explicit LimitsTable(std::string path = kLimitsFileName);
    LimitsTable(const LimitsTable&) = delete;
    LimitsTable& operator=(const LimitsTable&) = delete;

    // Table2 itself, for readers that walk it (the settings window's model list). It refuses
    // every change.
    Table& table() { return *m_table; }
    const std::string& path() const { return m_path; }
    // Takes effect at the next Open.
    void setPath(std::string path) { m_path = std::move(path); }

    bool isOpen() const { return m_table->isOpen(); }
    // Reads the file into Table2 unless it is open already; throws EngineError when the file is
    // missing or malformed, leaving the table closed.
    void Open();
    // The texts the last Open cut to their fields' sizes, one note each.
    const std::vector<std::string>& cutTexts() const { return m_cutTexts; }
    void Close();

    // Makes the row of (model, field) current; false when there is none. Throws EngineError while
    // the table is not open.
    bool FindLimits(std::string_view model, std::string_view fieldName);
    // The current row (after FindLimits found one).
    LimitsRow current() const;
    // Whether any row belongs to `model`. Throws EngineError while the table is not open.
    bool hasModel(std::string_view model);

    // Opens the table if needed, sets the last-value-accepted flag and copies the messages of the
    // current machine model into the hints of the edit window's sixteen controls; a control
    // without a row keeps its hint.
    void ApplyLimitHints(EditorState& state, Desktop& desktop);

private:
    void requireOpen() const;

    std::string m_path;
    std::unique_ptr<Table> m_table;
    std::string m_openError;  // why the last Open failed
    std::vector<std::string> m_cutTexts;
};

}  // namespace tal
