// The component-categories manager (ICatRegister) over the registry.
#include "com/activation.h"
#include "com/interfaces.h"
#include "com/object.h"
#include "com/registry.h"
#include "internal_p.h"

namespace {

class CategoryManager final : public com::ComObject<ICatRegister>
{
public:
    HRESULT STDMETHODCALLTYPE RegisterCategories(ULONG count, CATEGORYINFO *info) override
    {
        if (count && !info)
            return E_POINTER;
        com::reg::Batch batch;
        for (ULONG i = 0; i < count; ++i) {
            QString key = QStringLiteral("Component Categories\\") + com::guidToString(info[i].catid);
            QString lcid = QString::number(info[i].lcid, 16);
            QString text = QString::fromUtf16(
                info[i].szDescription, qsizetype(std::min<std::size_t>(com::wideLength(info[i].szDescription), 127)));
            if (com::reg::writeString(com::reg::Hive::ClassesRoot, key, lcid, text) != ERROR_SUCCESS)
                return E_FAIL;
        }
        return batch.commit() == ERROR_SUCCESS ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE UnRegisterCategories(ULONG count, CATID *ids) override
    {
        if (count && !ids)
            return E_POINTER;
        com::reg::Batch batch;
        for (ULONG i = 0; i < count; ++i) {
            LONG r = com::reg::deleteTree(com::reg::Hive::ClassesRoot,
                                          QStringLiteral("Component Categories\\") + com::guidToString(ids[i]));
            if (r != ERROR_SUCCESS && r != ERROR_FILE_NOT_FOUND)
                return E_FAIL;
        }
        return batch.commit() == ERROR_SUCCESS ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE RegisterClassImplCategories(REFCLSID clsid, ULONG count, CATID *ids) override
    {
        return add(clsid, QStringLiteral("Implemented Categories"), count, ids);
    }
    HRESULT STDMETHODCALLTYPE UnRegisterClassImplCategories(REFCLSID clsid, ULONG count, CATID *ids) override
    {
        return remove(clsid, QStringLiteral("Implemented Categories"), count, ids);
    }
    HRESULT STDMETHODCALLTYPE RegisterClassReqCategories(REFCLSID clsid, ULONG count, CATID *ids) override
    {
        return add(clsid, QStringLiteral("Required Categories"), count, ids);
    }
    HRESULT STDMETHODCALLTYPE UnRegisterClassReqCategories(REFCLSID clsid, ULONG count, CATID *ids) override
    {
        return remove(clsid, QStringLiteral("Required Categories"), count, ids);
    }

private:
    static QString base(REFCLSID clsid, const QString &kind)
    {
        return QStringLiteral("CLSID\\") + com::guidToString(clsid) + u'\\' + kind;
    }
    HRESULT add(REFCLSID clsid, const QString &kind, ULONG count, CATID *ids)
    {
        if (count && !ids)
            return E_POINTER;
        com::reg::Batch batch;
        for (ULONG i = 0; i < count; ++i)
            if (com::reg::createKey(com::reg::Hive::ClassesRoot,
                                    base(clsid, kind) + u'\\' + com::guidToString(ids[i])) != ERROR_SUCCESS)
                return E_FAIL;
        return batch.commit() == ERROR_SUCCESS ? S_OK : E_FAIL;
    }
    // Removing categories that were never registered succeeds.
    HRESULT remove(REFCLSID clsid, const QString &kind, ULONG count, CATID *ids)
    {
        if (count && !ids)
            return E_POINTER;
        com::reg::Batch batch;
        for (ULONG i = 0; i < count; ++i) {
            LONG r = com::reg::deleteTree(com::reg::Hive::ClassesRoot,
                                          base(clsid, kind) + u'\\' + com::guidToString(ids[i]));
            if (r != ERROR_SUCCESS && r != ERROR_FILE_NOT_FOUND)
                return E_FAIL;
        }
        QStringList rest;
        if (com::reg::subKeys(com::reg::Hive::ClassesRoot, base(clsid, kind), &rest) == ERROR_SUCCESS && rest.isEmpty())
            com::reg::deleteTree(com::reg::Hive::ClassesRoot, base(clsid, kind));
        return batch.commit() == ERROR_SUCCESS ? S_OK : E_FAIL;
    }
};

} // namespace

namespace com::internal {
HRESULT createCategoryManager(IUnknown *outer, REFIID riid, void **ppv)
{
    return com::createInstance<CategoryManager>(outer, riid, ppv);
}
} // namespace com::internal
