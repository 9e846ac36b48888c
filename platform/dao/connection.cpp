// Connections, statements, errors and value conversions of the data layer.
#include "dao/oledate.h"
#include "dao_p.h"

#include "common/datetext.h"
#include "common/numbers.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>

#include <cmath>

#include <fcntl.h>
#include <unistd.h>

namespace dao {

// ---------------------------------------------------------------------------------------------
// Errors

void raise(int number, const QString &description)
{
    throw vb::Error(number, description);
}

namespace {

// The name after "prefix" in an SQLite message ("no such table: Fisch" -> "Fisch").
QString nameAfter(const QString &msg, const QString &prefix)
{
    const int at = msg.indexOf(prefix);
    return at < 0 ? QString() : msg.mid(at + prefix.size()).trimmed();
}

} // namespace

void raiseSqlite(sqlite3 *db, int rc, Op op)
{
    const int ext = rc > 0xff ? rc : (db ? sqlite3_extended_errcode(db) : rc);
    const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    switch (rc & 0xff) {
    case SQLITE_CONSTRAINT:
        // ON DELETE RESTRICT reports itself as a trigger failure.
        switch (msg.contains(QLatin1String("FOREIGN KEY constraint failed")) ? SQLITE_CONSTRAINT_FOREIGNKEY : ext) {
        case SQLITE_CONSTRAINT_UNIQUE:
        case SQLITE_CONSTRAINT_PRIMARYKEY:
            raise(err::DuplicateKey, QStringLiteral("Die Änderungen wurden nicht übernommen, weil sie im Index, im "
                                                    "Primärschlüssel oder in der Beziehung doppelte Werte erzeugen "
                                                    "würden."));
        case SQLITE_CONSTRAINT_FOREIGNKEY:
            if (op == Op::Delete)
                raise(err::RelatedRecordsExist,
                      QStringLiteral("Der Datensatz kann nicht gelöscht oder geändert werden, da "
                                     "eine andere Tabelle verknüpfte Datensätze enthält."));
            raise(err::RelatedRecordRequired,
                  QStringLiteral("Der Datensatz kann nicht hinzugefügt oder geändert werden, da "
                                 "ein verknüpfter Datensatz in einer anderen Tabelle fehlt."));
        case SQLITE_CONSTRAINT_NOTNULL:
            raise(err::NullNotAllowed, QStringLiteral("Das Feld '%1' darf keinen Nullwert enthalten.")
                                           .arg(nameAfter(msg, QStringLiteral("failed: "))));
        default: raise(err::ValidationRule, QStringLiteral("Ein Wert wird von der Gültigkeitsregel nicht zugelassen."));
        }
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        raise(err::Locked, QStringLiteral("Aktualisieren nicht möglich; die Datenbank ist zurzeit gesperrt, sie wird "
                                          "von einem anderen Programm verwendet."));
    case SQLITE_READONLY:
        if (ext == SQLITE_READONLY_DBMOVED) {
            // The file was deleted or renamed while open: the connection still reads the old copy.
            const char *file = db ? sqlite3_db_filename(db, "main") : nullptr;
            raise(err::FileNotFound,
                  QStringLiteral("Die Datenbankdatei '%1' ist nicht mehr vorhanden (seit dem Öffnen gelöscht oder "
                                 "verschoben); die Änderung wurde nicht gespeichert.")
                      .arg(file ? QString::fromUtf8(file) : QString()));
        }
        raise(err::ReadOnly, QStringLiteral("Aktualisieren nicht möglich; Datenbank oder Objekt "
                                            "ist schreibgeschützt."));
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: raise(err::UnrecognizedFormat, QStringLiteral("Unerkanntes Datenbankformat."));
    case SQLITE_CANTOPEN: raise(err::CannotOpenFile, QStringLiteral("Die Datei kann nicht geöffnet werden."));
    case SQLITE_FULL: raise(err::DiskFull, QStringLiteral("Auf dem Datenträger ist nicht genügend Platz."));
    case SQLITE_IOERR: raise(err::DiskError, QStringLiteral("Datenträger- oder Netzwerkfehler."));
    case SQLITE_NOMEM: raise(err::OutOfMemory, QStringLiteral("Nicht genügend Speicher."));
    case SQLITE_ERROR:
        if (msg.startsWith(QLatin1String("no such table:")))
            raise(err::TableNotFound, QStringLiteral("Die Tabelle oder Abfrage '%1' wurde nicht gefunden.")
                                          .arg(nameAfter(msg, QStringLiteral("no such table:"))));
        if (msg.startsWith(QLatin1String("no such column:")))
            raise(err::TooFewParameters, QStringLiteral("Zu wenige Parameter: '%1' ist kein bekanntes Feld.")
                                             .arg(nameAfter(msg, QStringLiteral("no such column:"))));
        raise(err::SyntaxError, QStringLiteral("Syntaxfehler in der Abfrage (%1).").arg(msg));
    default: break;
    }
    raise(err::Reserved, QStringLiteral("Reservierter Fehler (%1); für diesen Fehler gibt es keine Meldung.").arg(ext));
}

Op opOfSql(std::string_view sql)
{
    std::size_t i = 0;
    while (i < sql.size() && (sql[i] == ' ' || sql[i] == '\t' || sql[i] == '\n' || sql[i] == '\r'))
        ++i;
    const QString head =
        QString::fromUtf8(sql.substr(i, 6).data(), int(std::min<std::size_t>(6, sql.size() - i))).toUpper();
    if (head == QLatin1String("DELETE"))
        return Op::Delete;
    if (head == QLatin1String("INSERT"))
        return Op::Insert;
    if (head == QLatin1String("UPDATE"))
        return Op::Update;
    if (head == QLatin1String("SELECT"))
        return Op::Read;
    return Op::Other;
}

// ---------------------------------------------------------------------------------------------
// Connection and statements

sqlite3 *Connection::handle() const
{
    if (!db)
        raise(err::ObjectInvalid, QStringLiteral("Objekt ist ungültig oder nicht mehr festgelegt."));
    return db->getHandle();
}

Stmt::Stmt(sqlite3 *db, std::string_view sql, Op op) : db_(db), op_(op)
{
    const char *tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.data(), int(sql.size()), &stmt_, &tail);
    if (rc != SQLITE_OK)
        raiseSqlite(db, rc, op);
    tail_ = tail ? std::string_view(tail, std::size_t(sql.data() + sql.size() - tail)) : std::string_view();
}

