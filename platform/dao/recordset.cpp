// Record sets: tables (navigated by key, always current), dynasets (a query's result, read
// when opened; writable when its rows map to the rows of one table) and forward reads (a query's
// rows read from its statement as SQLite hands them out).
#include "dao_p.h"

#include <cmath>

namespace dao {

namespace {
[[noreturn]] void noCurrentRecord()
{
    raise(err::NoCurrentRecord, QStringLiteral("Kein aktueller Datensatz."));
}
[[noreturn]] void recordDeleted()
{
    raise(err::RecordDeleted, QStringLiteral("Datensatz ist gelöscht."));
}
[[noreturn]] void readOnlySet()
{
    raise(err::ReadOnly, QStringLiteral("Aktualisieren nicht möglich; Datenbank oder Objekt ist "
                                        "schreibgeschützt."));
}
[[noreturn]] void notForType()
{
    raise(err::NotSupportedForType, QStringLiteral("Der Vorgang wird für diesen Objekttyp nicht unterstützt."));
}
} // namespace

struct RecordsetImpl
{
    std::shared_ptr<Connection> conn;
    RecordsetTypeEnum type = dbOpenDynaset;

    QStringList names;
    QHash<QString, int> byName;  // by folded name: the first field of that name
    QHash<QString, int> byExact; // the same fields by their names as spelled, found without folding
    QVector<ColKind> kinds;

    // The table written to: the table itself, or the one table a dynaset's rows come from.
    std::optional<TableInfo> base;
    QVector<int> baseColumn; // field -> column of base, -1 for a computed field
    int keyField = -1;       // field holding base's key

    // Table
    QString index;
    bool noMatch = false;
    qint64 curKey = 0;
    QVector<QVariant> curRow;

    // Forward read: the statement, open while rows remain; the count, once asked for.
    std::shared_ptr<Stmt> cursor;
    std::string cursorSql;
    std::string countSql;
    QVariantList countParams;
    long long counted = -1;
    long long passed = 0; // records moved past

    // Dynaset
    std::vector<QVector<QVariant>> rows;
    std::vector<char> gone;
    qint64 live = 0;
    qint64 pos = -1;

    // Position
    bool bof = false, eof = false, onRecord = false, onDeleted = false;

    // Writing
    EditModeEnum mode = dbEditNone;
    QVector<QVariant> buffer; // storage values
    QVector<bool> dirty;

    // The statements the set runs again and again (a table's steps and count, its INSERT and
    // UPDATE for one choice of fields): each prepared once, found by a short key (the clause, or
    // the kind and the fields written) and bound anew on each run. They are reset after each run,
    // so none holds a lock; Close of the connection finalizes them, as it does a forward set's.
    struct Kept
    {
        std::string key;
        std::shared_ptr<Stmt> stmt;
    };
    std::vector<Kept> kept;

    // Resets a kept statement when its run ends, also on an error.
    struct Reset
    {
        sqlite3_stmt *s;
        ~Reset() { sqlite3_reset(s); }
    };

    sqlite3 *db() const { return conn->handle(); }

    // The statement kept under key; prepared from sql() the first time.
    template <class Sql>
    Stmt &keptStmt(std::string_view key, Op op, Sql sql)
    {
        for (const Kept &k : kept)
            if (k.key == key)
                return *k.stmt;
        const QByteArray text = sql().toUtf8();
        auto s = std::make_shared<Stmt>(db(), std::string_view(text.constData(), std::size_t(text.size())), op);
        if (kept.size() >= 16) // a set written with ever other fields keeps the latest ones
            kept.erase(kept.begin());
        std::erase_if(conn->cursors, [](const std::weak_ptr<Stmt> &w) { return w.expired(); });
        conn->cursors.push_back(s);
        kept.push_back({std::string(key), std::move(s)});
        return *kept.back().stmt;
    }

    void setColumns(const QStringList &n, const QVector<ColKind> &k)
    {
        names = n;
        kinds = k;
        byName.clear();
        byExact.clear();
        for (int i = int(n.size()) - 1; i >= 0; --i)
            byName.insert(fieldKey(n[i]), i);
        for (const QString &name : n)
            byExact.insert(name, byName.value(fieldKey(name)));
    }

