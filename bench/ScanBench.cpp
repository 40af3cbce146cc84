// Times a full scan of 100,000 files in 5,000 folders and a rescan of the same unchanged tree,
// each against a floor: a bare recursive directory walk plus a bare bulk insert of the same
// rows through one prepared statement in one transaction.
#include <windows.h>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BareScan.h"
#include "BenchClock.h"
#include "RootScan.h"
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

struct Floor {
    double walk = 1e9, insert = 1e9;
    size_t folders = 0, files = 0;
    double Total() const { return walk + insert; }
};

void MeasureFloor(const std::wstring& tree, const std::wstring& work, Floor& best) {
    std::vector<bare::WalkedFolder> folders;
    double start = Seconds();
    bare::Walk(tree, -1, FILE_ATTRIBUTE_DIRECTORY, {L"mp3"}, folders);
    double walked = Seconds();
    bare::BulkInsert(work + L"floor.db", folders);
    double inserted = Seconds();
    if (walked - start + inserted - walked < best.Total()) {
        best.walk = walked - start;
        best.insert = inserted - walked;
    }
    best.folders = folders.size();
    best.files = 0;
    for (const bare::WalkedFolder& folder : folders) best.files += folder.files.size();
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
