#include "Sqlite.h"

namespace karvel::service::server {
namespace {

[[noreturn]] void fail(sqlite3* db, const std::string& what) {
    throw SqliteError(what + ": " + (db != nullptr ? sqlite3_errmsg(db) : "out of memory"));
}

}  // namespace

SqliteConnection::SqliteConnection(const std::string& path) {
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        const std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        throw SqliteError("cannot open database " + path + ": " + message);
    }
    sqlite3_extended_result_codes(db_, 1);
}

SqliteConnection::~SqliteConnection() {
    sqlite3_close(db_);
}

void SqliteConnection::exec(const std::string& sql) {
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        fail(db_, sql);
    }
}

std::string SqliteConnection::queryText(const std::string& sql) {
    SqliteStatement statement(*this, sql);
    return statement.step() ? statement.columnText(0) : std::string();
}

int SqliteConnection::changes() const {
    return sqlite3_changes(db_);
}

SqliteStatement::SqliteStatement(SqliteConnection& connection, const std::string& sql)
    : connection_(connection) {
    if (sqlite3_prepare_v3(connection.handle(), sql.c_str(), static_cast<int>(sql.size()),
                           SQLITE_PREPARE_PERSISTENT, &statement_, nullptr) != SQLITE_OK) {
        fail(connection.handle(), sql);
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(statement_);
}

void SqliteStatement::bind(int index, const std::string& value) {
    if (sqlite3_bind_text(statement_, index, value.data(), static_cast<int>(value.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK) {
        fail(connection_.handle(), "bind");
    }
}

void SqliteStatement::bind(int index, std::int64_t value) {
    if (sqlite3_bind_int64(statement_, index, value) != SQLITE_OK) {
        fail(connection_.handle(), "bind");
    }
}

void SqliteStatement::bind(int index, std::optional<std::int64_t> value) {
    if (value) {
        bind(index, *value);
    } else if (sqlite3_bind_null(statement_, index) != SQLITE_OK) {
        fail(connection_.handle(), "bind");
    }
}

bool SqliteStatement::step() {
    const int result = sqlite3_step(statement_);
    if (result == SQLITE_ROW) {
        return true;
    }
    if (result == SQLITE_DONE) {
        return false;
    }
    fail(connection_.handle(), "step");
}

void SqliteStatement::reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

std::string SqliteStatement::columnText(int index) const {
    const auto* text = sqlite3_column_text(statement_, index);
    return text != nullptr ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

std::int64_t SqliteStatement::columnInt(int index) const {
    return sqlite3_column_int64(statement_, index);
}

bool SqliteStatement::columnIsNull(int index) const {
    return sqlite3_column_type(statement_, index) == SQLITE_NULL;
}

}  // namespace karvel::service::server