    int fieldIndex(const QString &name) const
    {
        if (const auto exact = byExact.constFind(name); exact != byExact.cend())
            return exact.value();
        const auto it = byName.constFind(fieldKey(name));
        if (it == byName.cend())
            raise(err::ItemNotFound, QStringLiteral("Element '%1' in dieser Auflistung nicht gefunden.").arg(name));
        return it.value();
    }

    void checkIndex(int i) const
    {
        if (i < 0 || i >= names.size())
            raise(err::ItemNotFound, QStringLiteral("Element in dieser Auflistung nicht gefunden."));
    }

    bool writable() const { return base.has_value() && keyField >= 0; }

    // ---- positioning ------------------------------------------------------------------------

    void setOn()
    {
        onRecord = true;
        onDeleted = false;
        bof = eof = false;
    }

    // Table: loads the row a key query finds.
    bool fetchTable(std::string_view clause, const QVariant &arg)
    {
        Stmt &s = keptStmt(clause, Op::Read, [&] {
            return QStringLiteral("SELECT rowid, * FROM ") + quoteIdent(base->name) + QLatin1Char(' ') +
                   QString::fromUtf8(clause.data(), int(clause.size()));
        });
        const Reset reset{s.get()};
        if (arg.isValid())
            s.bind(1, arg);
        if (!s.step())
            return false;
        curKey = s.column(0, ColKind::Integer).toLongLong();
        curRow.resize(names.size());
        for (int i = 0; i < names.size(); ++i)
            curRow[i] = s.column(i + 1, kinds[i]);
        return true;
    }

    qint64 nextLive(qint64 from, int step) const
    {
        for (qint64 i = from + step; i >= 0 && i < qint64(rows.size()); i += step)
            if (!gone[std::size_t(i)])
                return i;
        return -1;
    }

    bool locateFirst()
    {
        if (type == dbOpenTable)
            return fetchTable("ORDER BY rowid LIMIT 1", QVariant());
        const qint64 i = nextLive(-1, 1);
        if (i >= 0)
            pos = i;
        return i >= 0;
    }
    bool locateLast()
    {
        if (type == dbOpenTable)
            return fetchTable("ORDER BY rowid DESC LIMIT 1", QVariant());
        const qint64 i = nextLive(qint64(rows.size()), -1);
        if (i >= 0)
            pos = i;
        return i >= 0;
    }
    bool locateAfterCurrent(int step)
    {
        if (type == dbOpenTable)
            return fetchTable(step > 0 ? "WHERE rowid > ? ORDER BY rowid LIMIT 1"
                                       : "WHERE rowid < ? ORDER BY rowid DESC LIMIT 1",
                              QVariant(qlonglong(curKey)));
        const qint64 i = nextLive(pos, step);
        if (i >= 0)
            pos = i;
        return i >= 0;
    }

    void dropEdit()
    {
        mode = dbEditNone;
        buffer.clear();
        dirty.clear();
    }

    // Forward read: the next row of the statement; at its end the statement is finalized.
    bool stepForward()
    {
        if (cursor && cursor->step())
            return true;
        if (cursor)
            keepPrepared(*conn, cursorSql, *cursor); // read to its end: ready for the next run
        cursor.reset();
        return false;
    }

    void moveFirstOrLast(bool last)
    {
        if (type == dbOpenForwardOnly) {
            // Only "first" while no record has been passed: the set cannot go back.
            if (last || passed > 0)
                notForType();
            if (!onRecord)
                noCurrentRecord();
            return;
        }
        dropEdit();
        noMatch = false;
        if (last ? locateLast() : locateFirst()) {
            setOn();
            return;
        }
        onRecord = onDeleted = false;
        bof = eof = true;
        noCurrentRecord();
    }

    void moveBy(int step)
    {
        dropEdit();
        if (type == dbOpenForwardOnly && step < 0)
            notForType();
        if ((step > 0 && eof) || (step < 0 && bof))
            noCurrentRecord();
        if (type == dbOpenForwardOnly) {
            ++passed;
            if (stepForward()) {
                setOn();
            } else {
                onRecord = onDeleted = false;
                eof = true;
            }
            return;
        }
        bool found = false;
        if (onRecord)
            found = locateAfterCurrent(step);
        else if (step > 0 && bof)
            found = locateFirst();
        else if (step < 0 && eof)
            found = locateLast();
        else
            noCurrentRecord(); // after a Seek that found nothing
        if (found) {
            setOn();
            return;
        }
        onRecord = onDeleted = false;
        if (step > 0)
            eof = true;
        else
            bof = true;
    }

