#include "ole/memstream.h"
#include "com/activation.h"
#include "com/bstr.h"
#include "com/object.h"

#include <QMap>

#include <cstring>
#include <memory>

namespace ole {

namespace {

struct Buffer
{
    QByteArray data;
};

class MemoryStream final : public com::ComObject<IStream>
{
public:
    explicit MemoryStream(std::shared_ptr<Buffer> buffer, qint64 pos = 0) : buf_(std::move(buffer)), pos_(pos) {}

    HRESULT STDMETHODCALLTYPE Read(void *pv, ULONG cb, ULONG *pcbRead) override
    {
        if (!pv && cb)
            return STG_E_INVALIDPOINTER;
        qint64 avail = std::max<qint64>(0, buf_->data.size() - pos_);
        ULONG n = ULONG(std::min<qint64>(avail, cb));
        if (n)
            std::memcpy(pv, buf_->data.constData() + pos_, n);
        pos_ += n;
        if (pcbRead)
            *pcbRead = n;
        return n == cb ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Write(const void *pv, ULONG cb, ULONG *pcbWritten) override
    {
        if (!pv && cb)
            return STG_E_INVALIDPOINTER;
        if (pos_ + qint64(cb) > qint64(std::numeric_limits<int>::max()))
            return STG_E_MEDIUMFULL;
        if (pos_ + qint64(cb) > buf_->data.size())
            buf_->data.resize(qsizetype(pos_ + cb), '\0');
        if (cb)
            std::memcpy(buf_->data.data() + pos_, pv, cb);
        pos_ += cb;
        if (pcbWritten)
            *pcbWritten = cb;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER *newPos) override
    {
        qint64 base;
        switch (origin) {
        case STREAM_SEEK_SET: base = 0; break;
        case STREAM_SEEK_CUR: base = pos_; break;
        case STREAM_SEEK_END: base = buf_->data.size(); break;
        default: return STG_E_INVALIDFUNCTION;
        }
        if (move.QuadPart < -base || move.QuadPart > std::numeric_limits<int>::max() - base)
            return STG_E_INVALIDFUNCTION;
        pos_ = base + move.QuadPart;
        if (newPos)
            newPos->QuadPart = ULONGLONG(pos_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override
    {
        if (size.QuadPart > ULONGLONG(std::numeric_limits<int>::max()))
            return STG_E_MEDIUMFULL;
        buf_->data.resize(qsizetype(size.QuadPart), '\0');
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream *dest, ULARGE_INTEGER cb, ULARGE_INTEGER *pcbRead,
                                     ULARGE_INTEGER *pcbWritten) override
    {
        if (!dest)
            return STG_E_INVALIDPOINTER;
        qint64 avail = std::max<qint64>(0, buf_->data.size() - pos_);
        ULONG n = ULONG(std::min<ULONGLONG>(ULONGLONG(avail), cb.QuadPart));
        ULONG written = 0;
        HRESULT hr = dest->Write(buf_->data.constData() + pos_, n, &written);
        pos_ += n;
        if (pcbRead)
            pcbRead->QuadPart = n;
        if (pcbWritten)
            pcbWritten->QuadPart = written;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override
    {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override
    {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG *st, DWORD) override
    {
        if (!st)
            return STG_E_INVALIDPOINTER;
        std::memset(st, 0, sizeof *st);
        st->type = STGTY_STREAM;
        st->cbSize.QuadPart = ULONGLONG(buf_->data.size());
        st->grfMode = STGM_READWRITE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IStream **pp) override
    {
        if (!pp)
            return STG_E_INVALIDPOINTER;
        auto *s = new (std::nothrow) MemoryStream(buf_, pos_);
        if (!s)
            return E_OUTOFMEMORY;
        s->AddRef();
        *pp = s;
        return S_OK;
    }

    const QByteArray &contents() const { return buf_->data; }
    static constexpr IID kSelf = com::makeGuid("6E3A1C2E-5B7D-4F0E-9C41-2A8D7F3B6E01");

protected:
    void *findInterface(REFIID riid) override { return riid == kSelf ? static_cast<IStream *>(this) : nullptr; }

private:
    std::shared_ptr<Buffer> buf_;
    qint64 pos_;
};

class MemoryStorage final : public com::ComObject<IStorage>
{
public:
    HRESULT STDMETHODCALLTYPE CreateStream(const OLECHAR *name, DWORD mode, DWORD, DWORD, IStream **pp) override
    {
        if (!pp)
            return STG_E_INVALIDPOINTER;
        *pp = nullptr;
        QString key;
        if (!validName(name, &key))
            return STG_E_INVALIDNAME;
        if (streams_.contains(key) && !(mode & STGM_CREATE))
            return STG_E_FILEALREADYEXISTS;
        if (storages_.contains(key))
            return STG_E_FILEALREADYEXISTS;
        auto buf = std::make_shared<Buffer>();
        streams_.insert(key, buf);
        return open(buf, pp);
    }
    HRESULT STDMETHODCALLTYPE OpenStream(const OLECHAR *name, void *, DWORD, DWORD, IStream **pp) override
    {
        if (!pp)
            return STG_E_INVALIDPOINTER;
        *pp = nullptr;
        QString key;
        if (!validName(name, &key))
            return STG_E_INVALIDNAME;
        auto it = streams_.find(key);
        if (it == streams_.end())
            return STG_E_FILENOTFOUND;
        return open(it.value(), pp);
    }
    HRESULT STDMETHODCALLTYPE CreateStorage(const OLECHAR *name, DWORD mode, DWORD, DWORD, IStorage **pp) override
    {
        if (!pp)
            return STG_E_INVALIDPOINTER;
        *pp = nullptr;
        QString key;
        if (!validName(name, &key))
            return STG_E_INVALIDNAME;
        if ((storages_.contains(key) && !(mode & STGM_CREATE)) || streams_.contains(key))
            return STG_E_FILEALREADYEXISTS;
        com::ComPtr<IStorage> s(new MemoryStorage);
        storages_.insert(key, s);
        return s.copyTo(pp);
    }
    HRESULT STDMETHODCALLTYPE OpenStorage(const OLECHAR *name, IStorage *, DWORD, SNB, DWORD, IStorage **pp) override
    {
        if (!pp)
            return STG_E_INVALIDPOINTER;
        *pp = nullptr;
        QString key;
        if (!validName(name, &key))
            return STG_E_INVALIDNAME;
        auto it = storages_.find(key);
        if (it == storages_.end())
            return STG_E_FILENOTFOUND;
        return it.value().copyTo(pp);
    }
    HRESULT STDMETHODCALLTYPE CopyTo(DWORD, const IID *, SNB, IStorage *) override { return STG_E_INVALIDFUNCTION; }
    HRESULT STDMETHODCALLTYPE MoveElementTo(const OLECHAR *, IStorage *, const OLECHAR *, DWORD) override
    {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnumElements(DWORD, void *, DWORD, IEnumSTATSTG **) override
    {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE DestroyElement(const OLECHAR *name) override
    {
        QString key;
        if (!validName(name, &key))
            return STG_E_INVALIDNAME;
        if (streams_.remove(key) || storages_.remove(key))
            return S_OK;
        return STG_E_FILENOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE RenameElement(const OLECHAR *, const OLECHAR *) override { return STG_E_INVALIDFUNCTION; }
    HRESULT STDMETHODCALLTYPE SetElementTimes(const OLECHAR *, const FILETIME *, const FILETIME *,
                                              const FILETIME *) override
    {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE SetClass(REFCLSID clsid) override
    {
        clsid_ = clsid;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetStateBits(DWORD, DWORD) override { return STG_E_INVALIDFUNCTION; }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG *st, DWORD) override
    {
        if (!st)
            return STG_E_INVALIDPOINTER;
        std::memset(st, 0, sizeof *st);
        st->type = STGTY_STORAGE;
        st->clsid = clsid_;
        st->grfMode = STGM_READWRITE;
        return S_OK;
    }

private:
    static bool validName(const OLECHAR *name, QString *key)
    {
        QString n = com::fromWide(name);
        if (n.isEmpty() || n.size() > 31 || n.contains(u'/') || n.contains(u'\\') || n.contains(u':') ||
            n.contains(u'!'))
            return false;
        *key = n.toLower();
        return true;
    }
    static HRESULT open(const std::shared_ptr<Buffer> &buf, IStream **pp)
    {
        auto *s = new (std::nothrow) MemoryStream(buf);
        if (!s)
            return E_OUTOFMEMORY;
        s->AddRef();
        *pp = s;
        return S_OK;
    }
    QMap<QString, std::shared_ptr<Buffer>> streams_;
    QMap<QString, com::ComPtr<IStorage>> storages_;
    CLSID clsid_ = GUID_NULL;
};

} // namespace

com::ComPtr<IStream> createMemoryStream(const QByteArray &initial)
{
    auto buf = std::make_shared<Buffer>();
    buf->data = initial;
    return com::ComPtr<IStream>(new MemoryStream(buf));
}

QByteArray streamContents(IStream *stream)
{
    if (!stream)
        return QByteArray();
    com::ComPtr<IStream> own;
    if (SUCCEEDED(stream->QueryInterface(MemoryStream::kSelf, own.putVoid())) && own)
        return static_cast<MemoryStream *>(own.get())->contents();
    ULARGE_INTEGER pos{};
    if (FAILED(stream->Seek(LARGE_INTEGER{0}, STREAM_SEEK_CUR, &pos)))
        return QByteArray();
    stream->Seek(LARGE_INTEGER{0}, STREAM_SEEK_SET, nullptr);
    QByteArray out;
    char chunk[4096];
    ULONG n = 0;
    while (SUCCEEDED(stream->Read(chunk, sizeof chunk, &n)) && n > 0)
        out.append(chunk, n);
    stream->Seek(LARGE_INTEGER{LONGLONG(pos.QuadPart)}, STREAM_SEEK_SET, nullptr);
    return out;
}

com::ComPtr<IStorage> createMemoryStorage()
{
    return com::ComPtr<IStorage>(new MemoryStorage);
}

} // namespace ole
