#include "limits/limits_file.h"

#include <sqlite3.h>

#include <charconv>
#include <memory>

#include "store/file_system.h"
#include "store/text.h"

namespace tal {
namespace {

struct Column {
    const char* name;
    std::size_t length;  // characters, for texts; 0 for a bound
};

// The fields of TALC after Key, in their order.
constexpr Column kColumns[] = {
    {"Config", kConfigLength}, {"FieldName", kFieldNameLength}, {"MinValue", 0},
    {"MaxValue", 0},           {"Title", kTitleLength},         {"Message", kMessageLength},
};

struct Database {
    sqlite3* handle = nullptr;
    ~Database() { sqlite3_close(handle); }
};

using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

Statement prepare(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        statement = nullptr;
    return Statement(statement, sqlite3_finalize);
}

std::string columnText(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text ? std::string(text, sqlite3_column_bytes(statement, column)) : std::string();
}

// Checks the length of one text of a record; the error names the record and the field.
bool fitsField(const std::string& text, const Column& column, const std::string& where,
               std::string& error) {
    if (utf8Length(text) <= column.length)
        return true;
    error = where + ": текст поля " + column.name + " длиннее " + std::to_string(column.length) +
            " символов";
    return false;
}

bool fitsFields(const LimitsRecord& record, const std::string& where, std::string& error) {
    return fitsField(record.config, kColumns[0], where, error) &&
           fitsField(record.fieldName, kColumns[1], where, error) &&
           fitsField(record.title, kColumns[4], where, error) &&
           fitsField(record.message, kColumns[5], where, error);
}

// Cuts the texts of a record that are longer than their fields, noting each in `notes`.
void cutToFields(LimitsRecord& record, const std::string& where, std::vector<std::string>& notes) {
    std::string* texts[] = {&record.config, &record.fieldName, &record.title, &record.message};
    const Column* columns[] = {&kColumns[0], &kColumns[1], &kColumns[4], &kColumns[5]};
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        std::string note;
        if (fitsField(*texts[i], *columns[i], where, note))
            continue;
        *texts[i] = utf8Truncate(*texts[i], columns[i]->length);
        notes.push_back(note + ", обрезан до «" + *texts[i] + "»");
    }
}

std::string createStatements() {
    return "CREATE TABLE \"TALC\" (\"Key\" INTEGER PRIMARY KEY AUTOINCREMENT, "
           "\"Config\" VARCHAR(10), \"FieldName\" VARCHAR(8), \"MinValue\" FLOAT, "
           "\"MaxValue\" FLOAT, \"Title\" VARCHAR(32), \"Message\" VARCHAR(36)); "
           "CREATE INDEX \"ConField\" ON \"TALC\" (\"Config\" COLLATE NOCASE, "
           "\"FieldName\" COLLATE NOCASE);";
}

std::optional<double> parseBound(std::string_view text, bool& ok) {
    ok = true;
    if (text.empty())
        return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    ok = ec == std::errc() && end == text.data() + text.size();
    return value;
}

std::vector<std::string_view> splitTabs(std::string_view line) {
    std::vector<std::string_view> cells;
    for (;;) {
        const auto tab = line.find('\t');
        cells.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return cells;
        line.remove_prefix(tab + 1);
    }
}

}  // namespace