    // ---- reading ----------------------------------------------------------------------------

    QVariant value(int i) const
    {
        checkIndex(i);
        if (mode != dbEditNone)
            return fromStorage(buffer[i], kinds[i]);
        if (!onRecord)
            noCurrentRecord();
        if (onDeleted)
            recordDeleted();
        if (type == dbOpenForwardOnly)
            return cursor->column(i, kinds[i]);
        return type == dbOpenTable ? curRow[i] : rows[std::size_t(pos)][i];
    }

    // ---- writing ----------------------------------------------------------------------------

    void setValue(int i, const QVariant &v)
    {
        checkIndex(i);
        if (mode == dbEditNone)
            raise(err::UpdateWithoutEdit, QStringLiteral("Aktualisieren oder Abbrechen ohne 'Neu' oder 'Bearbeiten'."));
        const int col = baseColumn[i];
        if (col < 0 || (col == base->keyColumn && base->autoIncrement))
            raise(err::FieldNotUpdatable,
                  QStringLiteral("Das Feld '%1' kann nicht aktualisiert werden.").arg(names[i]));
        buffer[i] = toStorage(v, base->kinds[col], names[i]);
        dirty[i] = true;
    }

    void startEdit(EditModeEnum m)
    {
        if (!writable())
            readOnlySet();
        if (m == dbEditInProgress) {
            if (!onRecord)
                noCurrentRecord();
            if (onDeleted)
                recordDeleted();
            buffer = type == dbOpenTable ? curRow : rows[std::size_t(pos)];
        } else {
            // Emptied by dropEdit, which keeps the room: row after row is added without allocating.
            buffer.resize(names.size());
        }
        dirty.fill(false, names.size());
        mode = m;
    }

    // Reads the base row of a key back into a dynaset row.
    void refreshRow(QVector<QVariant> &row, qint64 key)
    {
        QString cols;
        QVector<int> fields;
        for (int i = 0; i < names.size(); ++i) {
            if (baseColumn[i] < 0)
                continue;
            if (!cols.isEmpty())
                cols += QLatin1String(", ");
            cols += quoteIdent(base->columns[baseColumn[i]]);
            fields << i;
        }
        const QByteArray sql = (QStringLiteral("SELECT ") + cols + QStringLiteral(" FROM ") + quoteIdent(base->name) +
                                QStringLiteral(" WHERE rowid = ?"))
                                   .toUtf8();
        Stmt s(db(), std::string_view(sql.constData(), std::size_t(sql.size())), Op::Read);
        s.bind(1, QVariant(qlonglong(key)));
        if (!s.step())
            return;
        for (int k = 0; k < fields.size(); ++k)
            row[fields[k]] = s.column(k, kinds[fields[k]]);
    }

    qint64 currentKey() const { return type == dbOpenTable ? curKey : rows[std::size_t(pos)][keyField].toLongLong(); }

