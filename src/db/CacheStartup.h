// What happens to the cache database when the view starts: a damaged, locked or newer file is
// found before anything writes to it and the user chooses; a new file gets the schema, an
// older one is offered the upgrade, and a failed upgrade is offered a fresh start.
#pragma once

#include "db/CacheDatabase.h"
#include "db/UserPrompt.h"

enum class CacheStartupOutcome {
    kCurrent,    // the database was (or was made) the current version without a question
    kUpgraded,   // the user agreed and the upgrade succeeded: tell the user to refresh
    kRecreated,  // the user chose to start with an empty database; the old file was set aside
    kKeptOld,    // the user declined the upgrade: the file is left as it was and used
    kNoCache,    // the user declined to let a damaged, locked or newer file be touched: the
                 // plugin runs without a cache and the file stays byte for byte
};

CacheStartupOutcome PrepareCacheAtStartup(CacheDatabase& database, UserPrompt& prompt);

extern const wchar_t kCacheUpdatedNotice[];
