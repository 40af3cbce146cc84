// Registering the accelerator table with the host's application service.
#include "host/HostAccelerators.h"

#include "host/HostApi.h"

HostAccelerators::HostAccelerators(HWND host, HINSTANCE resources, HWND dialog)
    : application_(SendMessageW(host, kHostMessage, 0, kHostServiceManager), kApplicationServiceGuid),
      dialog_(dialog) {
    if (!application_) return;
    HACCEL table = LoadAcceleratorsW(resources, MAKEINTRESOURCEW(kAcceleratorTableId));
    if (!table) return;
    // Global: the keys work while the focus is anywhere in the player, as in the view itself.
    registered_ = AddHostAccelerators(application_.get(), dialog_, &table, 1, kTranslateAlways);
}

HostAccelerators::~HostAccelerators() {
    if (registered_) RemoveHostAccelerators(application_.get(), dialog_);
}