    void update()
    {
        if (mode == dbEditNone)
            raise(err::UpdateWithoutEdit, QStringLiteral("Aktualisieren oder Abbrechen ohne 'Neu' oder 'Bearbeiten'."));
        sqlite3 *h = db();
        // The fields written name the statement: 'I' or 'U', then one mark per field.
        std::string key(std::size_t(names.size()) + 1, '0');
        key[0] = mode == dbEditAdd ? 'I' : 'U';
        int written = 0;
        for (int i = 0; i < names.size(); ++i)
            if (dirty[i]) {
                key[std::size_t(i) + 1] = '1';
                ++written;
            }
        // The written fields' columns, in field order, joined by sep.
        const auto columns = [&](const QString &sep) {
            QStringList cols;
            for (int i = 0; i < names.size(); ++i)
                if (dirty[i])
                    cols << quoteIdent(base->columns[baseColumn[i]]);
            return cols.join(sep);
        };
        // Binds the written values from the first parameter on; returns the next parameter.
        const auto bindValues = [&](Stmt &s) {
            int p = 1;
            for (int i = 0; i < names.size(); ++i)
                if (dirty[i])
                    s.bind(p++, buffer[i]);
            return p;
        };
        if (mode == dbEditAdd) {
            Stmt &s = keptStmt(key, Op::Insert, [&] {
                const QString table = quoteIdent(base->name);
                if (written == 0)
                    return QStringLiteral("INSERT INTO ") + table + QStringLiteral(" DEFAULT VALUES");
                QStringList marks;
                for (int i = 0; i < written; ++i)
                    marks << QStringLiteral("?");
                return QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + columns(QStringLiteral(", ")) +
                       QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
            });
            const Reset reset{s.get()};
            bindValues(s);
            s.step();
            const qint64 key = sqlite3_last_insert_rowid(h);
            if (type == dbOpenDynaset) {
                QVector<QVariant> row(names.size());
                refreshRow(row, key);
                rows.push_back(row);
                gone.push_back(0);
                ++live;
            }
        } else if (written > 0) {
            const qint64 rowKey = currentKey();
            {
                Stmt &s = keptStmt(key, Op::Update, [&] {
                    return QStringLiteral("UPDATE ") + quoteIdent(base->name) + QStringLiteral(" SET ") +
                           columns(QStringLiteral(" = ?, ")) + QStringLiteral(" = ? WHERE rowid = ?");
                });
                const Reset reset{s.get()};
                s.bind(bindValues(s), QVariant(qlonglong(rowKey)));
                s.step();
            }
            if (sqlite3_changes(h) == 0)
                recordDeleted();
            qint64 newKey = rowKey;
            const int keyCol = base->keyColumn;
            for (int i = 0; i < names.size(); ++i)
                if (dirty[i] && baseColumn[i] == keyCol && keyCol >= 0)
                    newKey = buffer[i].toLongLong();
            if (type == dbOpenTable) {
                curKey = newKey;
                fetchTable("WHERE rowid = ?", QVariant(qlonglong(newKey)));
            } else {
                refreshRow(rows[std::size_t(pos)], newKey);
            }
        }
        dropEdit();
    }

