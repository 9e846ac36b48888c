#include "ole/propbag.h"
#include "com/dispatch.h"
#include "com/object.h"

#include <QHash>

namespace ole {

namespace {

class MemoryBag final : public com::ComObject<IPropertyBag>
{
public:
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT *var, IErrorLog *log) override
    {
        if (!name || !var)
            return E_POINTER;
        QString key = com::fromWide(name).toLower();
        auto it = values_.find(key);
        if (it == values_.end()) {
            if (log) {
                EXCEPINFO e{};
                e.scode = E_INVALIDARG;
                e.bstrDescription = com::allocBstr(QStringLiteral("Eigenschaft fehlt"));
                log->AddError(name, &e);
                com::clearExcepInfo(&e);
            }
            return E_INVALIDARG;
        }
        VARTYPE want = var->vt;
        if (want == VT_EMPTY)
            return VariantCopy(var, &it->second);
        com::Variant converted;
        HRESULT hr = VariantChangeType(&converted, &it->second, 0, want);
        if (FAILED(hr))
            return hr;
        VariantClear(var);
        *var = converted.detach();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT *var) override
    {
        if (!name || !var)
            return E_POINTER;
        QString n = com::fromWide(name);
        if (n.isEmpty())
            return E_INVALIDARG;
        com::Variant copy;
        HRESULT hr = VariantCopyInd(&copy, var);
        if (FAILED(hr))
            return hr;
        QString key = n.toLower();
        if (!values_.contains(key))
            order_ << n;
        values_[key] = {n, std::move(copy)};
        return S_OK;
    }

    QStringList names() const { return order_; }
    bool remove(const QString &name)
    {
        QString key = name.toLower();
        if (values_.remove(key) == 0)
            return false;
        for (int i = 0; i < order_.size(); ++i)
            if (order_[i].toLower() == key) {
                order_.removeAt(i);
                break;
            }
        return true;
    }
    static constexpr IID kSelf = com::makeGuid("6E3A1C2D-5B7D-4F0E-9C41-2A8D7F3B6E01");

protected:
    void *findInterface(REFIID riid) override { return riid == kSelf ? static_cast<IPropertyBag *>(this) : nullptr; }

private:
    QHash<QString, std::pair<QString, com::Variant>> values_; // lower-case name -> (spelling, value)
    QStringList order_;
};

MemoryBag *ownBag(IPropertyBag *bag)
{
    com::ComPtr<IPropertyBag> own;
    if (!bag || FAILED(bag->QueryInterface(MemoryBag::kSelf, own.putVoid())) || !own)
        return nullptr;
    return static_cast<MemoryBag *>(own.get());
}

} // namespace

com::ComPtr<IPropertyBag> createPropertyBag()
{
    return com::ComPtr<IPropertyBag>(new MemoryBag);
}

QStringList propertyBagNames(IPropertyBag *bag)
{
    MemoryBag *b = ownBag(bag);
    return b ? b->names() : QStringList();
}

bool propertyBagRemove(IPropertyBag *bag, const QString &name)
{
    MemoryBag *b = ownBag(bag);
    return b && b->remove(name);
}

} // namespace ole
