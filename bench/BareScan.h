// The floor of a scan: a bare recursive walk of a tree with FindFirstFileEx/FindNextFile, and a
// bare insert of the same rows through two prepared statements in one transaction, into the
// cache's own schema with its indexes.
#pragma once

#include <windows.h>
#include <sqlite3.h>

#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "base/Text.h"

namespace bare {

inline const char* const kSchema[] = {
    "CREATE TABLE Files (fileid INTEGER PRIMARY KEY, extension VARCHAR(5), folderid INTEGER, file_exists INTEGER, "
    "size INTEGER, changed INTEGER, filename VARCHAR(255), title VARCHAR(255), artist VARCHAR(255) , album "
    "VARCHAR(255), genre VARCHAR(255), comment VARCHAR(255), track INTEGER, year INTEGER, length INTEGER, bitrate "
    "INTEGER, playcount INTEGER, tagged INTEGER)",
    "CREATE TABLE Folder (folderid INTEGER PRIMARY KEY, parentid INTEGER, folder_exists INTEGER, rootid INTEGER, "
    "attributes INTEGER, path VARCHAR(255))",
    "CREATE INDEX IDX_FILEPATH on Files (filename)",
    "CREATE INDEX IDX_PATH on Folder (path)",
    "CREATE INDEX IDX_FOLDERID on Files (folderid)",
};

// Lower-case extensions without the dot.
using Extensions = std::unordered_set<std::wstring>;

struct WalkedFile {
    std::wstring name;
    std::wstring extension;
    long long size;
    long long changed;
};
struct WalkedFolder {
    std::wstring path;
    int parent;
    DWORD attributes;
    std::vector<WalkedFile> files;
};

// Files whose extension is in the set, in the tree under path (which ends in a backslash).
inline void Walk(const std::wstring& path, int parent, DWORD attributes, const Extensions& extensions,
                 std::vector<WalkedFolder>& out) {
    int self = static_cast<int>(out.size());
    out.push_back({path, parent, attributes, {}});
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW((path + L"*.*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) return;
    std::vector<std::pair<std::wstring, DWORD>> folders;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (wcscmp(data.cFileName, L".") && wcscmp(data.cFileName, L".."))
                folders.push_back({data.cFileName, data.dwFileAttributes});
            continue;
        }
        const wchar_t* dot = wcsrchr(data.cFileName, L'.');
        if (!dot) continue;
        std::wstring extension = ToLower(dot + 1);
        if (!extensions.count(extension)) continue;
        out[self].files.push_back({data.cFileName, std::move(extension), (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                                   (static_cast<long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                       data.ftLastWriteTime.dwLowDateTime});
    } while (FindNextFileW(find, &data));
    FindClose(find);
    for (auto& folder : folders) Walk(path + folder.first + L"\\", self, folder.second, extensions, out);
}

// The floor's database work: every folder and file row inserted through two prepared
// statements, reset between rows, in one transaction, into the same schema with its indexes.
inline void BulkInsert(const std::wstring& file, const std::vector<WalkedFolder>& folders) {
    DeleteFileW(file.c_str());
    sqlite3* db = nullptr;
    sqlite3_open16(file.c_str(), &db);
    for (const char* sql : kSchema) sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_exec(db, "BEGIN TRANSACTION", nullptr, nullptr, nullptr);
    sqlite3_stmt* folderInsert = nullptr;
    sqlite3_stmt* fileInsert = nullptr;
    sqlite3_prepare16_v2(db, L"INSERT INTO Folder (path, parentid, rootid, folder_exists, attributes) VALUES (?, ?, ?, 1, ?);",
                         -1, &folderInsert, nullptr);
    sqlite3_prepare16_v2(db, L"INSERT INTO Files (filename, folderid, extension, file_exists, size, changed) VALUES (?, ?, ?, ?, ?, ?);",
                         -1, &fileInsert, nullptr);
    std::vector<long long> ids;
    for (const WalkedFolder& folder : folders) {
        sqlite3_bind_text16(folderInsert, 1, folder.path.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_int64(folderInsert, 2, folder.parent < 0 ? 0 : ids[static_cast<size_t>(folder.parent)]);
        sqlite3_bind_int64(folderInsert, 3, 1);
        sqlite3_bind_int64(folderInsert, 4, folder.attributes);
        sqlite3_step(folderInsert);
        sqlite3_reset(folderInsert);
        long long id = sqlite3_last_insert_rowid(db);
        ids.push_back(id);
        for (const WalkedFile& file : folder.files) {
            sqlite3_bind_text16(fileInsert, 1, file.name.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_int64(fileInsert, 2, id);
            sqlite3_bind_text16(fileInsert, 3, file.extension.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_int64(fileInsert, 4, 1);
            sqlite3_bind_int64(fileInsert, 5, file.size);
            sqlite3_bind_int64(fileInsert, 6, file.changed);
            sqlite3_step(fileInsert);
            sqlite3_reset(fileInsert);
        }
    }
    sqlite3_finalize(folderInsert);
    sqlite3_finalize(fileInsert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

}  // namespace bare
