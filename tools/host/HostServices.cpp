// The service manager request and the host's one set of service objects. The player would
// crash or keep translating for a dead window if a plugin kept what it obtained past Quit;
// this host says so instead.
#include "HostServices.h"

#include "HostApp.h"
#include "HostOutput.h"
#include "HostServiceObjects.h"

namespace {

standin::HostServiceSet& Services() {
    static standin::HostServiceSet services;
    return services;
}

}  // namespace

bool TranslateRegisteredAccelerators(MSG& msg) { return Services().application.Translate(msg); }

LRESULT OnServiceManager(WPARAM) {
    if (!Host().options.services) return 0;
    return reinterpret_cast<LRESULT>(static_cast<standin::Dispatchable*>(&Services().manager));
}

bool ReportServicesLeft() {
    bool clean = true;
    for (int i = 0; i < Services().applicationFactory.Outstanding(); ++i) {
        OutputLine(L"host: service interface not released");
        clean = false;
    }
    if (!Services().application.RegisteredWindows().empty()) {
        OutputLine(L"host: accelerators still registered after quit");
        clean = false;
    }
    for (int i = Services().application.TablesLeft(); i > 0; --i) {
        OutputLine(L"host: accelerator table not destroyed after quit");
        clean = false;
    }
    return clean;
}