// Whether the last failure on `db` was another program's lock, not damage.
bool heldByAnotherProgram(sqlite3* db) {
    const int code = sqlite3_errcode(db) & 0xFF;
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

LimitsReadResult readLimitsFile(const std::string& path) {
    LimitsReadResult result;
    if (!fileExists(path)) {
        result.error = "Не найден файл таблицы пределов " + path;
        return result;
    }
    const std::string broken = "Файл таблицы пределов " + path + " повреждён: ";
    Database db;
    if (sqlite3_open_v2(path.c_str(), &db.handle, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        result.error = "Не удаётся открыть файл таблицы пределов " + path;
        return result;
    }
    const std::string busy = "Файл таблицы пределов " + path +
                             " занят: он открыт для записи в другой программе. Закройте её и "
                             "повторите";
    Statement info = prepare(db.handle, "PRAGMA table_info(\"TALC\")");
    if (!info) {
        result.error =
            heldByAnotherProgram(db.handle) ? busy : broken + "это не база данных SQLite";
        return result;
    }
    std::vector<std::string> present;
    int step;
    while ((step = sqlite3_step(info.get())) == SQLITE_ROW)
        present.push_back(columnText(info.get(), 1));
    if (step != SQLITE_DONE) {
        result.error =
            heldByAnotherProgram(db.handle) ? busy : broken + "это не база данных SQLite";
        return result;
    }
    if (present.empty()) {
        result.error = broken + "в нём нет таблицы TALC";
        return result;
    }
    std::string select = "SELECT \"Key\"";
    for (const char* name :
         {"Key", "Config", "FieldName", "MinValue", "MaxValue", "Title", "Message"}) {
        bool found = false;
        for (const auto& column : present)
            found = found || foldCase(column) == foldCase(name);
        if (!found) {
            result.error = broken + "в таблице TALC нет поля " + name;
            return result;
        }
    }
    for (const Column& column : kColumns)
        select += std::string(", \"") + column.name + "\"";
    select += " FROM \"TALC\" ORDER BY \"Key\"";
    Statement rows = prepare(db.handle, select);
    if (!rows) {
        result.error = broken + sqlite3_errmsg(db.handle);
        return result;
    }
    while ((step = sqlite3_step(rows.get())) == SQLITE_ROW) {
        const std::string where = "запись Key=" + columnText(rows.get(), 0);
        LimitsRecord record;
        std::optional<double>* bounds[] = {&record.minValue, &record.maxValue};
        for (int b = 0; b < 2; ++b) {
            const int column = 3 + b;
            switch (sqlite3_column_type(rows.get(), column)) {
                case SQLITE_NULL:
                    break;
                case SQLITE_INTEGER:
                case SQLITE_FLOAT:
                    *bounds[b] = sqlite3_column_double(rows.get(), column);
                    break;
                default:
                    result.error = broken + where + ": поле " + kColumns[2 + b].name + " не число";
                    result.records.clear();
                    return result;
            }
        }
        record.config = columnText(rows.get(), 1);
        record.fieldName = columnText(rows.get(), 2);
        record.title = columnText(rows.get(), 5);
        record.message = columnText(rows.get(), 6);
        cutToFields(record, where, result.cutTexts);
        result.records.push_back(std::move(record));
    }
    if (step != SQLITE_DONE) {
        result.error = heldByAnotherProgram(db.handle) ? busy : broken + sqlite3_errmsg(db.handle);
        result.records.clear();
    }
    return result;
}

bool writeLimitsFile(const std::string& path, const std::vector<LimitsRecord>& records,
                     std::string& error) {
    // Built in memory and written in one piece, so a failed write leaves the old file intact.
    Database db;
    char* message = nullptr;
    if (sqlite3_open(":memory:", &db.handle) != SQLITE_OK ||
        sqlite3_exec(db.handle, createStatements().c_str(), nullptr, nullptr, &message) !=
            SQLITE_OK) {
        error = std::string("ошибка SQLite: ") + (message ? message : sqlite3_errmsg(db.handle));
        sqlite3_free(message);
        return false;
    }
    Statement insert = prepare(db.handle,
                               "INSERT INTO \"TALC\" (\"Config\", \"FieldName\", \"MinValue\", "
                               "\"MaxValue\", \"Title\", \"Message\") VALUES (?, ?, ?, ?, ?, ?)");
    if (!insert) {
        error = std::string("ошибка SQLite: ") + sqlite3_errmsg(db.handle);
        return false;
    }
    for (const LimitsRecord& record : records) {
        sqlite3_stmt* s = insert.get();
        sqlite3_reset(s);
        sqlite3_bind_text(s, 1, record.config.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 2, record.fieldName.c_str(), -1, SQLITE_TRANSIENT);
        const std::optional<double> bounds[] = {record.minValue, record.maxValue};
        for (int b = 0; b < 2; ++b) {
            if (bounds[b])
                sqlite3_bind_double(s, 3 + b, *bounds[b]);
            else
                sqlite3_bind_null(s, 3 + b);
        }
        sqlite3_bind_text(s, 5, record.title.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 6, record.message.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(s) != SQLITE_DONE) {
            error = std::string("ошибка SQLite: ") + sqlite3_errmsg(db.handle);
            return false;
        }
    }
    sqlite3_int64 size = 0;
    unsigned char* bytes = sqlite3_serialize(db.handle, "main", &size, 0);
    if (!bytes) {
        error = "не удалось собрать базу данных " + path;
        return false;
    }
    const WriteStatus status = writeFileAtomically(
        path,
        std::string_view(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size)));
    sqlite3_free(bytes);
    if (status != WriteStatus::Ok) {
        error = "не удалось записать " + path;
        return false;
    }
    return true;
}

LimitsReadResult parseLimitsSource(std::string_view text) {
    LimitsReadResult result;
    bool headerSeen = false;
    int lineNumber = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        const std::string where = "строка " + std::to_string(lineNumber);
        const auto cells = splitTabs(line);
        if (cells.size() != std::size(kColumns)) {
            result.error = where + ": нужно " + std::to_string(std::size(kColumns)) +
                           " полей через табуляцию, а не " + std::to_string(cells.size());
            break;
        }
        if (!headerSeen) {
            headerSeen = true;
            for (std::size_t i = 0; i < cells.size(); ++i)
                if (cells[i] != kColumns[i].name)
                    result.error = where +
                                   ": ожидался заголовок "
                                   "Config FieldName MinValue MaxValue Title Message";
            if (!result.ok())
                break;
            continue;
        }
        LimitsRecord record;
        record.config = cells[0];
        record.fieldName = cells[1];
        bool okMin = true, okMax = true;
        record.minValue = parseBound(cells[2], okMin);
        record.maxValue = parseBound(cells[3], okMax);
        record.title = cells[4];
        record.message = cells[5];
        if (!okMin || !okMax) {
            result.error = where + ": поле " + (okMin ? "MaxValue" : "MinValue") + " не число";
            break;
        }
        if (!fitsFields(record, where, result.error))
            break;
        result.records.push_back(std::move(record));
    }
    if (result.ok() && !headerSeen)
        result.error = "нет строки заголовка";
    if (!result.ok())
        result.records.clear();
    return result;
}

}  // namespace tal
