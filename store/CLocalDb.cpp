#include "store/CLocalDb.h"

#include <sqlite3.h>

#include "base/CodePage.h"

namespace zelvo {
namespace {

constexpr int kBusyWaitMs = 5000;

// Owns a prepared statement with its values bound; invalid when preparing or binding failed.
class BoundStatement {
public:
    BoundStatement(sqlite3* db, const std::string& sql, const std::vector<SqlValue>& values) {
        if (!db || sql.empty()) return;
        if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &m_stmt, nullptr) !=
            SQLITE_OK) {
            return;
        }
        if (sqlite3_bind_parameter_count(m_stmt) != static_cast<int>(values.size())) return;
        for (size_t i = 0; i < values.size(); ++i) {
            if (!Bind(static_cast<int>(i) + 1, values[i])) return;
        }
        m_ready = true;
    }
    ~BoundStatement() { sqlite3_finalize(m_stmt); }
    BoundStatement(const BoundStatement&) = delete;
    BoundStatement& operator=(const BoundStatement&) = delete;

    bool Ready() const { return m_ready; }
    sqlite3_stmt* Get() const { return m_stmt; }

private:
    bool Bind(int index, const SqlValue& value) {
        int rc = SQLITE_OK;
        if (auto text = std::get_if<std::string>(&value)) {
            rc = sqlite3_bind_text(m_stmt, index, text->data(), static_cast<int>(text->size()),
                                   SQLITE_TRANSIENT);
        } else if (auto number = std::get_if<double>(&value)) {
            rc = sqlite3_bind_double(m_stmt, index, *number);
        } else if (auto integer = std::get_if<std::int64_t>(&value)) {
            rc = sqlite3_bind_int64(m_stmt, index, *integer);
        } else {
            rc = sqlite3_bind_null(m_stmt, index);
        }
        return rc == SQLITE_OK;
    }

    sqlite3_stmt* m_stmt = nullptr;
    bool m_ready = false;
};


std::string ColumnText(sqlite3_stmt* stmt, int column) {
    const unsigned char* text = sqlite3_column_text(stmt, column);
    if (!text) return {};
    return std::string(reinterpret_cast<const char*>(text), sqlite3_column_bytes(stmt, column));
}

}  // namespace

CLocalDb::~CLocalDb() { Close(); }

bool CLocalDb::Open(const std::u16string& path) {
    Close();
    if (path.empty()) return false;
    // The database is delivered with the installation: a missing file is a wrong folder, and
    // an empty database made there would only fail later.
    const std::string utf8 = Utf16ToUtf8(path);
    if (sqlite3_open_v2(utf8.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(m_db);
        m_db = nullptr;
        return false;
    }
    // The log is pruned, and open orders reconciled, on connections of their own: a statement
    // meeting one of their short transactions waits for it instead of failing.
    sqlite3_busy_timeout(m_db, kBusyWaitMs);
    return true;
}

void CLocalDb::Close() {
    if (m_db) sqlite3_close(m_db);
    m_db = nullptr;
}

bool CLocalDb::Execute(const std::string& sql) {
    if (!m_db || sql.empty()) return false;
    return sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool CLocalDb::ExecuteWithCallback(const std::string& sql, RowCallback callback, void* context) {
    if (!m_db || sql.empty() || !callback) return false;
    return sqlite3_exec(m_db, sql.c_str(), callback, context, nullptr) == SQLITE_OK;
}

bool CLocalDb::GetTable(const std::string& sql, char*** results, int* rows, int* columns) {
    if (!m_db || sql.empty() || !results || !rows || !columns) return false;
    *results = nullptr;
    *rows = 0;
    *columns = 0;
    return sqlite3_get_table(m_db, sql.c_str(), results, rows, columns, nullptr) == SQLITE_OK;
}

bool CLocalDb::CountRows(const std::string& sql, int& rows) {
    char** results = nullptr;
    int columns = 0;
    if (!GetTable(sql, &results, &rows, &columns)) return false;
    FreeTable(results);
    return true;
}

void CLocalDb::FreeTable(char** results) {
    if (results) sqlite3_free_table(results);
}

bool CLocalDb::Execute(const std::string& sql, const std::vector<SqlValue>& values) {
    BoundStatement statement(m_db, sql, values);
    if (!statement.Ready()) return false;
    int rc;
    while ((rc = sqlite3_step(statement.Get())) == SQLITE_ROW) {
    }
    return rc == SQLITE_DONE;
}

bool CLocalDb::Query(const std::string& sql, const std::vector<SqlValue>& values, SqlRows& result) {
    result = {};
    BoundStatement statement(m_db, sql, values);
    if (!statement.Ready()) return false;
    int count = sqlite3_column_count(statement.Get());
    for (int i = 0; i < count; ++i) {
        const char* name = sqlite3_column_name(statement.Get(), i);
        result.columns.emplace_back(name ? name : "");
    }
    int rc;
    while ((rc = sqlite3_step(statement.Get())) == SQLITE_ROW) {
        std::vector<std::string> row;
        row.reserve(count);
        for (int i = 0; i < count; ++i) row.push_back(ColumnText(statement.Get(), i));
        result.rows.push_back(std::move(row));
    }
    return rc == SQLITE_DONE;
}

int CLocalDb::ChangedRows() const { return m_db ? sqlite3_changes(m_db) : 0; }

}  // namespace zelvo
