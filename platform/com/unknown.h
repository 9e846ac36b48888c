#pragma once
// IUnknown, IClassFactory and the ComPtr smart pointer.
//
// Interface convention: every interface is a struct of pure virtual functions in COM's vtable order,
// with `static constexpr IID iid` (its interface identifier) and `using base_type = <base interface>`
// (void for IUnknown). The runtime's object helpers (com/object.h) use both to answer QueryInterface.
// Interfaces have no virtual destructor: objects are destroyed by their own Release.
#include "com/types.h"

#include <type_traits>
#include <utility>

struct IUnknown
{
    static constexpr IID iid = com::makeGuid("00000000-0000-0000-C000-000000000046");
    using base_type = void;
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppvObject) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;
};
using LPUNKNOWN = IUnknown *;

struct IClassFactory : IUnknown
{
    static constexpr IID iid = com::makeGuid("00000001-0000-0000-C000-000000000046");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *pUnkOuter, REFIID riid, void **ppvObject) = 0;
    virtual HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) = 0;
};

inline constexpr IID IID_IUnknown = IUnknown::iid;
inline constexpr IID IID_IClassFactory = IClassFactory::iid;

namespace com {

// The interface identifier of an interface type (its `iid` member).
template <class T>
constexpr const IID &uuidOf()
{
    return T::iid;
}

// Owning pointer to a COM interface: AddRef on copy, Release on destruction.
template <class T>
class ComPtr
{
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Takes a new reference to p (AddRef).
    ComPtr(T *p) noexcept : p_(p)
    {
        if (p_)
            p_->AddRef();
    }
    ComPtr(const ComPtr &o) noexcept : p_(o.p_)
    {
        if (p_)
            p_->AddRef();
    }
    ComPtr(ComPtr &&o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U *, T *>>>
    ComPtr(const ComPtr<U> &o) noexcept : p_(o.get())
    {
        if (p_)
            p_->AddRef();
    }
    ~ComPtr() { reset(); }

    ComPtr &operator=(const ComPtr &o) noexcept
    {
        ComPtr(o).swap(*this);
        return *this;
    }
    ComPtr &operator=(ComPtr &&o) noexcept
    {
        ComPtr(std::move(o)).swap(*this);
        return *this;
    }
    ComPtr &operator=(T *p) noexcept
    {
        ComPtr(p).swap(*this);
        return *this;
    }
    ComPtr &operator=(std::nullptr_t) noexcept
    {
        reset();
        return *this;
    }

    // Adopts p without AddRef (p's reference now belongs to this pointer).
    static ComPtr adopt(T *p) noexcept
    {
        ComPtr r;
        r.p_ = p;
        return r;
    }
    void attach(T *p) noexcept
    {
        reset();
        p_ = p;
    }
    // Gives up the reference without Release.
    [[nodiscard]] T *detach() noexcept { return std::exchange(p_, nullptr); }
    void reset() noexcept
    {
        if (T *p = std::exchange(p_, nullptr))
            p->Release();
    }
    void swap(ComPtr &o) noexcept { std::swap(p_, o.p_); }

    T *get() const noexcept { return p_; }
    T *operator->() const noexcept { return p_; }
    T &operator*() const noexcept { return *p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }

    // Releases the current pointer and returns the address for an out-parameter.
    T **put() noexcept
    {
        reset();
        return &p_;
    }
    void **putVoid() noexcept
    {
        reset();
        return reinterpret_cast<void **>(&p_);
    }

    // QueryInterface for U; an empty pointer when not supported.
    template <class U>
    ComPtr<U> as() const noexcept
    {
        ComPtr<U> r;
        if (p_)
            p_->QueryInterface(U::iid, r.putVoid());
        return r;
    }
    template <class U>
    HRESULT queryInterface(ComPtr<U> &out) const noexcept
    {
        if (!p_) {
            out.reset();
            return E_POINTER;
        }
        return p_->QueryInterface(U::iid, out.putVoid());
    }
    // Hands out a new reference through an out-parameter (E_POINTER for null pp).
    HRESULT copyTo(T **pp) const noexcept
    {
        if (!pp)
            return E_POINTER;
        *pp = p_;
        if (p_)
            p_->AddRef();
        return S_OK;
    }

    friend bool operator==(const ComPtr &a, const ComPtr &b) { return a.p_ == b.p_; }
    friend bool operator==(const ComPtr &a, std::nullptr_t) { return a.p_ == nullptr; }

private:
    T *p_ = nullptr;
};

// True when a and b are the same object (compared through their IUnknown identities).
bool sameObject(IUnknown *a, IUnknown *b);

} // namespace com
