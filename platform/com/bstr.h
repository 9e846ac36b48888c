#pragma once
// BSTR: a UTF-16 string allocated by the runtime, preceded by a 4-byte byte count and followed by
// a zero character. A null BSTR counts as the empty string everywhere.
#include "com/types.h"

#include <QString>

TV_COM_EXPORT BSTR SysAllocString(const OLECHAR *psz);
TV_COM_EXPORT BSTR SysAllocStringLen(const OLECHAR *pch, UINT cch); // pch may be null: zeroed
TV_COM_EXPORT BSTR SysAllocStringByteLen(const char *psz, UINT len);
TV_COM_EXPORT BOOL SysReAllocString(BSTR *pbstr, const OLECHAR *psz);
TV_COM_EXPORT BOOL SysReAllocStringLen(BSTR *pbstr, const OLECHAR *psz, UINT len);
TV_COM_EXPORT void SysFreeString(BSTR bstr);
TV_COM_EXPORT UINT SysStringLen(BSTR bstr); // in characters
TV_COM_EXPORT UINT SysStringByteLen(BSTR bstr);

namespace com {

// A new BSTR with the text of s (caller frees with SysFreeString).
BSTR allocBstr(const QString &s);
// The text of b (empty for null); embedded zero characters are kept.
QString toQString(BSTR b);
// Text of a zero-terminated wide string (empty for null).
QString fromWide(const OLECHAR *s);
// Length of a zero-terminated wide string.
std::size_t wideLength(const OLECHAR *s);
// Case-insensitive comparison of two wide strings (Unicode case folding).
bool wideEqualsNoCase(const OLECHAR *a, const OLECHAR *b);

// Owning BSTR: frees on destruction.
class Bstr
{
public:
    Bstr() = default;
    explicit Bstr(const QString &s) : b_(allocBstr(s)) {}
    explicit Bstr(const OLECHAR *s) : b_(SysAllocString(s)) {}
    Bstr(const Bstr &o) : b_(o.b_ ? SysAllocStringLen(o.b_, SysStringLen(o.b_)) : nullptr) {}
    Bstr(Bstr &&o) noexcept : b_(o.b_) { o.b_ = nullptr; }
    Bstr &operator=(Bstr o) noexcept
    {
        std::swap(b_, o.b_);
        return *this;
    }
    ~Bstr() { SysFreeString(b_); }

    static Bstr adopt(BSTR b)
    {
        Bstr r;
        r.b_ = b;
        return r;
    }
    BSTR get() const { return b_; }
    BSTR *put()
    {
        SysFreeString(b_);
        b_ = nullptr;
        return &b_;
    }
    [[nodiscard]] BSTR detach()
    {
        BSTR r = b_;
        b_ = nullptr;
        return r;
    }
    UINT length() const { return SysStringLen(b_); }
    QString toString() const { return toQString(b_); }
    operator BSTR() const { return b_; }

private:
    BSTR b_ = nullptr;
};

} // namespace com
