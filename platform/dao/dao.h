#pragma once
// Data access for the program's database file, on SQLite.
//
// The objects and members carry the names the program's procedures use (DBEngine, Workspace,
// Database, Recordset, Field; OpenDatabase, OpenRecordset, Seek, NoMatch, AddNew, ...), so that
// a procedure reads as it is meant. Every failure is thrown as vb::Error with the engine's error
// number and a German description; the numbers the program tells apart are listed in dao::err.
//
// Opening the application database:
//
//     dao::Workspace &ws = dao::DBEngine::Workspaces(0);
//     dao::Database db = ws.OpenDatabase(path, false, false, ";pwd=" + password);
//         // 3024: no such file (nothing is created), 3031: wrong password,
//         // 3045: in use (another program holds it locked; it is not damaged),
//         // 3343: not a database of this program (another program's file, or damaged)
//
// A second, short-lived connection to the same file (the print tables) is simply a second
// OpenDatabase of the same path; both connections may be open at once. Write over the second
// connection only while no transaction is open on the first, and close it before returning.
//
// SQL text is dao::Sql, which only string literals make (and dao::SqlText, joined from such
// literals at run time). A value from a user therefore never becomes part of the SQL text: it
// goes into the QVariantList of bound parameters, one per positional `?`.
//
//     dao::Recordset rs = db.OpenRecordset("SELECT * FROM Fisch WHERE FName = ?",
//                                          dao::dbOpenDynaset, {name});
//     dao::SqlText q("SELECT COUNT(k.KNr) AS Expr1000 FROM Kontakt k WHERE k.KategoNr = ?");
//     if (onlyPaid) q += " AND k.KNr IN (SELECT KNr FROM Mitglied WHERE Bezahlt = 1)";
//
// A query or action query run again (a list loaded anew, one INSERT per record written) runs on
// the statement prepared the first time, kept on the connection reset and unbound (it holds no
// lock); after a change of the tables it is prepared anew.
//
// Values are QVariant: SQL NULL is an invalid QVariant (QVariant()); INTEGER reads as qlonglong,
// REAL as double, TEXT as QString; columns declared BOOLEAN read as bool (any non-zero is
// true) and are written as 0/1. Dates are stored as OLE dates (double, see dao/oledate.h); a
// QDate or QDateTime given as a value or parameter is converted to one.
//
// Text comparison follows German rules: text columns of the schema use the collation NOCASEDE
// (case-insensitive, ä=Ä, ö=Ö, ü=Ü; umlauts sort beside their base letter), and LIKE takes the
// wildcard patterns users know: `*` any text, `?` one character, `#` one digit, `[abc]`,
// `[a-z]` and `[!abc]` one character of (not of) a list; `%` and `_` are ordinary characters.
// LIKE is case-insensitive with the same folding. Write `= ? COLLATE BINARY` where a comparison
// has to be exact (user name and password at login).
//
// Objects are handles: copying a Database shares the one connection (Close closes it for all
// copies); a Recordset is move-only. All objects are used from one thread.

#include "common/vberror.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace dao {

// Error numbers raised by this layer (vb::Error::number()).
namespace err {
inline constexpr int OutOfMemory = 7;
inline constexpr int Reserved = 3000; // an engine error without a number of its own
inline constexpr int TooManyTransactions = 3003;
inline constexpr int NoCurrentIndex = 3019;    // Seek without Index
inline constexpr int UpdateWithoutEdit = 3020; // Update/field write without AddNew or Edit
inline constexpr int NoCurrentRecord = 3021;
inline constexpr int DuplicateKey = 3022; // a UNIQUE or key violation
inline constexpr int FileNotFound = 3024; // OpenDatabase/CompactDatabase: no such file
inline constexpr int ReadOnly = 3027;     // read-only database or record set
inline constexpr int WrongPassword = 3031;
inline constexpr int CommitWithoutBegin = 3034;
inline constexpr int DiskError = 3043;
inline constexpr int FileInUse = 3045; // OpenDatabase: another program holds the file locked
inline constexpr int InvalidPath = 3044;
inline constexpr int CannotOpenFile = 3051;
inline constexpr int CannotCompact = 3056;    // compaction of a damaged database
inline constexpr int TooFewParameters = 3061; // unknown name in a query, or a missing `?` value
inline constexpr int CannotExecuteSelect = 3065;
inline constexpr int SyntaxError = 3075;
inline constexpr int TableNotFound = 3078;
inline constexpr int FieldNotUpdatable = 3164;
inline constexpr int RecordDeleted = 3167;
inline constexpr int DiskFull = 3183;
inline constexpr int DatabaseExists = 3204;        // CreateDatabase/CompactDatabase: target exists
inline constexpr int RelatedRecordsExist = 3200;   // delete refused: dependent rows elsewhere
inline constexpr int RelatedRecordRequired = 3201; // insert/update refused: no parent row
inline constexpr int Locked = 3218;                // the database is in use by another program
inline constexpr int InvalidOperation = 3219;
inline constexpr int NotSupportedForType = 3251;
inline constexpr int ItemNotFound = 3265; // unknown field name or position, Workspaces(n)
inline constexpr int NullNotAllowed = 3314;
inline constexpr int ValidationRule = 3317;
inline constexpr int UnrecognizedFormat = 3343; // not a database of this program, or damaged
inline constexpr int ObjectInvalid = 3420;      // the object is closed or was never opened
inline constexpr int DataTypeConversion = 3421;
inline constexpr int InvalidIndex = 3800; // Index other than "PrimaryKey"
} // namespace err

