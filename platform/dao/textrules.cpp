// German text rules for SQL: the collation NOCASEDE and the LIKE operator with the wildcard
// patterns users type.
//
// The same file builds twice: into the data layer, which registers the rules on every connection
// it opens, and (with TORVANA_TEXTRULES_EXTENSION) into the loadable SQLite extension
// libtvtextrules.so, so that the sqlite3 shell and other SQLite tools read, check and write the
// database by the very same rules:
//
//     sqlite3 -cmd '.load /path/to/libtvtextrules.so' tv01.mdb
//
// In the extension every SQLite call goes through the routines the loading program hands over
// (sqlite3ext.h), never through a second copy of the library.
#ifdef TORVANA_TEXTRULES_EXTENSION
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1
#else
#include "dao_p.h"
#endif

#include <QList>
#include <QString>

#include <memory>
#include <vector>

namespace dao {

namespace {

bool isAscii(const unsigned char *p, int n)
{
    for (int i = 0; i < n; ++i)
        if (p[i] >= 0x80)
            return false;
    return true;
}

unsigned char lowerAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

// Case-folded code points of UTF-8 text.
std::u32string folded(const unsigned char *p, int n)
{
    std::u32string out;
    if (isAscii(p, n)) {
        out.resize(std::size_t(n));
        for (int i = 0; i < n; ++i)
            out[std::size_t(i)] = lowerAscii(p[i]);
        return out;
    }
    const QList<uint> ucs = QString::fromUtf8(reinterpret_cast<const char *>(p), n).toCaseFolded().toUcs4();
    out.reserve(std::size_t(ucs.size()));
    for (uint c : ucs)
        out.push_back(char32_t(c));
    return out;
}

// Sort key: folded, with the umlauts beside their base letters and ß as ss.
std::u32string baseKey(const std::u32string &f)
{
    std::u32string out;
    out.reserve(f.size());
    for (char32_t c : f) {
        switch (c) {
        case U'ä': out.push_back(U'a'); break;
        case U'ö': out.push_back(U'o'); break;
        case U'ü': out.push_back(U'u'); break;
        case U'ß': out.append(U"ss"); break;
        default: out.push_back(c);
        }
    }
    return out;
}

int sign(int v)
{
    return (v > 0) - (v < 0);
}

int compareNoCaseDe(void *, int n1, const void *v1, int n2, const void *v2)
{
    const auto *a = static_cast<const unsigned char *>(v1);
    const auto *b = static_cast<const unsigned char *>(v2);
    if (isAscii(a, n1) && isAscii(b, n2)) {
        const int n = n1 < n2 ? n1 : n2;
        for (int i = 0; i < n; ++i) {
            const int d = int(lowerAscii(a[i])) - int(lowerAscii(b[i]));
            if (d != 0)
                return sign(d);
        }
        return sign(n1 - n2);
    }
    const std::u32string fa = folded(a, n1), fb = folded(b, n2);
    const int byBase = baseKey(fa).compare(baseKey(fb));
    if (byBase != 0)
        return sign(byBase);
    return sign(fa.compare(fb));
}

// One element of a LIKE pattern; each but Star matches exactly one character.
struct Token
{
    enum Kind { Star, AnyOne, Digit, Literal, Set } kind = Literal;
    char32_t ch = 0;
    bool negate = false;
    std::vector<std::pair<char32_t, char32_t>> ranges;

