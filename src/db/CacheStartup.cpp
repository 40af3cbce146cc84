// The start-up check of the cache database: its health, then its schema version, with the
// user's questions.
#include "db/CacheStartup.h"

const wchar_t kCacheUpdatedNotice[] =
    L"The database has been updated. Press F5 to refresh the database with new data.";

namespace {
const wchar_t kCaption[] = L"Confirmation";
const wchar_t kOfferUpgrade[] =
    L"The database detected is too old for this version of Crateview.\nAttempt to update it?";
const wchar_t kOfferRemoval[] =
    L"There were errors during the update. It is advised that you remove the old database and "
    L"start over. Do you want to remove the database?";

const wchar_t kWarningCaption[] = L"Warning";
const wchar_t kDamaged[] = L"The Crateview library cache is damaged and cannot be used:\n";
const wchar_t kNewer[] =
    L"The Crateview library cache was made by a newer version of Crateview, which this version cannot use:\n";
const wchar_t kOfferSetAside[] =
    L"\n\nSet it aside and build a new cache? Nothing is deleted: the old file is kept beside the new one "
    L"under another name. Your folders and playlists are added back where the old file still lists them, "
    L"and are scanned again.\n\nNo starts Crateview without its library this time and leaves the file untouched.";
const wchar_t kInUse[] =
    L"The Crateview library cache cannot be opened, perhaps because another program is using it:\n";
const wchar_t kOfferRetry[] =
    L"\n\nTry again?\n\nNo starts Crateview without its library this time and leaves the file untouched.";

// The user's answer to a file that must not be written as it is: set it aside, or leave it.
CacheStartupOutcome AskToSetAside(CacheDatabase& database, UserPrompt& prompt, const wchar_t* problem) {
    if (prompt.AskYesNo(kWarningCaption, problem + database.FilePath() + kOfferSetAside) &&
        database.SetAsideAndRecreate(true))
        return CacheStartupOutcome::kRecreated;
    database.Detach();
    return CacheStartupOutcome::kNoCache;
}

// Asked again for as long as the user wants to try and the file stays out of reach.
CacheHealth WaitWhileInUse(CacheDatabase& database, UserPrompt& prompt) {
    CacheHealth health = database.CheckHealth();
    while (health == CacheHealth::kInUse) {
        if (!prompt.AskYesNo(kWarningCaption, kInUse + database.FilePath() + kOfferRetry)) break;
        database.Reopen();
        health = database.CheckHealth();
    }
    return health;
}

}  // namespace

CacheStartupOutcome PrepareCacheAtStartup(CacheDatabase& database, UserPrompt& prompt) {
    switch (WaitWhileInUse(database, prompt)) {
        case CacheHealth::kInUse:
            database.Detach();
            return CacheStartupOutcome::kNoCache;
        case CacheHealth::kDamaged:
            return AskToSetAside(database, prompt, kDamaged);
        case CacheHealth::kNewer:
            return AskToSetAside(database, prompt, kNewer);
        case CacheHealth::kSound:
            break;
    }
    database.CreateSchema();
    if (database.IsCurrentVersion() || !database.FileExists()) return CacheStartupOutcome::kCurrent;
    if (!prompt.AskYesNo(kCaption, kOfferUpgrade)) return CacheStartupOutcome::kKeptOld;
    if (database.Upgrade()) return CacheStartupOutcome::kUpgraded;
    if (!prompt.AskYesNo(kCaption, kOfferRemoval)) return CacheStartupOutcome::kKeptOld;
    // Removed from use, not from the disk: the user may still want what it held.
    if (!database.SetAsideAndRecreate(false)) return CacheStartupOutcome::kKeptOld;
    return CacheStartupOutcome::kRecreated;
}
