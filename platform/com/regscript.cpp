#include "com/regscript.h"
#include "com/dispatch.h"
#include "com/registry.h"

#include <memory>
#include <vector>

namespace com {

namespace {

struct Token
{
    enum Kind { Word, Quoted, Open, Close, Equals, End } kind = End;
    QString text;
    int line = 0;
};

struct ScriptError
{
    int line;
    QString reason;
};

std::vector<Token> tokenize(const QString &s)
{
    std::vector<Token> out;
    int line = 1;
    int i = 0;
    const int n = int(s.size());
    auto isSpace = [](QChar c) { return c.isSpace(); };
    while (i < n) {
        QChar c = s[i];
        if (c == u'\n') {
            ++line;
            ++i;
            continue;
        }
        if (isSpace(c)) {
            ++i;
            continue;
        }
        Token t;
        t.line = line;
        if (c == u'{' && (i + 1 >= n || isSpace(s[i + 1]))) {
            t.kind = Token::Open;
            ++i;
        } else if (c == u'}') {
            t.kind = Token::Close;
            ++i;
        } else if (c == u'=') {
            t.kind = Token::Equals;
            ++i;
        } else if (c == u'\'') {
            t.kind = Token::Quoted;
            ++i;
            bool closed = false;
            while (i < n) {
                if (s[i] == u'\'') {
                    if (i + 1 < n && s[i + 1] == u'\'') {
                        t.text += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                if (s[i] == u'\n')
                    ++line;
                t.text += s[i++];
            }
            if (!closed)
                throw ScriptError{t.line, QStringLiteral("unterminated quoted text")};
        } else {
            t.kind = Token::Word;
            while (i < n && !isSpace(s[i]) && s[i] != u'=' && s[i] != u'\'')
                t.text += s[i++];
        }
        out.push_back(t);
    }
    Token end;
    end.line = line;
    out.push_back(end);
    return out;
}

QString substitute(const QString &text, const QMap<QString, QString> &repl, int line)
{
    QString r;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] != u'%') {
            r += text[i];
            continue;
        }
        int j = int(text.indexOf(u'%', i + 1));
        if (j < 0)
            throw ScriptError{line, QStringLiteral("single '%'")};
        QString name = text.mid(i + 1, j - i - 1);
        if (name.isEmpty()) {
            r += u'%';
        } else {
            auto it = repl.constFind(name);
            if (it == repl.constEnd()) {
                bool found = false;
                for (auto k = repl.constBegin(); k != repl.constEnd(); ++k)
                    if (k.key().compare(name, Qt::CaseInsensitive) == 0) {
                        r += k.value();
                        found = true;
                        break;
                    }
                if (!found)
                    throw ScriptError{line, QStringLiteral("unknown replacement %%1%").arg(name)};
            } else {
                r += it.value();
            }
        }
        i = j;
    }
    return r;
}

struct Entry
{
    bool isValue = false;
    enum Mode { Plain, NoRemove, ForceRemove, Delete } mode = Plain;
    QString name;
    bool hasValue = false;
    reg::Value value;
    std::vector<Entry> children;
    int line = 0;
};

class Parser
{
public:
    Parser(std::vector<Token> tokens, const QMap<QString, QString> &repl) : t_(std::move(tokens)), repl_(repl) {}

    // root { entries } ...
    std::vector<std::pair<reg::Hive, std::vector<Entry>>> parseScript()
    {
        std::vector<std::pair<reg::Hive, std::vector<Entry>>> roots;
        while (peek().kind != Token::End) {
            Token r = next();
            reg::Hive hive;
            if (r.kind != Token::Word || !reg::hiveFromName(r.text, &hive))
                throw ScriptError{r.line, QStringLiteral("expected a root key (HKCR, HKCU, HKLM, HKU)")};
            expect(Token::Open, QStringLiteral("'{'"));
            roots.emplace_back(hive, parseEntries());
        }
        return roots;
    }

private:
    const Token &peek() const { return t_[pos_]; }
    Token next()
    {
        Token t = t_[pos_];
        if (t.kind != Token::End)
            ++pos_;
        return t;
    }
    void expect(Token::Kind k, const QString &what)
    {
        Token t = next();
        if (t.kind != k)
            throw ScriptError{t.line, QStringLiteral("expected %1").arg(what)};
    }
    QString text(const Token &t) { return substitute(t.text, repl_, t.line); }
    QString name()
    {
        Token t = next();
        if (t.kind != Token::Word && t.kind != Token::Quoted)
            throw ScriptError{t.line, QStringLiteral("expected a name")};
        return text(t);
    }

