// Registering the accelerator table with the host's application service.
#include "host/HostAccelerators.h"

#include "host/HostApi.h"

namespace {
// The host answers 1, as well as 0, when it has no service manager.
constexpr LRESULT kNoServiceManager = 1;
}  // namespace

HostAccelerators::HostAccelerators(HWND host, HINSTANCE resources, HWND dialog) : dialog_(dialog) {
    LRESULT answer = SendMessageW(host, kHostMessage, 0, kHostServiceManager);
    if (answer == 0 || answer == kNoServiceManager) return;
    auto* manager = reinterpret_cast<HostServiceManager*>(answer);
    service_ = static_cast<HostApplicationService*>(manager->GetService(kApplicationServiceGuid));
    if (!service_) return;
    HACCEL table = LoadAcceleratorsW(resources, MAKEINTRESOURCEW(kAcceleratorTableId));
    if (!table) return;
    service_->AddAccelerators(dialog_, &table, 1, 1);
    registered_ = true;
}

HostAccelerators::~HostAccelerators() {
    if (registered_ && service_) service_->RemoveAccelerators(dialog_);
}
