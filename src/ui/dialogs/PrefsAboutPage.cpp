// The About page: the plugin's version, the SQLite library it runs on, and the command that
// cleans the cache of files that are gone.
#include <sqlite3.h>

#include <string>

#include "StringIds.h"
#include "Version.h"
#include "bus/ViewCommands.h"
#include "settings/PluginContext.h"
#include "ui/dialogs/PrefsPageControls.h"
#include "ui/dialogs/PrefsPages.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

enum AboutControl : int {
    kAboutGroup = 1087,
    kVersionLabel = 1088,
    kSqliteLabel = 1065,
    kMaintenanceGroup = 1113,
    kCleanButton = 1030,
};

constexpr wchar_t kProductVersion[] = L"Crateview " CV_VERSION_WITH_BUILD_WIDE_TEXT;

const Caption kCaptions[] = {
    {kMaintenanceGroup, kStrPrefsMaintenanceGroup},
    {kCleanButton, kStrPrefsCleanDatabase},
};

BOOL OnInitDialog(HWND page) {
    PlaceInTab(page);
    SetCaptions(page, kCaptions, CountOf(kCaptions));
    SetDlgItemTextW(page, kAboutGroup, L"About");
    SetDlgItemTextW(page, kVersionLabel, kProductVersion);
    std::string sqlite = std::string("Powered by SQLite v") + sqlite3_libversion();
    SetDlgItemTextA(page, kSqliteLabel, sqlite.c_str());
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK AboutPageProc(HWND page, UINT message, WPARAM wp, LPARAM) {
    try {
        switch (message) {
            case WM_INITDIALOG: return OnInitDialog(page);
            case WM_COMMAND:
                // The view warns before it cleans, so the click itself asks nothing.
                if (LOWORD(wp) == kCleanButton && HIWORD(wp) == BN_CLICKED) PostToView(kCmdCleanDatabase);
                return TRUE;
        }
    } catch (...) {
    }
    return FALSE;
}
