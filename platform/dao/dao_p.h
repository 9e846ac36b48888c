#pragma once
// Internals of the data layer shared by its source files.
#include "dao/dao.h"

#include <SQLiteCpp/Database.h>
#include <sqlite3.h>

#include <QHash>
#include <QVector>

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace dao {

// Extra numbers used inside the layer only.
namespace err {
inline constexpr int InvalidArgument = 3001;
inline constexpr int CharactersAfterEnd = 3142;
} // namespace err

// How a column stores its values, from its declared type.
enum class ColKind { Any, Integer, Real, Text, Boolean, Blob };
ColKind kindOfDeclType(const char *declType);

// What a statement does; a refused foreign key means "dependent rows exist" on a delete and
// "parent row missing" otherwise.
enum class Op { Read, Insert, Update, Delete, Other };
Op opOfSql(std::string_view sql);

[[noreturn]] void raise(int number, const QString &description);
// Turns an SQLite failure into the engine's error.
[[noreturn]] void raiseSqlite(sqlite3 *db, int rc, Op op);

class Stmt;

struct TableInfo
{
    QString name; // as the file spells it
    QStringList columns;
    QVector<ColKind> kinds;
    int keyColumn = -1; // the INTEGER PRIMARY KEY column, -1 when there is none
    bool autoIncrement = false;
};

// The open connection behind a Database handle.
struct Connection
{
    std::unique_ptr<SQLite::Database> db;
    QString path;
    long long recordsAffected = 0;
    // The statements of forward record sets still being read; Close finalizes them first, since
    // the connection does not close while a statement is open.
    std::vector<std::weak_ptr<Stmt>> cursors;
    // Statements run again and again (an action query per record written, a list's query each
    // time it is loaded): kept prepared, reset and unbound, most recent last; Close finalizes
    // them.
    struct Prepared
    {
        std::string sql;
        sqlite3_stmt *stmt;
    };
    std::vector<Prepared> prepared;
    // The tables found by name (as asked for) since the schema had this version: a table opened
    // again is not looked up in the schema again.
    int schemaVersion = -1;
    QHash<QString, TableInfo> tables;

    Connection() = default;
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;
    // The kept statements go first: the connection does not close while one is left.
    ~Connection()
    {
        for (const Prepared &p : prepared)
            sqlite3_finalize(p.stmt);
    }

    sqlite3 *handle() const; // 3420 once closed
    bool isOpen() const { return db != nullptr; }
};

// The statement of sql kept on the connection, taken from it; nullptr when none is kept.
sqlite3_stmt *takePrepared(Connection &c, std::string_view sql);
// Resets and unbinds the statement of sql and keeps it on the connection for its next run.
void keepPrepared(Connection &c, std::string_view sql, Stmt &s);

// Opens an existing file and checks it (format, password). Never creates a file.
std::shared_ptr<Connection> openConnection(const QString &path, bool exclusive, bool readOnly, const QString &connect);
// Creates a new file with the format mark and the password record; an existing file: 3204.
std::shared_ptr<Connection> createConnection(const QString &path, const QString &connect);
QString passwordOf(const QString &connect);

// A prepared statement for one operation. None outlives a call holding a lock: it is finalized,
// or reset and kept on the connection (keepPrepared), except the statement of a forward record
// set still being read; Close finalizes both kinds before the connection closes.
class Stmt
{
public:
    Stmt(sqlite3 *db, std::string_view sql, Op op);
    // Takes over a statement prepared before (reset and unbound).
    Stmt(sqlite3 *db, sqlite3_stmt *prepared, Op op) : db_(db), stmt_(prepared), op_(op) {}
    ~Stmt();
    Stmt(const Stmt &) = delete;
    Stmt &operator=(const Stmt &) = delete;

    bool empty() const { return stmt_ == nullptr; } // only blanks or comments
    std::string_view tail() const { return tail_; }
    sqlite3_stmt *get() const { return stmt_; }
    // Hands the statement over to the caller; the object is then empty.
    sqlite3_stmt *release()
    {
        sqlite3_stmt *s = stmt_;
        stmt_ = nullptr;
        return s;
    }
    // Finalizes the statement now (the connection is closing); the object is then empty.
    void finalize()
    {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }

    void bind(int position, const QVariant &storageValue); // position from 1
    void bindAll(const QVariantList &params);              // positional `?`, converted as params
    bool step();                                           // true: a row; false: done
    QVariant column(int index, ColKind kind) const;

private:
    sqlite3 *db_;
    sqlite3_stmt *stmt_ = nullptr;
    std::string_view tail_;
    Op op_;
};

// The value as it is written into a column of the given kind: Null, qlonglong, double,
// QString or QByteArray; raises 3421 when the value cannot become one.
QVariant toStorage(const QVariant &value, ColKind kind, const QString &columnName);
// The stored value as read back from a column of that kind (booleans become bool).
QVariant fromStorage(const QVariant &stored, ColKind kind);

// The table of that name (letter case does not matter), else nullopt.
std::optional<TableInfo> findTable(sqlite3 *db, const QString &name);
// The same, remembered on the connection until the schema changes.
std::optional<TableInfo> findTable(Connection &c, const QString &name);
QString quoteIdent(const QString &name);

// German text rules: the collation NOCASEDE and the LIKE operator.
void registerTextRules(sqlite3 *db);

// Creates the empty file path, readable and writable by its owner alone (0600), where SQLite
// then builds a database: the files hold members' addresses and bank details. False when path
// exists or cannot be created.
bool createPrivateFile(const QString &path);

// Folding used for field names: letter case does not matter.
inline QString fieldKey(const QString &name)
{
    return name.toCaseFolded();
}

} // namespace dao
