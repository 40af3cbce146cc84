// Every section and key of the settings file with its type, buffer length and default: the
// one place that knows them.
#pragma once

enum class SettingType { kFlag, kInteger, kText };

struct SettingKey {
    const wchar_t* section;
    const wchar_t* key;
    SettingType type;
    int intDefault;             // flags and integers
    const wchar_t* textDefault; // text
    int bufferLength;           // text: characters read, terminator included
};

namespace settings {

// The list and the tree store their double-click command as its offset from this first play
// command ("Play"), so a stored 0 means "Play" and 1 "Enqueue and play".
constexpr int kDoubleClickCommandBase = 3010;
// The double-click actions a user can choose: play, enqueue and play, enqueue, enqueue after
// the current entry. A stored value outside them (edited by hand) is no action of its own.
constexpr int kLastDoubleClickCommand = 3013;
constexpr bool IsDoubleClickCommand(int command) {
    return command >= kDoubleClickCommandBase && command <= kLastDoubleClickCommand;
}

// [General]
extern const SettingKey kLanguage;
// The preferences page reads the whole value and shows nothing when it is missing.
extern const SettingKey kFileTypes;
// The main view reads a shorter buffer and lists mp3 files until the user chooses otherwise.
extern const SettingKey kMainViewFileTypes;
extern const SettingKey kSort;
extern const SettingKey kAutoRefresh;
extern const SettingKey kAutoRefreshWait;
extern const SettingKey kRememberSearch;
extern const SettingKey kLastSearch;
extern const SettingKey kSearchFromTop;
extern const SettingKey kLimitSearch;
extern const SettingKey kEmptyOnChange;
extern const SettingKey kStripAccents;
extern const SettingKey kCompatibilityMode;
extern const SettingKey kSkipLeadingThe;
extern const SettingKey kSkipLeadingSpaces;
extern const SettingKey kHideEmptyFiles;
extern const SettingKey kHideKbps;
extern const SettingKey kShowQueryTimes;
extern const SettingKey kAddFilesMlWay;
extern const SettingKey kBlockDuplicates;
extern const SettingKey kForceShuffleOff;
extern const SettingKey kShowDelete;
extern const SettingKey kReplaceUnderscore;
extern const SettingKey kDisplayTreePlaylists;
extern const SettingKey kUnfoldRoots;
extern const SettingKey kScanFiles;
extern const SettingKey kAutosavePlaylists;
extern const SettingKey kRememberLastFolder;
extern const SettingKey kDisableTagReading;
extern const SettingKey kForceDragDropAction;
extern const SettingKey kUseCustomFont;
extern const SettingKey kFontName;
extern const SettingKey kFontSize;
extern const SettingKey kDisableEnterKey;

// [Window]
extern const SettingKey kWindowLeft;
extern const SettingKey kWindowTop;
extern const SettingKey kWindowRight;
extern const SettingKey kWindowBottom;
extern const SettingKey kWindowVisible;
extern const SettingKey kWindowDivider;
extern const SettingKey kWindowStuck;

// [List]
constexpr int kListColumnCount = 15;
extern const SettingKey kListDoubleClick;
// Width of the row-number column, column 0.
extern const SettingKey kListNumWidth;
// Widths of columns 1-14 ("Title" to "Filename"), in column order.
extern const SettingKey kListColumnWidths[kListColumnCount - 1];
extern const SettingKey kListColumnOrder;
extern const SettingKey kListSortOrder;
extern const SettingKey kListStripeShade;

// [Tree]
extern const SettingKey kTreeDoubleClick;
extern const SettingKey kTreeFolder;

}  // namespace settings