    bool matches(char32_t c) const
    {
        switch (kind) {
        case AnyOne: return true;
        case Digit: return c >= U'0' && c <= U'9';
        case Literal: return c == ch;
        case Set: {
            bool in = false;
            for (const auto &r : ranges)
                if (c >= r.first && c <= r.second) {
                    in = true;
                    break;
                }
            return in != negate;
        }
        case Star: break;
        }
        return false;
    }
};

using Pattern = std::vector<Token>;

Pattern parsePattern(const std::u32string &p)
{
    Pattern out;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char32_t c = p[i];
        Token t;
        t.kind = Token::Literal;
        if (c == U'*') {
            if (!out.empty() && out.back().kind == Token::Star)
                continue;
            t.kind = Token::Star;
        } else if (c == U'?') {
            t.kind = Token::AnyOne;
        } else if (c == U'#') {
            t.kind = Token::Digit;
        } else if (c == U'[') {
            // [abc], [a-z], [!abc]; an unclosed bracket is an ordinary character.
            std::size_t j = i + 1;
            bool negate = false;
            if (j < p.size() && p[j] == U'!') {
                negate = true;
                ++j;
            }
            std::size_t close = j;
            while (close < p.size() && p[close] != U']')
                ++close;
            if (close >= p.size()) {
                t.ch = c;
            } else {
                t.kind = Token::Set;
                t.negate = negate;
                for (std::size_t k = j; k < close; ++k) {
                    if (k + 2 < close && p[k + 1] == U'-') {
                        char32_t lo = p[k], hi = p[k + 2];
                        if (lo > hi)
                            std::swap(lo, hi);
                        t.ranges.emplace_back(lo, hi);
                        k += 2;
                    } else {
                        t.ranges.emplace_back(p[k], p[k]);
                    }
                }
                i = close;
            }
        } else {
            t.ch = c;
        }
        out.push_back(std::move(t));
    }
    return out;
}

bool matchPattern(const Pattern &pat, const std::u32string &text)
{
    std::size_t ti = 0, pi = 0;
    std::size_t starP = std::size_t(-1), starT = 0;
    while (ti < text.size()) {
        if (pi < pat.size() && pat[pi].kind != Token::Star && pat[pi].matches(text[ti])) {
            ++pi;
            ++ti;
        } else if (pi < pat.size() && pat[pi].kind == Token::Star) {
            starP = pi++;
            starT = ti;
        } else if (starP != std::size_t(-1)) {
            pi = starP + 1;
            ti = ++starT;
        } else {
            return false;
        }
    }
    while (pi < pat.size() && pat[pi].kind == Token::Star)
        ++pi;
    return pi == pat.size();
}

void deletePattern(void *p)
{
    delete static_cast<Pattern *>(p);
}

// like(pattern, text): SQL "text LIKE pattern".
void likeFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    std::unique_ptr<Pattern> owned;
    const Pattern *pat = static_cast<const Pattern *>(sqlite3_get_auxdata(ctx, 0));
    if (!pat) {
        const auto *p = sqlite3_value_text(argv[0]);
        owned = std::make_unique<Pattern>(parsePattern(folded(p, sqlite3_value_bytes(argv[0]))));
        pat = owned.get();
    }
    const auto *t = sqlite3_value_text(argv[1]);
    const bool hit = matchPattern(*pat, folded(t, sqlite3_value_bytes(argv[1])));
    sqlite3_result_int(ctx, hit ? 1 : 0);
    if (owned)
        sqlite3_set_auxdata(ctx, 0, owned.release(), deletePattern);
}

// Registers the collation and the LIKE on db; an SQLite result code.
int installTextRules(sqlite3 *db)
{
    int rc = sqlite3_create_collation_v2(db, "NOCASEDE", SQLITE_UTF8, nullptr, compareNoCaseDe, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                                        likeFunction, nullptr, nullptr, nullptr);
    return rc;
}

} // namespace

#ifdef TORVANA_TEXTRULES_EXTENSION
} // namespace dao

// The entry point SQLite derives from the file name libtvtextrules.so.
extern "C" __attribute__((visibility("default"))) int sqlite3_tvtextrules_init(sqlite3 *db, char **errorMessage,
                                                                               const sqlite3_api_routines *api)
{
    SQLITE_EXTENSION_INIT2(api);
    const int rc = dao::installTextRules(db);
    if (rc != SQLITE_OK && errorMessage)
        *errorMessage = sqlite3_mprintf("NOCASEDE und LIKE konnten nicht registriert werden: %s", sqlite3_errstr(rc));
    return rc;
}
#else
void registerTextRules(sqlite3 *db)
{
    const int rc = installTextRules(db);
    if (rc != SQLITE_OK)
        raiseSqlite(db, rc, Op::Other);
}

} // namespace dao
#endif