// A piece of SQL text written in the source: only a string literal (or a constexpr char array)
// converts to it, at compile time.
class Sql
{
public:
    template <std::size_t N>
    consteval Sql(const char (&text)[N]) : text_(text, N - 1)
    {}
    constexpr std::string_view text() const noexcept { return text_; }

private:
    std::string_view text_;
};

// SQL text joined at run time from Sql pieces (filters that depend on switches). It can grow
// only by further Sql pieces.
class SqlText
{
public:
    SqlText(Sql first) : text_(first.text()) {}
    SqlText &operator+=(Sql more)
    {
        text_.append(more.text());
        return *this;
    }
    SqlText &operator+=(const SqlText &more)
    {
        text_.append(more.text_);
        return *this;
    }
    std::string_view text() const noexcept { return text_; }

private:
    std::string text_;
};

inline SqlText operator+(SqlText a, Sql b)
{
    a += b;
    return a;
}
inline SqlText operator+(SqlText a, const SqlText &b)
{
    a += b;
    return a;
}

enum RecordsetTypeEnum {
    dbOpenDefault = 0,     // a table name opens as a table, any other text as a dynaset
    dbOpenTable = 1,       // the rows of one table in key order; Index/Seek; always current
    dbOpenDynaset = 2,     // the result of a query, read when opened; RecordCount is the full count
    dbOpenForwardOnly = 8, // the result of a query, read forward as SQLite hands out its rows
};

enum EditModeEnum { dbEditNone = 0, dbEditInProgress = 1, dbEditAdd = 2 };

class Recordset;
struct RecordsetImpl;
struct Connection;

// One column of a record set's current record. A Field is a short-lived view: use it at once,
// do not keep it beyond the record set it came from.
class Field
{
public:
    QString Name() const;
    // The value in the current record (during AddNew/Edit: the value being written). Reading
    // with no current record raises 3021, on a deleted record 3167.
    QVariant Value() const;
    // Needs AddNew or Edit first (else 3020). A key the database assigns cannot be written
    // (3164); a value the column cannot take raises 3421.
    void SetValue(const QVariant &value);
    bool IsNull() const { return !Value().isValid(); }

    operator QVariant() const { return Value(); }
    Field &operator=(const QVariant &value)
    {
        SetValue(value);
        return *this;
    }
    Field &operator=(const Field &other)
    {
        SetValue(other.Value());
        return *this;
    }
    Field(const Field &) = default;

private:
    friend class Recordset;
    Field(RecordsetImpl *rs, int index) : rs_(rs), index_(index) {}
    RecordsetImpl *rs_;
    int index_;
};

// A set of records: a table (dbOpenTable) or a query result (dbOpenDynaset).
//
// Position: after opening, the first record is current; an empty set is at Bof() and Eof()
// at once. MoveNext past the last record gives Eof(), MovePrevious before the first Bof();
// moving further, or MoveFirst/MoveLast on an empty set, raises 3021.
//
// Writing: AddNew or Edit, set fields, Update (CancelUpdate drops the change; moving drops it
// too). After AddNew/Update the current record stays what it was; on a table the new record
// is the one with the highest key, so MoveLast reaches it. Delete removes the current record;
// it stays current but unreadable (3167) until the next move. A dynaset can be written when all
// its columns come from one table whose key column is among them (SELECT * FROM Mitglied);
// otherwise writing raises 3027. Records added to a dynaset appear at its end. Tables without a
// key column (the print tables) are written as table record sets, opened by their name.
//
// A forward read (dbOpenForwardOnly) is for a caller that only walks the rows once, from the
// first to the last: nothing is copied when it opens; each field reads straight from the row
// SQLite has just handed out. It moves only forward: MoveNext (MoveFirst only while still on the
// first record, else 3251 as MoveLast and MovePrevious); it cannot be written (3027). Its query
// stays open until Eof() or Close(), and sees the rows as they are when MoveNext reaches them, so
// read it to its end before writing to the tables it reads, before the transaction it was opened
// in ends, and before another connection writes to the file. RecordCount is the full count of the
// result: the first call has SQLite count the query's rows (a second pass, without reading their
// values). After Database::Close its handle reports 3420.
//
//     dao::Recordset rs = db.OpenRecordset("SELECT KNr, Nachname FROM Kontakt WHERE KategoNr = ?",
//                                          dao::dbOpenForwardOnly, {nr});
//     for (; !rs.Eof(); rs.MoveNext())
//         zeilen.push_back({rs(0).Value(), rs(1).Value()});
class Recordset
{
public:
    Recordset();
    ~Recordset();
    Recordset(Recordset &&other) noexcept;
    Recordset &operator=(Recordset &&other) noexcept;
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    bool IsOpen() const;
    RecordsetTypeEnum Type() const;
    void Close();

