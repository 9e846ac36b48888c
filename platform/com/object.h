#pragma once
// Reusable object machinery: the module lock count, reference counting with QueryInterface over
// a list of interfaces, a generic class factory and the class table behind DllGetClassObject.
//
// Each module (component library, the runtime itself, a test program) has its own lock count:
// write TV_COM_MODULE() once in one source file of the module. Component libraries are built
// with hidden symbol visibility (CMake: tv_add_com_library, see platform/com/CMakeLists.txt) and
// export only their entry points with TV_COM_EXPORT, so that the inline code of these headers
// binds to the library's own lock and never to another module's copy.
#include "com/unknown.h"

#include <atomic>
#include <new>
#include <span>
#include <type_traits>

namespace com {

class ModuleLock
{
public:
    void lock() noexcept { count_.fetch_add(1, std::memory_order_relaxed); }
    void unlock() noexcept { count_.fetch_sub(1, std::memory_order_acq_rel); }
    long count() const noexcept { return count_.load(std::memory_order_acquire); }
    // The answer of DllCanUnloadNow: S_OK when no object and no LockServer lock is outstanding.
    HRESULT canUnloadNow() const noexcept { return count() == 0 ? S_OK : S_FALSE; }

private:
    std::atomic<long> count_{0};
};

// The lock of the calling module (defined by TV_COM_MODULE()).
__attribute__((visibility("hidden"))) ModuleLock &moduleLock();

} // namespace com

#define TV_COM_MODULE()                                                                                                \
    namespace com {                                                                                                    \
    __attribute__((visibility("hidden"))) ModuleLock &moduleLock()                                                     \
    {                                                                                                                  \
        static ModuleLock lock;                                                                                        \
        return lock;                                                                                                   \
    }                                                                                                                  \
    }

namespace com {

enum class ModuleCount { Counted, NotCounted };

namespace detail {
template <class I>
constexpr bool interfaceMatches(REFIID riid)
{
    if constexpr (std::is_void_v<I>)
        return false;
    else
        return riid == I::iid || interfaceMatches<typename I::base_type>(riid);
}
template <class First, class...>
struct FirstOf
{
    using type = First;
};
} // namespace detail

// Reference-counted object implementing the given interfaces. QueryInterface answers each listed
// interface and every base of it (IUnknown through the first one, which is the object's identity);
// a derived class answers more by overriding findInterface. The object is created with count 0
// (take the first reference with AddRef or ComPtr) and deleted when the count returns to 0.
// While it lives it holds a module lock unless constructed with ModuleCount::NotCounted.
template <class... Interfaces>
class ComObject : public Interfaces...
{
    using First = typename detail::FirstOf<Interfaces...>::type;

public:
    explicit ComObject(ModuleCount counting = ModuleCount::Counted) : counted_(counting == ModuleCount::Counted)
    {
        if (counted_)
            moduleLock().lock();
    }
    ComObject(const ComObject &) = delete;
    ComObject &operator=(const ComObject &) = delete;
    virtual ~ComObject()
    {
        if (counted_)
            moduleLock().unlock();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        void *p = nullptr;
        ((p == nullptr && detail::interfaceMatches<Interfaces>(riid) ? (p = static_cast<Interfaces *>(this), 0) : 0),
         ...);
        if (!p)
            p = findInterface(riid);
        if (!p)
            return E_NOINTERFACE;
        static_cast<IUnknown *>(p)->AddRef();
        *ppv = p;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG r = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
        if (r == 0)
            delete this;
        return r;
    }

    // The object's IUnknown identity (not AddRef'd).
    IUnknown *identity() noexcept { return static_cast<First *>(this); }
    ULONG refCount() const noexcept { return refs_.load(); }

protected:
    // Further interfaces: return the interface pointer (QueryInterface AddRefs it) or nullptr.
    virtual void *findInterface(REFIID) { return nullptr; }

private:
    std::atomic<ULONG> refs_{0};
    bool counted_;
};

// Creates a T (default-constructed) and queries it for riid: the usual body of a class factory.
template <class T>
HRESULT createInstance(IUnknown *outer, REFIID riid, void **ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    T *obj = new (std::nothrow) T();
    if (!obj)
        return E_OUTOFMEMORY;
    obj->AddRef();
    HRESULT hr = obj->QueryInterface(riid, ppv);
    obj->Release();
    return hr;
}

// A new object of type T with one reference held by the returned pointer.
template <class T, class... Args>
ComPtr<T> makeObject(Args &&...args)
{
    return ComPtr<T>(new T(std::forward<Args>(args)...));
}

using CreateFn = HRESULT (*)(IUnknown *outer, REFIID riid, void **ppv);

// Class factory over a creation function. Class objects do not count as module locks;
// LockServer(TRUE/FALSE) does.
class ClassFactory final : public ComObject<IClassFactory>
{
public:
    explicit ClassFactory(CreateFn create) : ComObject(ModuleCount::NotCounted), create_(create) {}
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID riid, void **ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        return create_(outer, riid, ppv);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        if (lock)
            moduleLock().lock();
        else
            moduleLock().unlock();
        return S_OK;
    }

private:
    CreateFn create_;
};

// One class of a module: its CLSID and its creation function (createInstance<T>).
struct ClassEntry
{
    const CLSID *clsid;
    CreateFn create;
};

// The body of DllGetClassObject: a class factory for the class of the table, or
// CLASS_E_CLASSNOTAVAILABLE.
inline HRESULT getClassObject(std::span<const ClassEntry> classes, REFCLSID clsid, REFIID riid, void **ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    for (const ClassEntry &e : classes) {
        if (*e.clsid == clsid) {
            auto *f = new (std::nothrow) ClassFactory(e.create);
            if (!f)
                return E_OUTOFMEMORY;
            f->AddRef();
            HRESULT hr = f->QueryInterface(riid, ppv);
            f->Release();
            return hr;
        }
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

} // namespace com

// The entry points a component library exports (with C linkage, TV_COM_EXPORT):
//   HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void **ppv);
//   HRESULT DllCanUnloadNow();
//   HRESULT DllRegisterServer();
//   HRESULT DllUnregisterServer();
using PFN_DllGetClassObject = HRESULT (*)(REFCLSID, REFIID, void **);
using PFN_DllCanUnloadNow = HRESULT (*)();
using PFN_DllRegisterServer = HRESULT (*)();
using PFN_DllUnregisterServer = HRESULT (*)();
