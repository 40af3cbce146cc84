// The options the main view reads from the settings file when it is built and writes back when
// it is released; the preferences change them in memory in between.
#pragma once

#include <string>

#include "settings/SettingsFile.h"

struct MainViewOptions {
    // [General]
    int sortKey = 0;
    bool compatibilityMode = false;
    bool searchFromTop = false;
    bool emptyOnChange = false;
    bool forceShuffleOff = false;
    bool scanFiles = false;
    bool rememberSearch = false;
    std::wstring lastSearch;  // loaded only when rememberSearch is set; the search box saves it
    bool unfoldRoots = false;
    bool autoRefresh = false;
    int autoRefreshWait = 0;  // seconds
    bool blockDuplicates = false;
    bool stripAccents = false;
    std::wstring fontName;
    int fontSize = 0;  // logical units
    bool useCustomFont = false;
    bool limitSearch = false;
    bool hideEmptyFiles = false;
    bool skipLeadingThe = false;
    bool skipLeadingSpaces = false;
    bool replaceUnderscore = false;
    bool autosavePlaylists = false;
    bool showDelete = false;
    bool rememberLastFolder = false;
    bool disableTagReading = false;
    bool displayTreePlaylists = false;
    int forceDragDropAction = 0;
    std::wstring language;  // language pack path; empty for English
    // Read only: no page offers them, so the file keeps whatever the user typed into it.
    bool hideKbps = false;
    bool showQueryTimes = false;
    bool addFilesMlWay = false;

    // [Window]
    int divider = 0;  // pixels
    int stuck = 0;    // 0 both panes, 1 tree collapsed, 2 list collapsed

    // [List]
    bool listSortOrder = false;
    int stripeShade = 0;

    void Load(const SettingsFile& file);
    // Writes every option except the last search text and the read-only ones, always in the
    // same order.
    void Save(const SettingsFile& file) const;
};