    reg::Value typedValue()
    {
        Token type = next();
        if (type.kind != Token::Word)
            throw ScriptError{type.line, QStringLiteral("expected a value type (s, d, b)")};
        Token v = next();
        if (v.kind != Token::Word && v.kind != Token::Quoted)
            throw ScriptError{v.line, QStringLiteral("expected a value")};
        QString s = text(v);
        QString ty = type.text.toLower();
        if (ty == u"s")
            return reg::Value::string(s);
        if (ty == u"d") {
            bool ok = false;
            qulonglong n = s.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive) ? s.mid(2).toULongLong(&ok, 16)
                                                                                   : s.toULongLong(&ok, 10);
            if (!ok || n > 0xFFFFFFFFull)
                throw ScriptError{v.line, QStringLiteral("bad number '%1'").arg(s)};
            return reg::Value::dword(DWORD(n));
        }
        if (ty == u"b") {
            QByteArray bytes = QByteArray::fromHex(s.toLatin1());
            if (s.size() % 2 || bytes.size() * 2 != s.size())
                throw ScriptError{v.line, QStringLiteral("bad byte string '%1'").arg(s)};
            return reg::Value::binary(bytes);
        }
        throw ScriptError{type.line, QStringLiteral("unknown value type '%1'").arg(type.text)};
    }

    std::vector<Entry> parseEntries()
    {
        std::vector<Entry> entries;
        for (;;) {
            const Token &t = peek();
            if (t.kind == Token::Close) {
                next();
                return entries;
            }
            if (t.kind == Token::End)
                throw ScriptError{t.line, QStringLiteral("missing '}'")};
            Entry e;
            e.line = t.line;
            if (t.kind == Token::Word && t.text.compare(u"val", Qt::CaseInsensitive) == 0 &&
                t_[pos_ + 1].kind != Token::Equals && t_[pos_ + 1].kind != Token::Open) {
                next();
                e.isValue = true;
                e.name = name();
                expect(Token::Equals, QStringLiteral("'='"));
                e.value = typedValue();
                e.hasValue = true;
                entries.push_back(std::move(e));
                continue;
            }
            if (t.kind == Token::Word && t_[pos_ + 1].kind != Token::Equals && t_[pos_ + 1].kind != Token::Open &&
                t_[pos_ + 1].kind != Token::Close) {
                if (t.text.compare(u"NoRemove", Qt::CaseInsensitive) == 0) {
                    e.mode = Entry::NoRemove;
                    next();
                } else if (t.text.compare(u"ForceRemove", Qt::CaseInsensitive) == 0) {
                    e.mode = Entry::ForceRemove;
                    next();
                } else if (t.text.compare(u"Delete", Qt::CaseInsensitive) == 0) {
                    e.mode = Entry::Delete;
                    next();
                }
            }
            e.name = name();
            if (e.name.isEmpty() || e.name.contains(u'\\'))
                throw ScriptError{e.line, QStringLiteral("bad key name '%1'").arg(e.name)};
            if (peek().kind == Token::Equals) {
                next();
                e.value = typedValue();
                e.hasValue = true;
            }
            if (peek().kind == Token::Open) {
                next();
                e.children = parseEntries();
            }
            entries.push_back(std::move(e));
        }
    }

    std::vector<Token> t_;
    std::size_t pos_ = 0;
    const QMap<QString, QString> &repl_;
};

struct RegFailure
{
    LONG code;
    int line;
};

