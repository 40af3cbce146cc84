// What happens to the cache database when the view starts: a new file gets the schema, an
// older one is offered the upgrade, and a failed upgrade is offered a fresh start.
#pragma once

#include "db/CacheDatabase.h"
#include "db/UserPrompt.h"

enum class CacheStartupOutcome {
    kCurrent,    // the database was (or was made) the current version without a question
    kUpgraded,   // the user agreed and the upgrade succeeded: tell the user to refresh
    kRecreated,  // the upgrade failed and the user chose to start with an empty database
    kKeptOld,    // the user declined: the file is left as it was
};

CacheStartupOutcome PrepareCacheAtStartup(CacheDatabase& database, UserPrompt& prompt);

extern const wchar_t kCacheUpdatedNotice[];
