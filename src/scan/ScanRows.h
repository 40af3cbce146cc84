// The statements the scan and the change notices run on Folder and Files rows. Each takes the
// database lock for itself; a caller that needs two of them to see the same state holds it
// around both.
#pragma once

#include <optional>
#include <string>
#include <vector>

class CacheDatabase;

struct StoredFile {
    long long fileId = 0;
    long long changed = 0;
    int folderId = 0;
    std::wstring name;
};

class StoredFolderFiles;

struct StoredFolder {
    std::wstring path;
    int folderId = 0;
    int parentId = 0;
    unsigned attributes = 0;
};

// The files stored under one folder row.
StoredFolderFiles FilesOfFolder(CacheDatabase& database, int folderId);
// The rows of the folder stored under this name in any case, the exact spelling first. Only
// rows of the name's length are read, so a notice in a large folder stays cheap.
std::vector<StoredFile> FindFileRows(CacheDatabase& database, int folderId, const std::wstring& name);
// Gives the row the name as the disk now spells it; tags and play count stay.
void RenameFileRow(CacheDatabase& database, long long fileId, const std::wstring& name);
void DeleteFileRowById(CacheDatabase& database, long long fileId);
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
