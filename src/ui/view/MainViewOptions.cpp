// The option codes of the command bus: a table of get and set codes per option, with what a
// change must set off (a rebuilt query filter, a work item, a refresh), and the custom font
// and the language pack, which the preferences set and read.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "db/CacheDatabase.h"
#include "host/HostApi.h"
#include "scan/ScanWorker.h"
#include "settings/PluginContext.h"
#include "StringIds.h"
#include "ui/view/FileListView.h"
#include "ui/view/MainView.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

enum class After { kNothing, kStripAccents, kLimitSearch, kHideEmpty, kCompatibility, kSearchFromTop,
                   kTreePlaylists, kRepaintRows, kFont };

struct FlagOption {
    WPARAM getCode;
    WPARAM setCode;
    bool MainViewOptions::*member;
    bool getInverted;  // the get code answers the opposite of the stored option
    bool setInverted;  // the set code's argument is the opposite of the stored option
    After after;
};

const FlagOption kFlagOptions[] = {
    {kOptGetUnfoldRoots, kOptSetUnfoldRoots, &MainViewOptions::unfoldRoots, false, false, After::kNothing},
    {kOptGetCompatibility, kOptSetCompatibility, &MainViewOptions::compatibilityMode, false, false, After::kCompatibility},
    {kOptGetSearchFromTop, kOptSetSearchFromTop, &MainViewOptions::searchFromTop, false, false, After::kSearchFromTop},
    {kOptGetEmptyOnChange, kOptSetEmptyOnChange, &MainViewOptions::emptyOnChange, false, false, After::kNothing},
    {kOptGetAutoRefresh, kOptSetAutoRefresh, &MainViewOptions::autoRefresh, false, false, After::kNothing},
    {kOptGetSkipLeadingThe, kOptSetSkipLeadingThe, &MainViewOptions::skipLeadingThe, false, false, After::kNothing},
    {kOptGetRememberSearch, kOptSetRememberSearch, &MainViewOptions::rememberSearch, false, false, After::kNothing},
    {kOptGetBlockDuplicates, kOptSetBlockDuplicates, &MainViewOptions::blockDuplicates, false, false, After::kNothing},
    {kOptGetStripAccents, kOptSetStripAccents, &MainViewOptions::stripAccents, false, false, After::kStripAccents},
    {kOptGetUseCustomFont, kOptSetUseCustomFont, &MainViewOptions::useCustomFont, false, false, After::kFont},
    {kOptGetLimitSearch, kOptSetLimitSearch, &MainViewOptions::limitSearch, false, false, After::kLimitSearch},
    {kOptGetForceShuffleOff, kOptSetForceShuffleOff, &MainViewOptions::forceShuffleOff, false, false, After::kNothing},
    {kOptGetShowEmptyFiles, kOptSetHideEmptyFiles, &MainViewOptions::hideEmptyFiles, true, false, After::kHideEmpty},
    {kOptGetSkipLeadingSpaces, kOptSetSkipLeadingSpaces, &MainViewOptions::skipLeadingSpaces, false, false, After::kNothing},
    {kOptGetReplaceUnderscore, kOptSetReplaceUnderscore, &MainViewOptions::replaceUnderscore, false, false, After::kNothing},
    {kOptGetAutosavePlaylists, kOptSetAutosavePlaylists, &MainViewOptions::autosavePlaylists, false, false, After::kNothing},
    {kOptGetNoScanOnStartUp, kOptSetNoScanOnStartUp, &MainViewOptions::scanFiles, true, true, After::kNothing},
    {kOptGetShowDelete, kOptSetShowDelete, &MainViewOptions::showDelete, false, false, After::kNothing},
    {kOptGetTreePlaylists, kOptSetTreePlaylists, &MainViewOptions::displayTreePlaylists, false, false, After::kTreePlaylists},
    {kOptGetRememberLastFolder, kOptSetRememberLastFolder, &MainViewOptions::rememberLastFolder, false, false, After::kNothing},
    {kOptGetDisableTagReading, kOptSetDisableTagReading, &MainViewOptions::disableTagReading, false, false, After::kNothing},
};

struct NumberOption {
    WPARAM getCode;
    WPARAM setCode;
    int MainViewOptions::*member;
    After after;
};

