#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

struct sqlite3;

namespace zelvo {

// A value bound to a '?' of a statement. Text is stored as given (8-bit, as the column wants).
using SqlValue = std::variant<std::nullptr_t, std::string, double, std::int64_t>;

// Result of a bound query: NULL columns read as empty text.
struct SqlRows {
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
};

using RowCallback = int (*)(void* context, int columnCount, char** values, char** names);

// The one connection to the local database. Every operation answers true on success; SQLite's
// error text is not kept.
class CLocalDb {
public:
    CLocalDb() = default;
    ~CLocalDb();
    CLocalDb(const CLocalDb&) = delete;
    CLocalDb& operator=(const CLocalDb&) = delete;

    // Opens an existing database file for reading and writing; a missing file is not created.
    bool Open(const std::u16string& path);
    void Close();
    bool IsOpen() const { return m_db != nullptr; }

    bool Execute(const std::string& sql);
    bool ExecuteWithCallback(const std::string& sql, RowCallback callback, void* context);
    bool GetTable(const std::string& sql, char*** results, int* rows, int* columns);
    bool CountRows(const std::string& sql, int& rows);
    void FreeTable(char** results);

    // Statements whose values come from operators, the gateway or the configuration bind them.
    bool Execute(const std::string& sql, const std::vector<SqlValue>& values);
    bool Query(const std::string& sql, const std::vector<SqlValue>& values, SqlRows& result);
    // Rows changed by the last statement (0 when nothing matched).
    int ChangedRows() const;

private:
    sqlite3* m_db = nullptr;
};

}  // namespace zelvo
