// The start-up check of the cache database's schema version, with the user's two questions.
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
}  // namespace

CacheStartupOutcome PrepareCacheAtStartup(CacheDatabase& database, UserPrompt& prompt) {
    database.CreateSchema();
    if (database.IsCurrentVersion() || !database.FileExists()) return CacheStartupOutcome::kCurrent;
    if (!prompt.AskYesNo(kCaption, kOfferUpgrade)) return CacheStartupOutcome::kKeptOld;
    if (database.Upgrade()) return CacheStartupOutcome::kUpgraded;
    if (!prompt.AskYesNo(kCaption, kOfferRemoval)) return CacheStartupOutcome::kKeptOld;
    database.DeleteAndRecreate();
    return CacheStartupOutcome::kRecreated;
}
