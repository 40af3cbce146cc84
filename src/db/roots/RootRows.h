// Every statement on the Roots table, and the one that hands a new root its top folder row.
#pragma once

#include <optional>
#include <string>
#include <vector>

class CacheDatabase;

struct RootRow {
    long long rootId = 0;
    int type = 0;
    int autoload = 0;
    std::optional<std::wstring> path;
    std::optional<std::wstring> name;
};

// In root order.
std::vector<RootRow> ReadRootRows(CacheDatabase& database);
// Answers the new rootid; the new root is ordered after every row stored so far.
long long InsertRootRow(CacheDatabase& database, int type, bool autoload, const std::wstring& path,
                        const std::optional<std::wstring>& name);
// Deletes the root's files, its folders and its row.
void DeleteRootRows(CacheDatabase& database, long long rootId);
void SetRootOrder(CacheDatabase& database, long long rootId, int order);
void SetRootAutoload(CacheDatabase& database, long long rootId, bool autoload);
void SetRootName(CacheDatabase& database, long long rootId, const std::optional<std::wstring>& name);
void SetRootPath(CacheDatabase& database, long long rootId, const std::optional<std::wstring>& path);
void AttachTopFolder(CacheDatabase& database, long long rootId, int folderId);
