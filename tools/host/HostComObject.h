// IUnknown for the stand-in player's own OLE objects (its drag data, drop source and drop
// target), each implementing one interface and living on the user-interface thread.
#pragma once

#include <windows.h>
#include <ole2.h>

template <class Interface, const IID& kInterfaceId>
class SingleInterfaceObject : public Interface {
public:
    virtual ~SingleInterfaceObject() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kInterfaceId)) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --refs_;
        if (!left) delete this;
        return left;
    }

private:
    ULONG refs_ = 1;
};

template <class T>
struct ComRelease {
    void operator()(T* object) const { object->Release(); }
};