    void deleteCurrent()
    {
        if (!writable())
            readOnlySet();
        dropEdit();
        if (!onRecord)
            noCurrentRecord();
        if (onDeleted)
            recordDeleted();
        const QByteArray sql =
            (QStringLiteral("DELETE FROM ") + quoteIdent(base->name) + QStringLiteral(" WHERE rowid = ?")).toUtf8();
        Stmt s(db(), std::string_view(sql.constData(), std::size_t(sql.size())), Op::Delete);
        s.bind(1, QVariant(qlonglong(currentKey())));
        s.step();
        onDeleted = true;
        if (type == dbOpenDynaset) {
            gone[std::size_t(pos)] = 1;
            --live;
        }
    }
};

// ---------------------------------------------------------------------------------------------
// Opening

std::optional<TableInfo> findTable(Connection &c, const QString &name)
{
    sqlite3 *db = c.handle();
    static constexpr std::string_view versionSql = "PRAGMA schema_version";
    int version = -1;
    {
        sqlite3_stmt *kept = takePrepared(c, versionSql);
        Stmt s = kept ? Stmt(db, kept, Op::Read) : Stmt(db, versionSql, Op::Read);
        if (s.step())
            version = int(s.column(0, ColKind::Integer).toLongLong());
        keepPrepared(c, versionSql, s);
    }
    if (version != c.schemaVersion) {
        c.tables.clear();
        c.schemaVersion = version;
    }
    if (const auto it = c.tables.constFind(name); it != c.tables.cend())
        return *it;
    std::optional<TableInfo> info = findTable(db, name);
    if (info)
        c.tables.insert(name, *info);
    return info;
}

namespace {

std::unique_ptr<RecordsetImpl> openTable(std::shared_ptr<Connection> conn, TableInfo info)
{
    auto rs = std::make_unique<RecordsetImpl>();
    rs->conn = std::move(conn);
    rs->type = dbOpenTable;
    rs->setColumns(info.columns, info.kinds);
    for (int i = 0; i < info.columns.size(); ++i)
        rs->baseColumn << i;
    // Every table row has its rowid; the key field, when the table has one, is that rowid.
    rs->keyField = info.keyColumn >= 0 ? info.keyColumn : 0;
    rs->base = std::move(info);
    if (rs->locateFirst())
        rs->setOn();
    else
        rs->bof = rs->eof = true;
    return rs;
}

// Checks that the statement is one query that returns records, and binds its parameters.
void prepareQuery(Stmt &s, const QVariantList &params)
{
    for (char ch : s.tail())
        if (ch != ' ' && ch != '\t' && ch != '\n' && ch != '\r' && ch != ';')
            raise(err::CharactersAfterEnd, QStringLiteral("Zeichen nach dem Ende der SQL-Anweisung gefunden."));
    if (s.empty() || sqlite3_column_count(s.get()) == 0)
        raise(err::InvalidOperation, QStringLiteral("Ungültige Operation: die Abfrage liefert keine Datensätze."));
    s.bindAll(params);
}

std::unique_ptr<RecordsetImpl> openForward(std::shared_ptr<Connection> conn, std::string_view sql,
                                           const QVariantList &params)
{
    auto rs = std::make_unique<RecordsetImpl>();
    rs->conn = std::move(conn);
    rs->type = dbOpenForwardOnly;
    sqlite3_stmt *kept = takePrepared(*rs->conn, sql);
    auto s = kept ? std::make_shared<Stmt>(rs->db(), kept, Op::Read) : std::make_shared<Stmt>(rs->db(), sql, Op::Read);
    prepareQuery(*s, params);
    rs->cursorSql = std::string(sql);
    // The columns are read after the first step: a statement kept from before a change of the
    // tables is prepared anew by it.
    const bool any = s->step();
    const int n = sqlite3_column_count(s->get());
    QStringList names;
    QVector<ColKind> kinds;
    for (int i = 0; i < n; ++i) {
        names << QString::fromUtf8(sqlite3_column_name(s->get(), i));
        kinds << kindOfDeclType(sqlite3_column_decltype(s->get(), i));
    }
    rs->setColumns(names, kinds);
    // The query text without what follows it, for the count.
    std::string_view text = sql.substr(0, sql.size() - s->tail().size());
    while (!text.empty() && (text.back() == ';' || text.back() == ' ' || text.back() == '\t' || text.back() == '\n' ||
                             text.back() == '\r'))
        text.remove_suffix(1);
    rs->countSql = "SELECT COUNT(*) FROM (" + std::string(text) + "\n)";
    rs->countParams = params;
    if (any) {
        rs->cursor = s;
        std::erase_if(rs->conn->cursors, [](const std::weak_ptr<Stmt> &w) { return w.expired(); });
        rs->conn->cursors.push_back(s);
        rs->setOn();
    } else {
        keepPrepared(*rs->conn, sql, *s);
        rs->bof = rs->eof = true;
    }
    return rs;
}

std::unique_ptr<RecordsetImpl> openDynaset(std::shared_ptr<Connection> conn, std::string_view sql,
                                           const QVariantList &params)
{
    auto rs = std::make_unique<RecordsetImpl>();
    rs->conn = std::move(conn);
    rs->type = dbOpenDynaset;
    sqlite3 *db = rs->db();
    std::optional<Stmt> kept;
    if (sqlite3_stmt *k = takePrepared(*rs->conn, sql))
        kept.emplace(db, k, Op::Read);
    else
        kept.emplace(db, sql, Op::Read);
    Stmt &s = *kept;
    prepareQuery(s, params);

    // The columns are read after the first step: a statement kept from before a change of the
    // tables is prepared anew by it.
    bool more = s.step();
    const int n = sqlite3_column_count(s.get());
    QStringList names;
    QVector<ColKind> kinds;
    QString table;
    bool oneTable = true;
    QStringList origins;
    for (int i = 0; i < n; ++i) {
        names << QString::fromUtf8(sqlite3_column_name(s.get(), i));
        kinds << kindOfDeclType(sqlite3_column_decltype(s.get(), i));
        const char *t = sqlite3_column_table_name(s.get(), i);
        const char *dbName = sqlite3_column_database_name(s.get(), i);
        const char *origin = sqlite3_column_origin_name(s.get(), i);
        origins << (origin ? QString::fromUtf8(origin) : QString());
        if (!t)
            continue;
        if (!dbName || qstrcmp(dbName, "main") != 0)
            oneTable = false;
        const QString tn = QString::fromUtf8(t);
        if (table.isEmpty())
            table = tn;
        else if (table != tn)
            oneTable = false;
    }
    rs->setColumns(names, kinds);
    rs->baseColumn = QVector<int>(n, -1);

    if (oneTable && !table.isEmpty()) {
        if (auto info = findTable(*rs->conn, table); info && info->keyColumn >= 0) {
            for (int i = 0; i < n; ++i) {
                if (origins[i].isEmpty())
                    continue;
                const int col = int(info->columns.indexOf(origins[i]));
                rs->baseColumn[i] = col;
                if (col == info->keyColumn && rs->keyField < 0)
                    rs->keyField = i;
            }
            if (rs->keyField >= 0)
                rs->base = std::move(*info);
        }
    }

    for (; more; more = s.step()) {
        QVector<QVariant> row(n);
        for (int i = 0; i < n; ++i)
            row[i] = s.column(i, kinds[i]);
        rs->rows.push_back(std::move(row));
    }
    keepPrepared(*rs->conn, sql, s);
    rs->gone.assign(rs->rows.size(), 0);
    rs->live = qint64(rs->rows.size());
    if (rs->live > 0) {
        rs->pos = 0;
        rs->setOn();
    } else {
        rs->bof = rs->eof = true;
    }
    return rs;
}

} // namespace

Recordset Database::OpenRecordset(const SqlText &source, RecordsetTypeEnum type, const QVariantList &params)
{
    Connection &c = conn();
    if (type == dbOpenForwardOnly)
        return Recordset(openForward(c_, source.text(), params));
    if (type != dbOpenDynaset) {
        const QString name = QString::fromUtf8(source.text().data(), int(source.text().size())).trimmed();
        const bool plainName = !name.isEmpty() && !name.contains(QLatin1Char(' '));
        std::optional<TableInfo> info = plainName ? findTable(c, name) : std::nullopt;
        if (info) {
            if (!params.isEmpty())
                raise(err::InvalidArgument, QStringLiteral("Ungültiges Argument."));
            return Recordset(openTable(c_, std::move(*info)));
        }
        if (type == dbOpenTable)
            raise(err::TableNotFound, QStringLiteral("Die Tabelle '%1' wurde nicht gefunden.").arg(name));
    }
    return Recordset(openDynaset(c_, source.text(), params));
}

Recordset Database::SeekKey(Sql table, const QVariant &key)
{
    Recordset rs = OpenRecordset(table, dbOpenTable);
    rs.Index(QStringLiteral("PrimaryKey"));
    rs.Seek(QStringLiteral("="), key);
    return rs;
}

// ---------------------------------------------------------------------------------------------
// Recordset

Recordset::Recordset() = default;
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset &&other) noexcept = default;
Recordset &Recordset::operator=(Recordset &&other) noexcept = default;
Recordset::Recordset(std::unique_ptr<RecordsetImpl> impl) : d(std::move(impl))
{}

