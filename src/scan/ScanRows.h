// The statements the scan and the change notices run on Folder and Files rows. Each takes the
// database lock for itself; a caller that needs two of them to see the same state holds it
// around both.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class CacheDatabase;

struct StoredFile {
    long long fileId = 0;
    long long changed = 0;
    int folderId = 0;
};

struct StoredFolder {
    std::wstring path;
    int folderId = 0;
    int parentId = 0;
    unsigned attributes = 0;
};

// The files stored under one folder row, by their exact names (names compare as the lookup
// by name does, case and all); of two rows with one name the first stored wins.
std::unordered_map<std::wstring, StoredFile> FilesOfFolder(CacheDatabase& database, int folderId);
// By the folder's path (with its backslash) and the file name.
std::optional<StoredFile> FindFile(CacheDatabase& database, const std::wstring& folderPath,
                                   const std::wstring& name);
// Stored present, with its tags unread; the extension is stored lower-case.
void InsertFile(CacheDatabase& database, const std::wstring& name, int folderId, const std::wstring& extension,
                long long size, long long changed);
void MarkFilePresent(CacheDatabase& database, long long fileId);
int StoredPlayCount(CacheDatabase& database, long long fileId);
void DeleteFileByName(CacheDatabase& database, const std::wstring& folderPath, const std::wstring& name);
// Every file of the cache counts as gone until a scan meets it again.
void MarkAllFilesGone(CacheDatabase& database);

std::optional<StoredFolder> FindFolderByPath(CacheDatabase& database, const std::wstring& path);
// The present folders of a root below its top folder, in the order they were stored.
std::vector<StoredFolder> FolderTreeRows(CacheDatabase& database, long long rootId, const std::wstring& rootPath);
// Full paths of the files in the folder and in every folder below it.
std::vector<std::wstring> FilesUnderFolder(CacheDatabase& database, const std::wstring& folderPath);
// Deletes the rows of the folder, of every folder below it and of all their files.
void DeleteFolderSubtree(CacheDatabase& database, const std::wstring& folderPath);
