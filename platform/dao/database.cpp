// DBEngine, Workspace and Database.
#include "dao_p.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <fcntl.h>
#include <unistd.h>

namespace dao {

namespace {

void execPlain(sqlite3 *db, const char *sql)
{
    char *msg = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &msg);
    sqlite3_free(msg);
    if (rc != SQLITE_OK)
        raiseSqlite(db, rc, Op::Other);
}

bool isBlank(std::string_view s)
{
    for (char ch : s)
        if (ch != ' ' && ch != '\t' && ch != '\n' && ch != '\r' && ch != ';')
            return false;
    return true;
}

void syncFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        raise(err::DiskError, QStringLiteral("Datenträger- oder Netzwerkfehler."));
    const int rc = ::fsync(fd);
    ::close(fd);
    if (rc != 0)
        raise(err::DiskError, QStringLiteral("Datenträger- oder Netzwerkfehler."));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Database

Database::Database() = default;
Database::Database(std::shared_ptr<Connection> c) : c_(std::move(c))
{}

Connection &Database::conn() const
{
    if (!c_ || !c_->isOpen())
        raise(err::ObjectInvalid, QStringLiteral("Objekt ist ungültig oder nicht mehr festgelegt."));
    return *c_;
}

bool Database::IsOpen() const
{
    return c_ && c_->isOpen();
}

QString Database::Name() const
{
    return conn().path;
}

namespace {
constexpr std::size_t KeptStatements = 16;

void finalizePrepared(Connection &c)
{
    for (const Connection::Prepared &p : c.prepared)
        sqlite3_finalize(p.stmt);
    c.prepared.clear();
}

} // namespace

sqlite3_stmt *takePrepared(Connection &c, std::string_view sql)
{
    const auto it =
        std::find_if(c.prepared.begin(), c.prepared.end(), [&](const Connection::Prepared &p) { return p.sql == sql; });
    if (it == c.prepared.end())
        return nullptr;
    sqlite3_stmt *s = it->stmt;
    c.prepared.erase(it);
    return s;
}

void keepPrepared(Connection &c, std::string_view sql, Stmt &s)
{
    sqlite3_reset(s.get());
    sqlite3_clear_bindings(s.get());
    if (c.prepared.size() >= KeptStatements) {
        sqlite3_finalize(c.prepared.front().stmt);
        c.prepared.erase(c.prepared.begin());
    }
    c.prepared.push_back({std::string(sql), s.release()});
}

void Database::Execute(const SqlText &sql, const QVariantList &params)
{
    Connection &c = conn();
    sqlite3 *db = c.handle();
    std::string_view rest = sql.text();
    if (!params.isEmpty()) {
        // One statement with parameters: run it on its prepared statement when it ran before.
        if (sqlite3_stmt *kept = takePrepared(c, rest)) {
            Stmt s(db, kept, opOfSql(rest));
            s.bindAll(params);
            while (s.step()) {
            }
            c.recordsAffected = sqlite3_changes64(db);
            keepPrepared(c, rest, s);
            return;
        }
    }
    bool first = true;
    while (!isBlank(rest)) {
        const Op op = opOfSql(rest);
        Stmt s(db, rest, op);
        rest = s.tail();
        if (s.empty())
            continue;
        if (sqlite3_column_count(s.get()) > 0)
            raise(err::CannotExecuteSelect, QStringLiteral("Eine Auswahlabfrage kann nicht ausgeführt werden."));
        if (!params.isEmpty() || sqlite3_bind_parameter_count(s.get()) > 0) {
            if (!first || !isBlank(rest))
                raise(err::CharactersAfterEnd, QStringLiteral("Zeichen nach dem Ende der SQL-Anweisung gefunden."));
            s.bindAll(params);
        }
        while (s.step()) {
        }
        c.recordsAffected = sqlite3_changes64(db);
        if (!params.isEmpty() && first && isBlank(rest)) {
            keepPrepared(c, sql.text(), s);
            return;
        }
        first = false;
    }
}

long long Database::RecordsAffected() const
{
    return conn().recordsAffected;
}

QStringList Database::CheckIntegrity()
{
    sqlite3 *db = conn().handle();
    QStringList problems;
    try {
        Stmt s(db, "PRAGMA integrity_check", Op::Read);
        while (s.step()) {
            const QString line = s.column(0, ColKind::Text).toString();
            if (line != QLatin1String("ok"))
                problems << QStringLiteral("Strukturfehler: %1").arg(line);
        }
        Stmt fk(db, "PRAGMA foreign_key_check", Op::Read);
        while (fk.step())
            problems << QStringLiteral("Tabelle '%1', Datensatz %2: der verknüpfte Datensatz in '%3' fehlt.")
                            .arg(fk.column(0, ColKind::Text).toString())
                            .arg(fk.column(1, ColKind::Integer).toLongLong())
                            .arg(fk.column(2, ColKind::Text).toString());
    } catch (const vb::Error &e) {
        if (e.number() != err::UnrecognizedFormat)
            throw;
        problems << QStringLiteral("Die Datei ist beschädigt.");
    }
    return problems;
}

void Database::Close()
{
    if (!c_)
        return;
    // A forward record set still being read keeps its handle, which then reports 3420.
    for (const std::weak_ptr<Stmt> &w : c_->cursors)
        if (auto s = w.lock())
            s->finalize();
    c_->cursors.clear();
    finalizePrepared(*c_);
    c_->db.reset();
}

// ---------------------------------------------------------------------------------------------
// Workspace

struct Workspace::Impl
{
    std::vector<std::weak_ptr<Connection>> opened;
    std::vector<std::weak_ptr<Connection>> inTransaction;
    int depth = 0;

