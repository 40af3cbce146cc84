// The module's only export, through which the host finds the plugin record.
#include "host/PluginRecord.h"

extern "C" __declspec(dllexport) PluginRecord* __cdecl winampGetGeneralPurposePlugin() {
    return ThePluginRecord();
}