RecordsetImpl &Recordset::impl() const
{
    if (!d || !d->conn->isOpen())
        raise(err::ObjectInvalid, QStringLiteral("Objekt ist ungültig oder nicht mehr festgelegt."));
    return *d;
}

bool Recordset::IsOpen() const
{
    return d && d->conn->isOpen();
}
RecordsetTypeEnum Recordset::Type() const
{
    return impl().type;
}
void Recordset::Close()
{
    d.reset();
}

bool Recordset::Bof() const
{
    return impl().bof;
}
bool Recordset::Eof() const
{
    return impl().eof;
}
void Recordset::MoveFirst()
{
    impl().moveFirstOrLast(false);
}
void Recordset::MoveLast()
{
    impl().moveFirstOrLast(true);
}
void Recordset::MoveNext()
{
    impl().moveBy(1);
}
void Recordset::MovePrevious()
{
    impl().moveBy(-1);
}

long long Recordset::RecordCount() const
{
    RecordsetImpl &r = impl();
    if (r.type == dbOpenDynaset)
        return r.live;
    if (r.type == dbOpenForwardOnly) {
        if (r.counted < 0) {
            sqlite3_stmt *kept = takePrepared(*r.conn, r.countSql);
            std::optional<Stmt> s;
            if (kept)
                s.emplace(r.db(), kept, Op::Read);
            else
                s.emplace(r.db(), r.countSql, Op::Read);
            s->bindAll(r.countParams);
            r.counted = s->step() ? s->column(0, ColKind::Integer).toLongLong() : 0;
            keepPrepared(*r.conn, r.countSql, *s);
        }
        return r.counted;
    }
    Stmt &s = r.keptStmt("COUNT", Op::Read,
                         [&] { return QStringLiteral("SELECT COUNT(*) FROM ") + quoteIdent(r.base->name); });
    const RecordsetImpl::Reset reset{s.get()};
    s.step();
    return s.column(0, ColKind::Integer).toLongLong();
}

