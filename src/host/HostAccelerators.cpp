// Registering the accelerator table with the host's application service.
#include "host/HostAccelerators.h"

#include <vector>

#include "host/HostApi.h"

namespace {

// A table of our own making, copied from the resource's: a loaded table may not be destroyed,
// so only a table of our own leaves nothing behind at Quit. Every key is marked not to flash
// the host's menu bar, which would otherwise light up for the view's keys.
HACCEL CopyOwnTable(HINSTANCE resources) {
    HACCEL loaded = LoadAcceleratorsW(resources, MAKEINTRESOURCEW(kAcceleratorTableId));
    if (!loaded) return nullptr;
    int count = CopyAcceleratorTableW(loaded, nullptr, 0);
    if (count <= 0) return nullptr;
    std::vector<ACCEL> entries(static_cast<size_t>(count));
    CopyAcceleratorTableW(loaded, entries.data(), count);
    for (ACCEL& entry : entries) entry.fVirt |= FNOINVERT;
    return CreateAcceleratorTableW(entries.data(), count);
}

}  // namespace

HostAccelerators::HostAccelerators(HWND host, HINSTANCE resources, HWND dialog)
    : application_(SendMessageW(host, kHostMessage, 0, kHostServiceManager), kApplicationServiceGuid),
      dialog_(dialog) {
    if (!application_) return;
    table_.Reset(CopyOwnTable(resources));
    if (!table_) return;
    HACCEL table = table_.get();
    // Global: the keys work while the focus is anywhere in the player, as in the view itself.
    registered_ = AddHostAccelerators(application_.get(), dialog_, &table, 1, kTranslateAlways);
}

// The host lets go of the table before it is destroyed: the member goes after this body.
HostAccelerators::~HostAccelerators() {
    if (registered_) RemoveHostAccelerators(application_.get(), dialog_);
}