    bool Bof() const;
    bool Eof() const;
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    // Table: the number of rows in the table. Dynaset: the number of rows of the result,
    // less those deleted through it, plus those added through it. Forward read: the number of
    // rows of the result (counted once, on the first call).
    long long RecordCount() const;

    // Table record sets only (else 3251). The one index is "PrimaryKey", the table's key
    // (another name: 3800). Seek compares with "=", "<", "<=", ">" or ">="; the key may be a
    // number or its text (a label's caption). NoMatch() tells whether the last Seek found
    // nothing; the current record is then undefined (reading it raises 3021).
    void Index(const QString &name);
    QString Index() const;
    void Seek(const QString &comparison, const QVariant &key);
    bool NoMatch() const;

    void AddNew();
    void Edit();
    void Update();
    void CancelUpdate();
    void Delete();
    EditModeEnum EditMode() const;

    // Fields by name (letter case does not matter; unknown name: 3265) or by position from 0.
    int FieldCount() const;
    Field Fields(int index);
    Field Fields(const QString &name);
    Field operator()(int index) { return Fields(index); }
    Field operator()(const QString &name) { return Fields(name); }

private:
    friend class Database;
    explicit Recordset(std::unique_ptr<RecordsetImpl> impl);
    RecordsetImpl &impl() const;
    std::unique_ptr<RecordsetImpl> d;
};

class Database
{
public:
    Database(); // no database ("Nothing"): every member but IsOpen raises 3420
    bool IsOpen() const;
    QString Name() const; // the file's path

    Recordset OpenRecordset(const SqlText &source, RecordsetTypeEnum type = dbOpenDefault,
                            const QVariantList &params = {});
    Recordset OpenRecordset(Sql source, RecordsetTypeEnum type = dbOpenDefault, const QVariantList &params = {})
    {
        return OpenRecordset(SqlText(source), type, params);
    }
    // The table record set of `table` with its index "PrimaryKey", sought with "=" on key: the
    // usual open-index-seek in one call. NoMatch() tells whether the key was found (its record is
    // then current); the key may be a number or its text, as with Seek. An unknown table raises
    // 3078, a table without a key column 3800.
    //
    //     dao::Recordset rs = db.SeekKey("Fang", fnr);
    //     if (rs.NoMatch()) return;
    //     rs.Edit(); rs("Gewicht") = gewicht; rs.Update();
    Recordset SeekKey(Sql table, const QVariant &key);

    // Runs an action query (INSERT, UPDATE, DELETE, or DDL); a SELECT raises 3065. Without
    // parameters the text may hold several statements separated by ';'.
    void Execute(const SqlText &sql, const QVariantList &params = {});
    void Execute(Sql sql, const QVariantList &params = {}) { Execute(SqlText(sql), params); }
    // Rows changed by the last Execute.
    long long RecordsAffected() const;

    // Checks the file's structure and its relations; an empty list means sound, else one German
    // line per problem found.
    QStringList CheckIntegrity();

    void Close(); // closing a closed database does nothing

private:
    friend class Workspace;
    friend class DBEngine;
    explicit Database(std::shared_ptr<Connection> c);
    Connection &conn() const;
    std::shared_ptr<Connection> c_;
};

class Workspace
{
public:
    // Opens an existing database file; never creates one. connect is ";pwd=<password>".
    // exclusive locks the file against other connections; readOnly opens it for reading.
    Database OpenDatabase(const QString &path, bool exclusive = false, bool readOnly = false,
                          const QString &connect = {});
    // Creates a new, empty database file with the password of connect (";pwd=..."; none when
    // empty) and opens it. An existing file is left alone: 3204.
    Database CreateDatabase(const QString &path, const QString &connect);

    // Transactions span every database of this workspace that is open at BeginTrans; they nest
    // up to five deep. CommitTrans or Rollback without BeginTrans raise 3034.
    void BeginTrans();
    void CommitTrans();
    void Rollback();

private:
    friend class DBEngine;
    friend struct Connection;
    Workspace();
    struct Impl;
    std::shared_ptr<Impl> d;
};

class DBEngine
{
public:
    // The default workspace (index 0); any other index raises 3265.
    static Workspace &Workspaces(int index);

    // Writes a compacted copy of the database src (opened with connect, ";pwd=...") to dst,
    // which must not exist (3204). The copy keeps the tables, the data and the password, and is
    // checked before this returns; on failure no dst is left behind and src is untouched.
    // src has to be closed by the program first. Replace src by the copy with an atomic rename
    // (std::rename / ::rename over the old file; QFile::rename refuses an existing target).
    static void CompactDatabase(const QString &src, const QString &dst, const QString &connect);
};

} // namespace dao