Stmt::~Stmt()
{
    if (stmt_)
        sqlite3_finalize(stmt_);
}

void Stmt::bind(int position, const QVariant &v)
{
    int rc = SQLITE_OK;
    switch (v.typeId()) {
    case QMetaType::UnknownType: rc = sqlite3_bind_null(stmt_, position); break;
    case QMetaType::LongLong: rc = sqlite3_bind_int64(stmt_, position, v.toLongLong()); break;
    case QMetaType::Double: rc = sqlite3_bind_double(stmt_, position, v.toDouble()); break;
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        rc = sqlite3_bind_blob64(stmt_, position, b.constData(), sqlite3_uint64(b.size()), SQLITE_TRANSIENT);
        break;
    }
    default: {
        const QByteArray s = v.toString().toUtf8();
        rc = sqlite3_bind_text64(stmt_, position, s.constData(), sqlite3_uint64(s.size()), SQLITE_TRANSIENT,
                                 SQLITE_UTF8);
        break;
    }
    }
    if (rc != SQLITE_OK)
        raiseSqlite(db_, rc, op_);
}

void Stmt::bindAll(const QVariantList &params)
{
    const int expected = sqlite3_bind_parameter_count(stmt_);
    if (expected != params.size())
        raise(err::TooFewParameters,
              QStringLiteral("Zu wenige Parameter. Erwartet: %1, übergeben: %2.").arg(expected).arg(params.size()));
    for (int i = 0; i < params.size(); ++i)
        bind(i + 1, toStorage(params[i], ColKind::Any, QString()));
}

bool Stmt::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    raiseSqlite(db_, rc, op_);
}

QVariant Stmt::column(int i, ColKind kind) const
{
    // The column's value is taken once and read without the connection's lock, which each
    // sqlite3_column_* call would take anew: the objects are used from one thread.
    sqlite3_value *value = sqlite3_column_value(stmt_, i);
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER: {
        const qlonglong v = sqlite3_value_int64(value);
        if (kind == ColKind::Boolean)
            return QVariant(v != 0);
        return QVariant(v);
    }
    case SQLITE_FLOAT: {
        const double v = sqlite3_value_double(value);
        if (kind == ColKind::Boolean)
            return QVariant(v != 0.0);
        return QVariant(v);
    }
    case SQLITE_TEXT: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
        return QVariant(QString::fromUtf8(text, sqlite3_value_bytes(value)));
    }
    case SQLITE_BLOB: {
        const void *p = sqlite3_value_blob(value);
        return QVariant(QByteArray(static_cast<const char *>(p), sqlite3_value_bytes(value)));
    }
    default: return QVariant();
    }
}

