#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace karvel::service::server {

// Any failure reported by SQLite, with its message.
class SqliteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SqliteStatement;

// One open database connection; closed when destroyed.
class SqliteConnection {
public:
    explicit SqliteConnection(const std::string& path);
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    void exec(const std::string& sql);
    // The first column of the first row of a query, as text; empty when there is no row.
    std::string queryText(const std::string& sql);
    int changes() const;
    sqlite3* handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

// A prepared statement, reset after each use so that it can be run again.
class SqliteStatement {
public:
    SqliteStatement(SqliteConnection& connection, const std::string& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void bind(int index, const std::string& value);
    void bind(int index, std::int64_t value);
    void bind(int index, std::optional<std::int64_t> value);
    bool step();  // true while a row is ready
    void reset();

    std::string columnText(int index) const;
    std::int64_t columnInt(int index) const;
    bool columnIsNull(int index) const;

private:
    SqliteConnection& connection_;
    sqlite3_stmt* statement_ = nullptr;
};

// Resets a statement when a use of it ends, however it ends.
class StatementUse {
public:
    explicit StatementUse(SqliteStatement& statement) : statement_(statement) {}
    ~StatementUse() { statement_.reset(); }
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;

private:
    SqliteStatement& statement_;
};

}  // namespace karvel::service::server
