// Loading and saving the main view's options through one table of keys and members.
#include "settings/MainViewOptions.h"

#include "settings/SettingKeys.h"

namespace {

using Options = MainViewOptions;

// One option: its key and the member that holds it; exactly one member pointer is set, the
// one matching the key's type.
struct Field {
    const SettingKey* key;
    bool Options::*flag;
    int Options::*integer;
    std::wstring Options::*text;
};

constexpr Field Flag(const SettingKey& key, bool Options::*member) {
    return {&key, member, nullptr, nullptr};
}
constexpr Field Integer(const SettingKey& key, int Options::*member) {
    return {&key, nullptr, member, nullptr};
}
constexpr Field Text(const SettingKey& key, std::wstring Options::*member) {
    return {&key, nullptr, nullptr, member};
}

// The saved options in the order they are written; a file written from scratch lists its keys
// in this order, so keep it stable when adding options.
const Field kSaved[] = {
    Integer(settings::kSort, &Options::sortKey),
    Flag(settings::kCompatibilityMode, &Options::compatibilityMode),
    Integer(settings::kWindowDivider, &Options::divider),
    Flag(settings::kSearchFromTop, &Options::searchFromTop),
    Flag(settings::kEmptyOnChange, &Options::emptyOnChange),
    Integer(settings::kListStripeShade, &Options::stripeShade),
    Flag(settings::kForceShuffleOff, &Options::forceShuffleOff),
    Flag(settings::kScanFiles, &Options::scanFiles),
    Flag(settings::kListSortOrder, &Options::listSortOrder),
    Flag(settings::kRememberSearch, &Options::rememberSearch),
    Integer(settings::kWindowStuck, &Options::stuck),
    Flag(settings::kUnfoldRoots, &Options::unfoldRoots),
    Flag(settings::kAutoRefresh, &Options::autoRefresh),
    Integer(settings::kAutoRefreshWait, &Options::autoRefreshWait),
    Flag(settings::kBlockDuplicates, &Options::blockDuplicates),
    Flag(settings::kStripAccents, &Options::stripAccents),
    Text(settings::kFontName, &Options::fontName),
    Integer(settings::kFontSize, &Options::fontSize),
    Flag(settings::kUseCustomFont, &Options::useCustomFont),
    Flag(settings::kLimitSearch, &Options::limitSearch),
    Flag(settings::kHideEmptyFiles, &Options::hideEmptyFiles),
    Flag(settings::kSkipLeadingThe, &Options::skipLeadingThe),
    Flag(settings::kSkipLeadingSpaces, &Options::skipLeadingSpaces),
    Flag(settings::kReplaceUnderscore, &Options::replaceUnderscore),
    Flag(settings::kAutosavePlaylists, &Options::autosavePlaylists),
    Flag(settings::kShowDelete, &Options::showDelete),
    Flag(settings::kRememberLastFolder, &Options::rememberLastFolder),
    Flag(settings::kDisableTagReading, &Options::disableTagReading),
    Flag(settings::kDisplayTreePlaylists, &Options::displayTreePlaylists),
    Integer(settings::kForceDragDropAction, &Options::forceDragDropAction),
    Text(settings::kLanguage, &Options::language),
};

const Field kReadOnly[] = {
    Flag(settings::kHideKbps, &Options::hideKbps),
    Flag(settings::kShowQueryTimes, &Options::showQueryTimes),
    Flag(settings::kAddFilesMlWay, &Options::addFilesMlWay),
};

void LoadField(const SettingsFile& file, const Field& field, Options& options) {
    if (field.flag) options.*field.flag = file.ReadFlag(*field.key);
    else if (field.integer) options.*field.integer = file.ReadInt(*field.key);
    else options.*field.text = file.ReadText(*field.key);
}

void SaveField(const SettingsFile& file, const Field& field, const Options& options) {
    if (field.flag) file.WriteFlag(*field.key, options.*field.flag);
    else if (field.integer) file.WriteInt(*field.key, options.*field.integer);
    else file.WriteText(*field.key, options.*field.text);
}

}  // namespace

void MainViewOptions::Load(const SettingsFile& file) {
    for (const Field& field : kSaved) LoadField(file, field, *this);
    for (const Field& field : kReadOnly) LoadField(file, field, *this);
    // The search box writes its text at every close; only this option decides whether the
    // next start shows it again.
    lastSearch = rememberSearch ? file.ReadText(settings::kLastSearch) : std::wstring();
}

void MainViewOptions::Save(const SettingsFile& file) const {
    for (const Field& field : kSaved) SaveField(file, field, *this);
}