// ---------------------------------------------------------------------------------------------
// Value conversions

ColKind kindOfDeclType(const char *declType)
{
    if (!declType || !*declType)
        return ColKind::Any;
    const QByteArray t = QByteArray(declType).toUpper();
    if (t.contains("BOOL"))
        return ColKind::Boolean;
    if (t.contains("INT"))
        return ColKind::Integer;
    if (t.contains("CHAR") || t.contains("TEXT") || t.contains("CLOB"))
        return ColKind::Text;
    if (t.contains("BLOB"))
        return ColKind::Blob;
    if (t.contains("REAL") || t.contains("FLOA") || t.contains("DOUB") || t.contains("DATE"))
        return ColKind::Real;
    return ColKind::Any;
}

namespace {

[[noreturn]] void conversionError(const QString &column)
{
    if (column.isEmpty())
        raise(err::DataTypeConversion, QStringLiteral("Fehler bei der Datentypkonvertierung."));
    raise(err::DataTypeConversion, QStringLiteral("Fehler bei der Datentypkonvertierung im Feld '%1'.").arg(column));
}

// A number typed as text: plain ("12.5") or with the German decimal comma ("12,5").
std::optional<double> parseNumber(const QString &text)
{
    const QString t = text.trimmed();
    bool ok = false;
    double d = QLocale::c().toDouble(t, &ok);
    if (ok && std::isfinite(d))
        return d;
    d = numbers::german().toDouble(t, &ok);
    if (ok && std::isfinite(d))
        return d;
    return std::nullopt;
}

QVariant integerFromDouble(double d, const QString &column)
{
    if (!std::isfinite(d) || std::fabs(d) > 9.0e18)
        conversionError(column);
    return QVariant(qlonglong(std::llround(d)));
}

} // namespace

QVariant toStorage(const QVariant &v, ColKind kind, const QString &column)
{
    if (!v.isValid())
        return QVariant();
    switch (v.typeId()) {
    case QMetaType::Bool: {
        const bool b = v.toBool();
        if (kind == ColKind::Text)
            return QVariant(b ? QStringLiteral("True") : QStringLiteral("False"));
        if (kind == ColKind::Real)
            return QVariant(b ? 1.0 : 0.0);
        return QVariant(qlonglong(b ? 1 : 0));
    }
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar: {
        const qlonglong n = v.toLongLong();
        switch (kind) {
        case ColKind::Boolean: return QVariant(qlonglong(n != 0 ? 1 : 0));
        case ColKind::Real: return QVariant(double(n));
        case ColKind::Text: return QVariant(QString::number(n));
        default: return QVariant(n);
        }
    }
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = v.toDouble();
        switch (kind) {
        case ColKind::Boolean: return QVariant(qlonglong(d != 0.0 ? 1 : 0));
        case ColKind::Integer: return integerFromDouble(d, column);
        case ColKind::Text: return QVariant(v.toString());
        default:
            if (!std::isfinite(d))
                conversionError(column);
            return QVariant(d);
        }
    }
    case QMetaType::QString:
    case QMetaType::QChar: {
        const QString s = v.toString();
        switch (kind) {
        case ColKind::Integer: {
            bool ok = false;
            const qlonglong n = s.trimmed().toLongLong(&ok);
            if (ok)
                return QVariant(n);
            if (const auto d = parseNumber(s))
                return integerFromDouble(*d, column);
            conversionError(column);
        }
        case ColKind::Real:
            if (const auto d = parseNumber(s))
                return QVariant(*d);
            conversionError(column);
        case ColKind::Boolean: {
            const QString t = s.trimmed().toLower();
            if (t == QLatin1String("true") || t == QLatin1String("wahr"))
                return QVariant(qlonglong(1));
            if (t == QLatin1String("false") || t == QLatin1String("falsch"))
                return QVariant(qlonglong(0));
            if (const auto d = parseNumber(s))
                return QVariant(qlonglong(*d != 0.0 ? 1 : 0));
            conversionError(column);
        }
        default: return QVariant(s);
        }
    }
    case QMetaType::QDate:
    case QMetaType::QDateTime: {
        const QDateTime dt = v.typeId() == QMetaType::QDate ? QDateTime(v.toDate(), QTime(0, 0)) : v.toDateTime();
        switch (kind) {
        case ColKind::Text: return QVariant(datetext::dateTime(dt));
        case ColKind::Integer:
        case ColKind::Boolean:
        case ColKind::Blob: conversionError(column);
        default: return QVariant(ToOleDate(dt));
        }
    }
    case QMetaType::QByteArray: return QVariant(v.toByteArray());
    default: break;
    }
    conversionError(column);
}

