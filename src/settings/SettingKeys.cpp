// The table of settings keys. Key names are part of the file users already have on disk and
// are kept letter for letter, misspellings included.
#include "settings/SettingKeys.h"

namespace settings {
namespace {

constexpr wchar_t kGeneral[] = L"General";
constexpr wchar_t kWindow[] = L"Window";
constexpr wchar_t kList[] = L"List";
constexpr wchar_t kTree[] = L"Tree";

constexpr SettingKey Flag(const wchar_t* section, const wchar_t* key, int byDefault) {
    return {section, key, SettingType::kFlag, byDefault, L"", 0};
}
constexpr SettingKey Integer(const wchar_t* section, const wchar_t* key, int byDefault) {
    return {section, key, SettingType::kInteger, byDefault, L"", 0};
}
constexpr SettingKey Text(const wchar_t* section, const wchar_t* key, const wchar_t* byDefault,
                          int bufferLength) {
    return {section, key, SettingType::kText, 0, byDefault, bufferLength};
}

}  // namespace

const SettingKey kLanguage = Text(kGeneral, L"Language", L"", 260);
const SettingKey kFileTypes = Text(kGeneral, L"File types", L"", 2048);
const SettingKey kMainViewFileTypes = Text(kGeneral, L"File types", L"mp3;", 1024);
const SettingKey kSort = Integer(kGeneral, L"Sort", 1);
const SettingKey kAutoRefresh = Flag(kGeneral, L"Auto-refresh", 1);
const SettingKey kAutoRefreshWait = Integer(kGeneral, L"Auto-refresh wait", 2);
const SettingKey kRememberSearch = Flag(kGeneral, L"Remember search", 0);
// The search box holds at most 254 characters.
const SettingKey kLastSearch = Text(kGeneral, L"Last search", L"", 255);
const SettingKey kSearchFromTop = Flag(kGeneral, L"Search from top", 0);
const SettingKey kLimitSearch = Flag(kGeneral, L"Limit search", 0);
const SettingKey kEmptyOnChange = Flag(kGeneral, L"Empty on change", 0);
const SettingKey kStripAccents = Flag(kGeneral, L"Strip accents", 0);
const SettingKey kCompatibilityMode = Flag(kGeneral, L"Compability mode", 0);
const SettingKey kSkipLeadingThe = Flag(kGeneral, L"Skip leading the", 0);
const SettingKey kSkipLeadingSpaces = Flag(kGeneral, L"Skip leading spaces", 0);
const SettingKey kHideEmptyFiles = Flag(kGeneral, L"Hide empty files", 0);
const SettingKey kHideKbps = Flag(kGeneral, L"Hide kbps", 0);
const SettingKey kShowQueryTimes = Flag(kGeneral, L"Show query times", 0);
const SettingKey kAddFilesMlWay = Flag(kGeneral, L"Add files ML-way", 0);
const SettingKey kBlockDuplicates = Flag(kGeneral, L"Block duplicates", 0);
const SettingKey kForceShuffleOff = Flag(kGeneral, L"Force shuffle off", 0);
const SettingKey kShowDelete = Flag(kGeneral, L"Show delete", 0);
const SettingKey kReplaceUnderscore = Flag(kGeneral, L"Replace underscore", 0);
const SettingKey kDisplayTreePlaylists = Flag(kGeneral, L"Display tree playlists", 0);
const SettingKey kUnfoldRoots = Flag(kGeneral, L"Unfold roots", 0);
const SettingKey kScanFiles = Flag(kGeneral, L"Scan files", 1);
const SettingKey kAutosavePlaylists = Flag(kGeneral, L"Autosave playlists on shutdown", 0);
const SettingKey kRememberLastFolder = Flag(kGeneral, L"Remember last selected folder", 0);
const SettingKey kDisableTagReading = Flag(kGeneral, L"Disable tag reading", 0);
const SettingKey kForceDragDropAction = Integer(kGeneral, L"Force drag/drop action", 3);
const SettingKey kUseCustomFont = Flag(kGeneral, L"Use custom font", 0);
const SettingKey kFontName = Text(kGeneral, L"Font name", L"Arial", 255);
const SettingKey kFontSize = Integer(kGeneral, L"Font size", 12);
const SettingKey kDisableEnterKey = Flag(kGeneral, L"Disable ENTER-key", 0);

const SettingKey kWindowLeft = Integer(kWindow, L"Left", 100);
const SettingKey kWindowTop = Integer(kWindow, L"Top", 100);
const SettingKey kWindowRight = Integer(kWindow, L"Right", 200);
const SettingKey kWindowBottom = Integer(kWindow, L"Bottom", 200);
const SettingKey kWindowVisible = Flag(kWindow, L"Visible", 0);
const SettingKey kWindowDivider = Integer(kWindow, L"Divider", 100);
const SettingKey kWindowStuck = Integer(kWindow, L"Stuck", 0);

const SettingKey kListDoubleClick = Integer(kList, L"Double-click", 1);
const SettingKey kListNumWidth = Integer(kList, L"Num", 20);
const SettingKey kListColumnWidths[kListColumnCount - 1] = {
    Integer(kList, L"Title", 100),
    Integer(kList, L"Artist", 100),
    Integer(kList, L"Album", 100),
    Integer(kList, L"Genre", 100),
    Integer(kList, L"Comment", 100),
    Integer(kList, L"Track #", 100),
    Integer(kList, L"Year", 100),
    Integer(kList, L"Length", 100),
    Integer(kList, L"Bitrate", 100),
    Integer(kList, L"Playcount", 100),
    Integer(kList, L"Last changed", 100),
    Integer(kList, L"Filesize", 100),
    Integer(kList, L"Path", 100),
    Integer(kList, L"Filename", 100),
};
// Absent, the columns keep their natural order, written in the form the list itself writes.
const SettingKey kListColumnOrder =
    Text(kList, L"Column order", L"0;1;2;3;4;5;6;7;8;9;10;11;12;13;14;", 255);
const SettingKey kListSortOrder = Flag(kList, L"Sort order", 1);
const SettingKey kListStripeShade = Integer(kList, L"Stripe shade", 100);

const SettingKey kTreeDoubleClick = Integer(kTree, L"Double-click", 0);
const SettingKey kTreeFolder = Text(kTree, L"Folder", L"", 255);

}  // namespace settings