void check(LONG r, int line)
{
    if (r != ERROR_SUCCESS)
        throw RegFailure{r, line};
}

QString join(const QString &a, const QString &b)
{
    return a.isEmpty() ? b : a + u'\\' + b;
}

void doRegister(reg::Hive hive, const QString &parent, const std::vector<Entry> &entries)
{
    for (const Entry &e : entries) {
        if (e.isValue) {
            if (parent.isEmpty())
                throw ScriptError{e.line, QStringLiteral("a value needs a key")};
            check(reg::writeValue(hive, parent, e.name, e.value), e.line);
            continue;
        }
        QString path = join(parent, e.name);
        if (e.mode == Entry::Delete || e.mode == Entry::ForceRemove) {
            LONG r = reg::deleteTree(hive, path);
            if (r != ERROR_FILE_NOT_FOUND)
                check(r, e.line);
            if (e.mode == Entry::Delete)
                continue;
        }
        check(reg::createKey(hive, path), e.line);
        if (e.hasValue)
            check(reg::writeValue(hive, path, QString(), e.value), e.line);
        doRegister(hive, path, e.children);
    }
}

void doUnregister(reg::Hive hive, const QString &parent, const std::vector<Entry> &entries)
{
    for (const Entry &e : entries) {
        if (e.isValue) {
            LONG r = reg::deleteValue(hive, parent, e.name);
            if (r != ERROR_FILE_NOT_FOUND)
                check(r, e.line);
            continue;
        }
        QString path = join(parent, e.name);
        if (!reg::keyExists(hive, path) || e.mode == Entry::Delete)
            continue;
        if (e.mode == Entry::ForceRemove) {
            check(reg::deleteTree(hive, path), e.line);
            continue;
        }
        doUnregister(hive, path, e.children);
        if (e.mode == Entry::NoRemove)
            continue;
        QStringList rest;
        check(reg::subKeys(hive, path, &rest), e.line);
        if (rest.isEmpty())
            check(reg::deleteTree(hive, path), e.line);
    }
}

} // namespace

HRESULT runRegistryScript(const QString &script, bool registering, const QMap<QString, QString> &replacements,
                          QString *message)
{
    auto fail = [&](HRESULT hr, const QString &text) {
        if (message)
            *message = text;
        return reportError(hr, GUID_NULL, QStringLiteral("Registrierung"), text);
    };
    QString why;
    LONG st = reg::status(&why);
    if (st != ERROR_SUCCESS)
        return fail(REGDB_E_READREGDB,
                    QStringLiteral("Registrierungsdatei %1 ist beschädigt: %2").arg(reg::filePath(), why));
    std::vector<std::pair<reg::Hive, std::vector<Entry>>> roots;
    try {
        Parser p(tokenize(script), replacements);
        roots = p.parseScript();
    } catch (const ScriptError &e) {
        return fail(DISP_E_EXCEPTION, QStringLiteral("Registrierungsskript, Zeile %1: %2").arg(e.line).arg(e.reason));
    }
    reg::Batch batch;
    try {
        for (const auto &[hive, entries] : roots) {
            if (registering)
                doRegister(hive, QString(), entries);
            else
                doUnregister(hive, QString(), entries);
        }
    } catch (const ScriptError &e) {
        return fail(DISP_E_EXCEPTION, QStringLiteral("Registrierungsskript, Zeile %1: %2").arg(e.line).arg(e.reason));
    } catch (const RegFailure &f) {
        return fail(REGDB_E_WRITEREGDB,
                    QStringLiteral("Registrierungsskript, Zeile %1: Registrierung nicht schreibbar (Fehler %2)")
                        .arg(f.line)
                        .arg(f.code));
    }
    LONG r = batch.commit();
    if (r != ERROR_SUCCESS)
        return fail(REGDB_E_WRITEREGDB,
                    QStringLiteral("Registrierungsdatei %1 nicht schreibbar (Fehler %2)").arg(reg::filePath()).arg(r));
    if (message)
        message->clear();
    return S_OK;
}

} // namespace com