QVariant fromStorage(const QVariant &stored, ColKind kind)
{
    if (kind == ColKind::Boolean && stored.isValid())
        return QVariant(stored.toDouble() != 0.0);
    return stored;
}

// ---------------------------------------------------------------------------------------------
// Tables

QString quoteIdent(const QString &name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

std::optional<TableInfo> findTable(sqlite3 *db, const QString &name)
{
    TableInfo info;
    QString sql;
    {
        Stmt s(db,
               "SELECT name, sql FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE "
               "AND name <> 'tv_meta' AND substr(name, 1, 7) <> 'sqlite_'",
               Op::Read);
        s.bind(1, QVariant(name));
        if (!s.step())
            return std::nullopt;
        info.name = s.column(0, ColKind::Text).toString();
        sql = s.column(1, ColKind::Text).toString();
    }
    Stmt s(db, "SELECT name, type, pk FROM pragma_table_info(?) ORDER BY cid", Op::Read);
    s.bind(1, QVariant(info.name));
    int pkCount = 0, pkIndex = -1;
    while (s.step()) {
        const QString type = s.column(1, ColKind::Text).toString();
        info.columns << s.column(0, ColKind::Text).toString();
        info.kinds << kindOfDeclType(type.toUtf8().constData());
        if (s.column(2, ColKind::Integer).toLongLong() > 0) {
            ++pkCount;
            if (type.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0)
                pkIndex = int(info.columns.size()) - 1;
        }
    }
    if (pkCount == 1 && pkIndex >= 0) {
        info.keyColumn = pkIndex;
        info.autoIncrement = sql.contains(QLatin1String("AUTOINCREMENT"), Qt::CaseInsensitive);
    }
    return info;
}

// ---------------------------------------------------------------------------------------------
// Opening

namespace {

constexpr const char *kFormatMark = "torvana-db-1";

QString hashPassword(const QByteArray &salt, const QString &password)
{
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(salt);
    h.addData(password.toUtf8());
    return QString::fromLatin1(h.result().toHex());
}

void setUpConnection(sqlite3 *db)
{
    sqlite3_busy_timeout(db, 5000);
    char *msg = nullptr;
    const int rc = sqlite3_exec(db, "PRAGMA foreign_keys = ON", nullptr, nullptr, &msg);
    sqlite3_free(msg);
    if (rc != SQLITE_OK)
        raiseSqlite(db, rc, Op::Other);
    registerTextRules(db);
}

// Reads the format mark and the password record; all failures mean "not ours".
void checkFile(sqlite3 *db, const QString &path, const QString &password)
{
    QString mark, salt, hash;
    try {
        Stmt s(db, "SELECT Name, Wert FROM tv_meta", Op::Read);
        while (s.step()) {
            const QString name = s.column(0, ColKind::Text).toString();
            const QString value = s.column(1, ColKind::Text).toString();
            if (name == QLatin1String("format"))
                mark = value;
            else if (name == QLatin1String("pwd_salt"))
                salt = value;
            else if (name == QLatin1String("pwd_hash"))
                hash = value;
        }
    } catch (const vb::Error &e) {
        if (e.number() == err::Locked)
            raise(err::FileInUse, QStringLiteral("Die Datei '%1' kann nicht verwendet werden; sie ist bereits in "
                                                 "Verwendung.")
                                      .arg(path));
        if (e.number() == err::DiskError || e.number() == err::OutOfMemory)
            throw;
        mark.clear();
    }
    if (mark != QLatin1String(kFormatMark))
        raise(err::UnrecognizedFormat, QStringLiteral("Unerkanntes Datenbankformat '%1'.").arg(path));
    if (hash.isEmpty())
        return; // a database without password
    if (hashPassword(QByteArray::fromHex(salt.toLatin1()), password) != hash)
        raise(err::WrongPassword, QStringLiteral("Kein gültiges Kennwort."));
}

} // namespace

bool createPrivateFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

QString passwordOf(const QString &connect)
{
    const QStringList parts = connect.split(QLatin1Char(';'));
    for (const QString &part : parts) {
        const int eq = part.indexOf(QLatin1Char('='));
        if (eq > 0 && part.left(eq).trimmed().compare(QLatin1String("pwd"), Qt::CaseInsensitive) == 0)
            return part.mid(eq + 1);
    }
    return QString();
}

std::shared_ptr<Connection> openConnection(const QString &path, bool exclusive, bool readOnly, const QString &connect)
{
    const QFileInfo fi(path);
    if (path.isEmpty() || !fi.exists())
        raise(err::FileNotFound, QStringLiteral("Die Datei '%1' wurde nicht gefunden.").arg(path));
    if (!fi.isFile())
        raise(err::CannotOpenFile, QStringLiteral("Die Datei '%1' kann nicht geöffnet werden.").arg(path));

    auto c = std::make_shared<Connection>();
    c->path = path;
    // Without SQLite's own mutex: a connection is used from one thread only (see dao.h).
    const int flags = (readOnly ? SQLite::OPEN_READONLY : SQLite::OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    try {
        c->db = std::make_unique<SQLite::Database>(path.toUtf8().toStdString(), flags);
    } catch (const SQLite::Exception &e) {
        if ((e.getErrorCode() & 0xff) == SQLITE_NOTADB || (e.getErrorCode() & 0xff) == SQLITE_CORRUPT)
            raise(err::UnrecognizedFormat, QStringLiteral("Unerkanntes Datenbankformat '%1'.").arg(path));
        raise(err::CannotOpenFile, QStringLiteral("Die Datei '%1' kann nicht geöffnet werden.").arg(path));
    }
    sqlite3 *db = c->db->getHandle();
    setUpConnection(db);
    checkFile(db, path, passwordOf(connect));
    if (exclusive) {
        char *msg = nullptr;
        int rc = sqlite3_exec(db, "PRAGMA locking_mode = EXCLUSIVE", nullptr, nullptr, &msg);
        sqlite3_free(msg);
        if (rc != SQLITE_OK)
            raiseSqlite(db, rc, Op::Other);
    }
    return c;
}

std::shared_ptr<Connection> createConnection(const QString &path, const QString &connect)
{
    if (path.isEmpty())
        raise(err::InvalidPath, QStringLiteral("'%1' ist kein zulässiger Pfad.").arg(path));
    if (QFileInfo::exists(path))
        raise(err::DatabaseExists, QStringLiteral("Die Datenbank '%1' existiert bereits.").arg(path));
    // SQLite takes the empty file for a new database; its journals get the file's mode.
    if (!createPrivateFile(path))
        raise(err::InvalidPath, QStringLiteral("'%1' ist kein zulässiger Pfad.").arg(path));
    auto c = std::make_shared<Connection>();
    c->path = path;
    try {
        c->db = std::make_unique<SQLite::Database>(path.toUtf8().toStdString(),
                                                   SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    } catch (const SQLite::Exception &) {
        QFile::remove(path);
        raise(err::InvalidPath, QStringLiteral("'%1' ist kein zulässiger Pfad.").arg(path));
    }
    try {
        sqlite3 *db = c->db->getHandle();
        setUpConnection(db);
        const QString password = passwordOf(connect);
        QByteArray salt(16, Qt::Uninitialized);
        QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(salt.data()), 4);
        char *msg = nullptr;
        int rc = sqlite3_exec(db, "BEGIN; CREATE TABLE tv_meta (Name TEXT PRIMARY KEY, Wert TEXT NOT NULL);", nullptr,
                              nullptr, &msg);
        sqlite3_free(msg);
        if (rc != SQLITE_OK)
            raiseSqlite(db, rc, Op::Other);
        const QList<QPair<QString, QString>> rows = {
            {QStringLiteral("format"), QString::fromLatin1(kFormatMark)},
            {QStringLiteral("pwd_salt"), password.isEmpty() ? QString() : QString::fromLatin1(salt.toHex())},
            {QStringLiteral("pwd_hash"), password.isEmpty() ? QString() : hashPassword(salt, password)},
        };
        for (const auto &row : rows) {
            Stmt s(db, "INSERT INTO tv_meta (Name, Wert) VALUES (?, ?)", Op::Insert);
            s.bind(1, QVariant(row.first));
            s.bind(2, QVariant(row.second));
            s.step();
        }
        rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, &msg);
        sqlite3_free(msg);
        if (rc != SQLITE_OK)
            raiseSqlite(db, rc, Op::Other);
    } catch (...) {
        c->db.reset();
        QFile::remove(path);
        throw;
    }
    return c;
}

} // namespace dao
