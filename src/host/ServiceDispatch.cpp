// Building the argument arrays of the host's service calls: each argument is passed as the
// address of its value, in order, and a result is read only when the host says it handled
// the message (it leaves the result alone otherwise).
#include "host/ServiceDispatch.h"

namespace {

// The host answers 1, as well as 0, when it has no service manager.
constexpr LRESULT kNoServiceManager = 1;
constexpr int kFirstInterface = 1;

// The arguments are copies owned by this call; the host reads them before it returns.
template <class Result, class... Arguments>
bool Call(HostDispatchable* object, int message, Result& result, Arguments... arguments) {
    if (!object) return false;
    void* pointers[] = {static_cast<void*>(&arguments)...};
    return object->Dispatch(message, &result, pointers, static_cast<int>(sizeof...(Arguments))) != 0;
}

HostDispatchable* GetInterface(HostDispatchable* factory) {
    HostDispatchable* service = nullptr;
    return Call(factory, kFactoryGetInterface, service, kFirstInterface) ? service : nullptr;
}

}  // namespace

HostDispatchable* GetServiceFactory(HostDispatchable* manager, const GUID& id) {
    HostDispatchable* factory = nullptr;
    return Call(manager, kServiceGetFactory, factory, id) ? factory : nullptr;
}

bool AddHostAccelerators(HostDispatchable* application, HWND window, HACCEL* tables, int count,
                         AcceleratorTranslation mode) {
    int ignored = 0;
    return Call(application, kServiceAddAccelerators, ignored, window, tables, count, static_cast<UINT>(mode));
}

bool RemoveHostAccelerators(HostDispatchable* application, HWND window) {
    int ignored = 0;
    return Call(application, kServiceRemoveAccelerators, ignored, window);
}

HostServiceInterface::HostServiceInterface(LRESULT managerAnswer, const GUID& id) {
    if (managerAnswer == 0 || managerAnswer == kNoServiceManager) return;
    factory_ = GetServiceFactory(reinterpret_cast<HostDispatchable*>(managerAnswer), id);
    service_ = GetInterface(factory_);
}

HostServiceInterface::~HostServiceInterface() {
    if (!service_) return;
    int released = 0;
    Call(factory_, kFactoryReleaseInterface, released, service_);
}