void Recordset::Index(const QString &name)
{
    RecordsetImpl &r = impl();
    if (r.type != dbOpenTable)
        notForType();
    if (name.compare(QLatin1String("PrimaryKey"), Qt::CaseInsensitive) != 0 || r.base->keyColumn < 0)
        raise(err::InvalidIndex, QStringLiteral("'%1' ist kein Index in dieser Tabelle.").arg(name));
    r.index = QStringLiteral("PrimaryKey");
}

QString Recordset::Index() const
{
    return impl().index;
}

void Recordset::Seek(const QString &comparison, const QVariant &key)
{
    RecordsetImpl &r = impl();
    if (r.type != dbOpenTable)
        notForType();
    if (r.index.isEmpty())
        raise(err::NoCurrentIndex, QStringLiteral("Vorgang ist ohne aktuellen Index ungültig."));
    const QString op = comparison.trimmed();
    const char *clause = nullptr;
    if (op == QLatin1String("="))
        clause = "WHERE rowid = ?";
    else if (op == QLatin1String(">="))
        clause = "WHERE rowid >= ? ORDER BY rowid LIMIT 1";
    else if (op == QLatin1String(">"))
        clause = "WHERE rowid > ? ORDER BY rowid LIMIT 1";
    else if (op == QLatin1String("<="))
        clause = "WHERE rowid <= ? ORDER BY rowid DESC LIMIT 1";
    else if (op == QLatin1String("<"))
        clause = "WHERE rowid < ? ORDER BY rowid DESC LIMIT 1";
    else
        raise(err::InvalidArgument, QStringLiteral("Ungültiges Argument."));

    r.dropEdit();
    // A key given as text (a label's caption) counts by its number; text that is no number
    // finds nothing.
    QVariant k;
    if (key.typeId() == QMetaType::QString) {
        bool ok = false;
        const QString t = key.toString().trimmed();
        const qlonglong n = t.toLongLong(&ok);
        if (ok)
            k = QVariant(n);
    } else if (key.isValid()) {
        bool ok = false;
        const double dbl = key.toDouble(&ok);
        if (ok && std::fabs(dbl) < 9.0e18)
            k = dbl == double(qlonglong(dbl)) ? QVariant(qlonglong(dbl)) : QVariant(dbl);
    }
    const bool found = k.isValid() && r.fetchTable(clause, k);
    r.noMatch = !found;
    if (found) {
        r.setOn();
    } else {
        r.onRecord = r.onDeleted = false;
        r.bof = r.eof = false;
    }
}

bool Recordset::NoMatch() const
{
    return impl().noMatch;
}

void Recordset::AddNew()
{
    RecordsetImpl &r = impl();
    r.dropEdit();
    r.startEdit(dbEditAdd);
}

void Recordset::Edit()
{
    RecordsetImpl &r = impl();
    r.dropEdit();
    r.startEdit(dbEditInProgress);
}

void Recordset::Update()
{
    impl().update();
}
void Recordset::CancelUpdate()
{
    RecordsetImpl &r = impl();
    if (r.mode == dbEditNone)
        raise(err::UpdateWithoutEdit, QStringLiteral("Aktualisieren oder Abbrechen ohne 'Neu' oder 'Bearbeiten'."));
    r.dropEdit();
}
void Recordset::Delete()
{
    impl().deleteCurrent();
}
EditModeEnum Recordset::EditMode() const
{
    return impl().mode;
}

int Recordset::FieldCount() const
{
    return int(impl().names.size());
}

Field Recordset::Fields(int index)
{
    RecordsetImpl &r = impl();
    r.checkIndex(index);
    return Field(&r, index);
}

Field Recordset::Fields(const QString &name)
{
    RecordsetImpl &r = impl();
    return Field(&r, r.fieldIndex(name));
}

// ---------------------------------------------------------------------------------------------
// Field

QString Field::Name() const
{
    return rs_->names[index_];
}

QVariant Field::Value() const
{
    if (!rs_->conn->isOpen())
        raise(err::ObjectInvalid, QStringLiteral("Objekt ist ungültig oder nicht mehr festgelegt."));
    return rs_->value(index_);
}

void Field::SetValue(const QVariant &value)
{
    if (!rs_->conn->isOpen())
        raise(err::ObjectInvalid, QStringLiteral("Objekt ist ungültig oder nicht mehr festgelegt."));
    rs_->setValue(index_, value);
}

} // namespace dao
