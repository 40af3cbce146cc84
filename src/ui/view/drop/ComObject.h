// The IUnknown half of the view's drag-and-drop objects: an interlocked reference count and
// QueryInterface for IUnknown and the one interface each object implements. Held through
// Ref<T>, which calls the same AddRef and Release.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <new>

template <class Interface, const IID& kInterfaceId>
class ComObject : public Interface {
public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kInterfaceId)) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // OLE keeps registered targets in its own tables and may release them from there, so the
    // count is interlocked even though every call comes on the user-interface thread.
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&count_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = InterlockedDecrement(&count_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

protected:
    virtual ~ComObject() = default;

private:
    volatile LONG count_ = 1;
};

// Runs a COM method's body: nothing may be thrown back into OLE's drag loop.
template <class Body>
HRESULT GuardedCall(Body body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}