    void track(const std::shared_ptr<Connection> &c)
    {
        std::erase_if(opened, [](const std::weak_ptr<Connection> &w) {
            auto s = w.lock();
            return !s || !s->isOpen();
        });
        opened.push_back(c);
    }

    template <typename F>
    void forEachInTransaction(F f)
    {
        for (auto &w : inTransaction)
            if (auto c = w.lock(); c && c->isOpen())
                f(c->db->getHandle());
    }
};

Workspace::Workspace() : d(std::make_shared<Impl>())
{}

Database Workspace::OpenDatabase(const QString &path, bool exclusive, bool readOnly, const QString &connect)
{
    auto c = openConnection(path, exclusive, readOnly, connect);
    d->track(c);
    return Database(c);
}

Database Workspace::CreateDatabase(const QString &path, const QString &connect)
{
    auto c = createConnection(path, connect);
    d->track(c);
    return Database(c);
}

namespace {
QByteArray savepointName(const char *verb, int level)
{
    return QByteArray(verb) + " tv_level_" + QByteArray::number(level);
}

[[noreturn]] void noTransaction()
{
    raise(err::CommitWithoutBegin,
          QStringLiteral("Sie haben versucht, eine Transaktion zu bestätigen oder zurückzusetzen, "
                         "ohne zuvor eine Transaktion zu beginnen."));
}

[[noreturn]] void transactionLost()
{
    raise(err::Reserved, QStringLiteral("Die Transaktion wurde nach einem Fehler bereits zurückgesetzt; es wurde "
                                        "nichts gespeichert."));
}
} // namespace

void Workspace::BeginTrans()
{
    if (d->depth >= 5)
        raise(err::TooManyTransactions,
              QStringLiteral("Transaktion kann nicht begonnen werden; zu viele Transaktionen sind "
                             "verschachtelt."));
    if (d->depth == 0) {
        d->inTransaction.clear();
        for (auto &w : d->opened)
            if (auto c = w.lock(); c && c->isOpen())
                d->inTransaction.push_back(c);
        std::vector<sqlite3 *> begun;
        try {
            d->forEachInTransaction([&](sqlite3 *db) {
                execPlain(db, "BEGIN");
                begun.push_back(db);
            });
        } catch (...) {
            for (sqlite3 *db : begun)
                sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            d->inTransaction.clear();
            throw;
        }
    } else {
        const QByteArray sql = savepointName("SAVEPOINT", d->depth);
        d->forEachInTransaction([&](sqlite3 *db) { execPlain(db, sql.constData()); });
    }
    ++d->depth;
}

void Workspace::CommitTrans()
{
    if (d->depth == 0)
        noTransaction();
    bool lost = false;
    d->forEachInTransaction([&](sqlite3 *db) { lost = lost || sqlite3_get_autocommit(db); });
    if (lost) {
        d->forEachInTransaction([](sqlite3 *db) {
            if (!sqlite3_get_autocommit(db))
                sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        });
        d->depth = 0;
        d->inTransaction.clear();
        transactionLost();
    }
    if (d->depth == 1) {
        d->forEachInTransaction([](sqlite3 *db) { execPlain(db, "COMMIT"); });
        d->inTransaction.clear();
    } else {
        const QByteArray sql = savepointName("RELEASE", d->depth - 1);
        d->forEachInTransaction([&](sqlite3 *db) { execPlain(db, sql.constData()); });
    }
    --d->depth;
}

void Workspace::Rollback()
{
    if (d->depth == 0)
        noTransaction();
    if (d->depth == 1) {
        d->forEachInTransaction([](sqlite3 *db) {
            if (!sqlite3_get_autocommit(db))
                execPlain(db, "ROLLBACK");
        });
        d->inTransaction.clear();
    } else {
        const QByteArray to = savepointName("ROLLBACK TO", d->depth - 1);
        const QByteArray release = savepointName("RELEASE", d->depth - 1);
        d->forEachInTransaction([&](sqlite3 *db) {
            if (!sqlite3_get_autocommit(db)) {
                execPlain(db, to.constData());
                execPlain(db, release.constData());
            }
        });
    }
    --d->depth;
}

// ---------------------------------------------------------------------------------------------
// DBEngine

Workspace &DBEngine::Workspaces(int index)
{
    static Workspace defaultWorkspace;
    if (index != 0)
        raise(err::ItemNotFound, QStringLiteral("Element in dieser Auflistung nicht gefunden."));
    return defaultWorkspace;
}

void DBEngine::CompactDatabase(const QString &src, const QString &dst, const QString &connect)
{
    if (dst.isEmpty())
        raise(err::InvalidPath, QStringLiteral("'%1' ist kein zulässiger Pfad.").arg(dst));
    if (QFileInfo::exists(dst))
        raise(err::DatabaseExists, QStringLiteral("Die Datenbank '%1' existiert bereits.").arg(dst));
    const QFileInfo dstInfo(dst);
    if (!dstInfo.absoluteDir().exists())
        raise(err::InvalidPath, QStringLiteral("'%1' ist kein zulässiger Pfad.").arg(dst));

    auto source = openConnection(src, false, true, connect);
    bool wrote = false;
    try {
        {
            sqlite3 *db = source->handle();
            Stmt s(db, "VACUUM INTO ?", Op::Other);
            s.bind(1, QVariant(dst));
            // The copy is the owner's alone from its first byte, whatever the umask; it keeps that
            // mode when it replaces the original.
            if (!createPrivateFile(dst))
                raise(err::InvalidPath, QStringLiteral("'%1' ist kein zulässiger Pfad.").arg(dst));
            wrote = true;
            try {
                s.step();
            } catch (const vb::Error &e) {
                if (e.number() == err::UnrecognizedFormat)
                    raise(err::CannotCompact, QStringLiteral("Die Datenbank '%1' ist beschädigt und kann nicht "
                                                             "komprimiert werden.")
                                                  .arg(src));
                if (e.number() == err::CannotOpenFile)
                    raise(err::InvalidPath, QStringLiteral("'%1' ist kein zulässiger Pfad.").arg(dst));
                throw;
            }
        }
        source->db.reset();
        syncFile(dst);
        // The copy must open with the same password and be sound before anyone replaces the
        // original with it.
        auto copy = openConnection(dst, false, true, connect);
        Stmt check(copy->handle(), "PRAGMA quick_check", Op::Read);
        if (!check.step() || check.column(0, ColKind::Text).toString() != QLatin1String("ok"))
            raise(err::CannotCompact, QStringLiteral("Die komprimierte Kopie '%1' ist fehlerhaft.").arg(dst));
    } catch (...) {
        source->db.reset();
        if (wrote) {
            QFile::remove(dst);
            QFile::remove(dst + QStringLiteral("-journal"));
        }
        throw;
    }
}

} // namespace dao
