// Times a full scan of 100,000 files in 5,000 folders and a rescan of the same unchanged tree,
// each against a floor: a bare recursive directory walk plus a bare bulk insert of the same
// rows through one prepared statement in one transaction.
#include <windows.h>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "db/CacheDatabase.h"
#include "db/DatabaseLock.h"
#include "db/FolderRows.h"
#include "db/TreeNode.h"
#include "scan/FolderRootLoad.h"
#include "scan/FolderScan.h"
#include "scan/MediaExtensions.h"
#include "scan/ScanRows.h"

namespace {

constexpr int kTopFolders = 50;
constexpr int kSubfoldersEach = 99;  // 50 + 50 x 99 = 5,000 folders
constexpr int kFilesEach = 20;       // 100,000 files
// Runs interleave the floor and ours, so that a busy machine weighs on both alike; the best
// run of each counts.
constexpr int kRuns = 5;

const char* const kSchema[] = {
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

void MakeFiles(const std::wstring& folder) {
    CreateDirectoryW(folder.c_str(), nullptr);
    for (int i = 1; i <= kFilesEach; ++i) {
        wchar_t name[64];
        swprintf(name, 64, L"%02d Some Track Title %d.mp3", i, i);
        HANDLE file = CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
}

// Generated once; a marker file says the tree is complete.
void EnsureTree(const std::wstring& root) {
    std::wstring marker = root + L"complete.txt";
    if (GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    std::printf("generating the tree (first run only)...\n");
    std::fflush(stdout);
    CreateDirectoryW(root.c_str(), nullptr);
    for (int a = 1; a <= kTopFolders; ++a) {
        std::wstring artist = root + L"Artist " + std::to_wstring(a) + L"\\";
        MakeFiles(artist);
        for (int b = 1; b <= kSubfoldersEach; ++b) MakeFiles(artist + L"Album Number " + std::to_wstring(b) + L"\\");
    }
    HANDLE file = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
}

struct WalkedFile {
    std::wstring name;
    long long size;
    long long changed;
};
struct WalkedFolder {
    std::wstring path;
    int parent;
    DWORD attributes;
    std::vector<WalkedFile> files;
};

void Walk(const std::wstring& path, int parent, DWORD attributes, std::vector<WalkedFolder>& out) {
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
        if (!dot || _wcsicmp(dot, L".mp3")) continue;
        out[self].files.push_back({data.cFileName, (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                                   (static_cast<long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                       data.ftLastWriteTime.dwLowDateTime});
    } while (FindNextFileW(find, &data));
    FindClose(find);
    for (auto& folder : folders) Walk(path + folder.first + L"\\", self, folder.second, out);
}

// The floor's database work: every folder and file row inserted through two prepared
// statements, reset between rows, in one transaction, into the same schema with its indexes.
void BulkInsert(const std::wstring& file, const std::vector<WalkedFolder>& folders) {
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
            sqlite3_bind_text16(fileInsert, 3, L"mp3", -1, SQLITE_STATIC);
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

struct Floor {
    double walk = 1e9, insert = 1e9;
    size_t folders = 0, files = 0;
    double Total() const { return walk + insert; }
};

void MeasureFloor(const std::wstring& tree, const std::wstring& work, Floor& best) {
    std::vector<WalkedFolder> folders;
    double start = Seconds();
    Walk(tree, -1, FILE_ATTRIBUTE_DIRECTORY, folders);
    double walked = Seconds();
    BulkInsert(work + L"floor.db", folders);
    double inserted = Seconds();
    if (walked - start + inserted - walked < best.Total()) {
        best.walk = walked - start;
        best.insert = inserted - walked;
    }
    best.folders = folders.size();
    best.files = 0;
    for (const WalkedFolder& folder : folders) best.files += folder.files.size();
}

// What a folder root's full scan does, without the watchers it starts afterwards.
void Scan(CacheDatabase& database, const std::wstring& tree, const MediaExtensions& extensions) {
    auto top = Ref<TreeNode>::Make(NodeKind::kFolder, tree);
    UpsertFolder(database, *top, 0, 1);
    database.Sql().BeginBatch();
    EnumerateFolder(tree, *top, extensions, database, 1, kLoadFullScan);
    database.Sql().Commit();
}

void Report(const char* what, double ours, const Floor& floor) {
    std::printf("%-10s ours %7.3f s   floor %7.3f s (walk %.3f + insert %.3f)   ratio %.2fx (goal 1.5x)\n", what,
                ours, floor.Total(), floor.walk, floor.insert, ours / floor.Total());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring data = argc > 1 ? argv[1] : L"benchdata";
    for (wchar_t& c : data)
        if (c == L'/') c = L'\\';
    if (data.back() != L'\\') data += L'\\';
    CreateDirectoryW(data.c_str(), nullptr);
    std::wstring tree = data + L"ScanTree\\";
    std::wstring work = data + L"ScanWork\\";
    EnsureTree(tree);
    CreateDirectoryW(work.c_str(), nullptr);

    auto extensions = Ref<MediaExtensions>::Make();
    for (const wchar_t* e : {L"mp3", L"flac", L"ogg", L"m4a", L"wma", L"wav", L"m3u", L"m3u8"}) extensions->Add(e);

    Floor floor;
    double full = 1e9, rescan = 1e9;
    long long stored = 0;
    for (int run = 0; run < kRuns; ++run) {
        MeasureFloor(tree, work, floor);
        DeleteFileW((work + L"Cache\\cvCache.db").c_str());
        CacheDatabase database(work + L"Cache");
        database.CreateSchema();
        double start = Seconds();
        Scan(database, tree, *extensions);
        full = std::min(full, Seconds() - start);

        MarkAllFilesGone(database);
        start = Seconds();
        Scan(database, tree, *extensions);
        rescan = std::min(rescan, Seconds() - start);

        Lock lock(DatabaseLock());
        database.Sql().SetSql(L"SELECT COUNT(*) FROM Files WHERE file_exists=1");
        database.Sql().Execute();
        stored = database.Sql().NextRow() ? database.Sql().ColumnInt64(1) : -1;
        database.Sql().Finish();
    }
    std::printf("tree: %zu folders, %zu files; stored present after the rescan: %lld\n", floor.folders, floor.files,
                stored);
    Report("full scan", full, floor);
    Report("rescan", rescan, floor);
    return 0;
}
