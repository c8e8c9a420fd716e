#include "store/table_files.h"

#include <sqlite3.h>

#include <memory>
#include <vector>

#include "store/editing_tables.h"
#include "store/file_system.h"
#include "store/table.h"
#include "store/text.h"

namespace tal {
namespace {

std::string declaredType(const FieldDef& field) {
    switch (field.type) {
        case FieldType::AutoInc:
            return "INTEGER";
        case FieldType::SmallInt:
            return "SMALLINT";
        case FieldType::Integer:
            return "INT";
        case FieldType::Float:
            return "FLOAT";
        case FieldType::String:
            return "VARCHAR(" + std::to_string(field.size) + ")";
    }
    return {};
}

std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

std::string createStatement(const Table& table) {
    std::string sql = "CREATE TABLE " + quoted(table.name()) + " (";
    bool firstField = true;
    for (const FieldDef& field : table.fields()) {
        if (!firstField)
            sql += ", ";
        firstField = false;
        sql += quoted(field.name) + " " + declaredType(field);
        if (field.type == FieldType::AutoInc)
            sql += " PRIMARY KEY AUTOINCREMENT";
    }
    return sql + ")";
}

struct Database {
    sqlite3* handle = nullptr;
    ~Database() { sqlite3_close(handle); }
};

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    const char last = folder.back();
    return (last == '/' || last == '\\') ? folder + name : folder + "/" + name;
}

bool writeDatabase(const std::string& path, const Table& table, const std::string& indexSql,
                   std::string& error) {
    removeFile(path);
    Database db;
    if (sqlite3_open(path.c_str(), &db.handle) != SQLITE_OK) {
        error = "не удалось создать " + path;
        return false;
    }
    const std::string sql = createStatement(table) + "; " + indexSql + ";";
    char* message = nullptr;
    if (sqlite3_exec(db.handle, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        error = path + ": " + (message ? message : "ошибка SQLite");
        sqlite3_free(message);
        return false;
    }
    return true;
}

}  // namespace

bool writeTableFiles(const std::string& folder, std::string& error) {
    const auto headers = makeHeaderTable();
    const auto lines = makeLineTable();
    if (!writeDatabase(joinPath(folder, "talp.db"), *headers,
                       "CREATE INDEX \"Prog\" ON \"talp\" (\"ProgNum\" COLLATE NOCASE)", error) ||
        !writeDatabase(joinPath(folder, "tals.db"), *lines,
                       "CREATE INDEX \"ProgStr\" ON \"tals\" (\"ProgNum\" COLLATE NOCASE, "
                       "\"StrNum\" COLLATE NOCASE)",
                       error))
        return false;
    const std::pair<const char*, const char*> texts[] = {
        {"talp.px", "Первичный индекс таблицы talp: Key\n"},
        {"tals.px", "Первичный индекс таблицы tals: Key (Table1Index1)\n"},
        {"talp.val",
         "Param 04: Param04>=0 and Param04<=99; сообщение: Допустимые пределы 0...180\n"},
        {"tals.val", "Ограничений нет\n"},
    };
    for (const auto& [name, text] : texts) {
        const auto path = joinPath(folder, name);
        if (writeFileAtomically(path, *encodeCp1251(text)) != WriteStatus::Ok) {
            error = "не удалось записать " + path;
            return false;
        }
    }
    return true;
}

void checkTableFile(const std::string& path, const Table& table) {
    const std::string broken = "Файл таблицы " + path + " повреждён или описывает другую таблицу";
    if (!fileExists(path))
        throw EngineError("Файл таблицы " + path + " не найден");
    Database db;
    if (sqlite3_open_v2(path.c_str(), &db.handle, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        throw EngineError("Не удаётся открыть файл таблицы " + path);
    sqlite3_stmt* statement = nullptr;
    const std::string sql = "PRAGMA table_info(" + quoted(table.name()) + ")";
    // Another program's lock is no damage: the operator can close that program.
    const auto failure = [&] {
        const int code = sqlite3_errcode(db.handle) & 0xFF;
        if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
            return EngineError("Файл таблицы " + path +
                               " занят: он открыт для записи в другой программе. Закройте её и "
                               "повторите");
        return EngineError(broken);
    };
    if (sqlite3_prepare_v2(db.handle, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        throw failure();
    std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> guard(statement, sqlite3_finalize);
    std::size_t index = 0;
    const auto& fields = table.fields();
    int step;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
        const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(statement, 2));
        if (index >= fields.size() || !name || !type || fields[index].name != name ||
            declaredType(fields[index]) != type)
            throw EngineError(broken);
        ++index;
    }
    if (step != SQLITE_DONE)
        throw failure();
    if (index != fields.size())
        throw EngineError(broken);
}

}  // namespace tal
