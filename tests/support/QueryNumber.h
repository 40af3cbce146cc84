// The one number a test's query of the cache answers (a count, a stored value).
#pragma once

#include <string>

class CacheDatabase;

// The first column of the first row, or -1 when the query fails or answers no row.
long long QueryNumber(CacheDatabase& database, const std::wstring& sql);