const NumberOption kNumberOptions[] = {
    {kOptGetAutoRefreshWait, kOptSetAutoRefreshWait, &MainViewOptions::autoRefreshWait, After::kNothing},
    {kOptGetStripeShade, kOptSetStripeShade, &MainViewOptions::stripeShade, After::kRepaintRows},
};

}  // namespace

// A get code answers; a set code stores and then sets off what the option's change needs.
bool MainView::HandleOptionCode(WPARAM code, LPARAM argument, LRESULT& result) {
    After after = After::kNothing;
    bool found = false;
    for (const FlagOption& option : kFlagOptions) {
        if (code == option.getCode) {
            result = (options_.*option.member != option.getInverted) ? 1 : 0;
            return true;
        }
        if (code == option.setCode) {
            options_.*option.member = (argument != 0) != option.setInverted;
            after = option.after;
            found = true;
            break;
        }
    }
    for (const NumberOption& option : kNumberOptions) {
        if (found) break;
        if (code == option.getCode) {
            result = options_.*option.member;
            return true;
        }
        if (code == option.setCode) {
            options_.*option.member = static_cast<int>(argument);
            after = option.after;
            found = true;
        }
    }
    if (!found) return false;

    switch (after) {
        case After::kStripAccents:
            RebuildQueryFilter();
            PostWork(kWorkSetStripAccents, 0, ListingOptionBits());
            break;
        case After::kLimitSearch:
            RebuildQueryFilter();
            PostWork(kWorkSetLimitSearch, 0, ListingOptionBits());
            PostMessageW(dialog_, kCommandMessage, kCmdRefreshList, 0);
            break;
        case After::kHideEmpty:
            RebuildQueryFilter();
            PostWork(kWorkSetHideEmpty, 0, ListingOptionBits());
            break;
        case After::kCompatibility:
            PostWork(kWorkSetCompatibility, 0, options_.compatibilityMode ? 1 : 0);
            PostMessageW(dialog_, kCommandMessage, kCmdRefreshList, 0);
            break;
        case After::kSearchFromTop:
            SetTimer(dialog_, kRefreshTimer, 250, nullptr);
            PostWork(kWorkSetSearchFromTop, 0, options_.searchFromTop ? 1 : 0);
            break;
        case After::kTreePlaylists: PostWork(kWorkSetTreePlaylists, 0, options_.displayTreePlaylists ? 1 : 0); break;
        // The whole client: the rows shown may be any, not those from the top.
        case After::kRepaintRows: InvalidateRect(GetDlgItem(dialog_, kListControl), nullptr, FALSE); break;
        case After::kFont: ApplyFont(); break;
        case After::kNothing: break;
    }
    result = 0;
    return true;
}

// The preferences hand a font record made with new; the view takes it over whole, so the
// weight and slant the user chose show at once. The settings keep the face and the height.
LRESULT MainView::OnSetFont(LPARAM lp) {
    std::unique_ptr<LOGFONTW> description(reinterpret_cast<LOGFONTW*>(lp));
    if (!description) return TRUE;
    description->lfCharSet = DEFAULT_CHARSET;
    description->lfFaceName[LF_FACESIZE - 1] = L'\0';
    fontDescription_ = *description;
    options_.fontName = description->lfFaceName;
    options_.fontSize = description->lfHeight;
    if (options_.useCustomFont) ApplyFont();
    return TRUE;
}

// 1: the height; 0: a text object with the face name, one reference for the asker.
LRESULT MainView::OnGetFont(LPARAM lp) {
    if (lp == 1) return Answer(options_.fontSize);
    return Answer(PassText(options_.fontName));
}

// A new pack is used from the next start; the user may restart the player now.
LRESULT MainView::OnSetLanguage(LPARAM lp) {
    Ref<TextObject> pack = AdoptText(lp);
    options_.language = pack ? pack->text : std::wstring();
    if (MessageBoxW(nullptr, GetString(kStrMsgRestartHost), L"Information",
                    MB_YESNO | MB_TOPMOST | MB_ICONINFORMATION) == IDYES)
        PostMessageW(host_, kHostMessage, 0, kHostRestart);
    return TRUE;
}

LRESULT MainView::OnGetLanguage(LPARAM) { return Answer(PassText(options_.language)); }
