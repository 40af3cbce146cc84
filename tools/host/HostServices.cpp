// The service manager request. Accelerator tables stay the plugin's: the host only keeps the
// handles for the window they were registered for, until the plugin removes them.
#include "HostServices.h"

#include <vector>

#include "HostApp.h"
#include "host/HostApi.h"

namespace {

struct Registration {
    HWND window;
    std::vector<HACCEL> tables;
};

std::vector<Registration> registrations;

class ApplicationService final : public HostApplicationService {
public:
    void AddAccelerators(HWND window, HACCEL* tables, int count, int) override {
        RemoveAccelerators(window);
        Registration added{window, {}};
        for (int i = 0; tables && i < count; ++i)
            if (tables[i]) added.tables.push_back(tables[i]);
        registrations.push_back(added);
    }
    void RemoveAccelerators(HWND window) override {
        for (auto it = registrations.begin(); it != registrations.end();) {
            if (it->window == window) it = registrations.erase(it);
            else ++it;
        }
    }
};

class ServiceManager final : public HostServiceManager {
public:
    void* GetService(const GUID& id) override {
        return IsEqualGUID(id, kApplicationServiceGuid) ? static_cast<HostApplicationService*>(&application)
                                                        : nullptr;
    }

private:
    ApplicationService application;
};

ServiceManager serviceManager;

bool Covers(HWND registered, HWND target) {
    return target == registered || IsChild(registered, target);
}

}  // namespace

bool TranslateRegisteredAccelerators(MSG& msg) {
    if (!msg.hwnd || msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    // A copy: translating runs the plugin's command, which may register or remove tables.
    std::vector<Registration> current = registrations;
    for (const Registration& r : current) {
        if (!IsWindow(r.window) || !Covers(r.window, msg.hwnd)) continue;
        for (HACCEL table : r.tables)
            if (TranslateAcceleratorW(r.window, table, &msg)) return true;
    }
    return false;
}

LRESULT OnServiceManager(WPARAM) {
    if (!Host().options.services) return 0;
    return reinterpret_cast<LRESULT>(static_cast<HostServiceManager*>(&serviceManager));
}
