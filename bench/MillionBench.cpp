// The million-file library on disk (generated once from the Linux side by make_million_tree.py):
// the first scan, an unchanged rescan, a pass reading every file's tags (F6) against a host that
// answers at once, the listing of the whole cache with the memory it holds, and the sort by
// each column, each beside its floor. Prints figures only; takes many minutes, so it has a make
// target of its own (`make bench-million`).
//
//   million_bench.exe DATA_FOLDER [FILES_FOR_THE_TAG_PASS]
#include <windows.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "BareScan.h"
#include "BenchClock.h"
#include "BenchMeasures.h"
#include "RootScan.h"
#include "base/Text.h"
#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "db/DatabaseLock.h"
#include "db/Listing.h"
#include "db/ListingStatements.h"
#include "db/TagRows.h"
#include "db/roots/RootsList.h"
#include "host/HostApi.h"
#include "scan/ScanRows.h"
#include "scan/ScanWorker.h"
#include "scan/TagRequest.h"
#include "scan/WorkItems.h"
#include "ui/view/CellText.h"
#include "ui/view/RowSorting.h"
#include "ui/view/TextRanks.h"

namespace {

const wchar_t* const kExtensions[] = {L"mp3", L"flac", L"m4a", L"ogg", L"wma", L"wav", L"m3u", L"m3u8"};
const wchar_t kTypes[] = L"mp3;flac;m4a;ogg;wma";
const wchar_t* const kGenres[] = {L"Rock", L"Pop", L"Jazz", L"Electronic", L"Folk", L"Blues", L"Classical",
                                  L"Hip-Hop", L"Metal", L"Soul", L"Country", L"Reggae", L"Ambient", L"Punk"};
const char* const kColumnNames[] = {"#", "Title", "Artist", "Album", "Genre", "Comment", "Track", "Year",
                                    "Length", "Bitrate", "Playcount", "Last changed", "Filesize", "Filepath",
                                    "Filename"};

void Report(const char* what, double ours, double floor, const char* floorIs) {
    std::printf("%-22s ours %8.2f s  floor %8.2f s  ratio %5.2f   (floor: %s)\n", what, ours, floor,
                floor > 0 ? ours / floor : 0.0, floorIs);
    std::fflush(stdout);
}

// ---- The host: answers each tag of a file at once, from the file's own path.

// The tags of one file as a ripped collection names it: Artist\Year - Album\NN - Title.ext.
struct PathTags {
    std::wstring path, title, artist, album, year, track, genre, length, bitrate;
};

PathTags TagsOf(const std::wstring& path) {
    PathTags tags;
    tags.path = path;
    size_t nameAt = path.rfind(L'\\') + 1;
    size_t albumAt = path.rfind(L'\\', nameAt - 2) + 1;
    size_t artistAt = path.rfind(L'\\', albumAt - 2) + 1;
    std::wstring name = path.substr(nameAt, path.rfind(L'.') - nameAt);
    std::wstring album = path.substr(albumAt, nameAt - 1 - albumAt);
    tags.artist = path.substr(artistAt, albumAt - 1 - artistAt);
    tags.title = name.size() > 5 && name[2] == L' ' ? name.substr(5) : name;
    tags.track = name.size() > 5 && name[2] == L' ' ? name.substr(0, 2) : L"";
    tags.album = album.size() > 7 && album[4] == L' ' ? album.substr(7) : album;
    tags.year = album.size() > 7 && album[4] == L' ' ? album.substr(0, 4) : L"";
    size_t hash = std::hash<std::wstring>()(path);
    tags.genre = kGenres[hash % (sizeof(kGenres) / sizeof(kGenres[0]))];
    tags.length = std::to_wstring(120000 + hash % 300000);
    tags.bitrate = path.compare(path.size() - 4, 4, L".mp3") == 0 ? L"320" : L"900";
    return tags;
}

void Answer(const HostFileInfoRequest& request) {
    // The host is asked nine keys in a row for one file.
    static PathTags last;
    if (last.path != request.path) last = TagsOf(request.path);
    const std::pair<const wchar_t*, const std::wstring*> keys[] = {
        {L"title", &last.title}, {L"artist", &last.artist}, {L"album", &last.album},   {L"year", &last.year},
        {L"track", &last.track}, {L"genre", &last.genre},   {L"length", &last.length}, {L"bitrate", &last.bitrate}};
    for (const auto& [key, value] : keys)
        if (wcscmp(request.key, key) == 0) wcsncpy(request.buffer, value->c_str(), request.bufferLength - 1);
}

bool passDone = false;

// Serves the worker's tag requests as the host window does, and the host's own requests.
LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == kHostMessage) {
        if (lp == kHostExtendedFileInfo) Answer(*reinterpret_cast<const HostFileInfoRequest*>(wp));
        return 0;
    }
    if (message == kCommandMessage) {
        auto* record = reinterpret_cast<FileRecord*>(wp);
        return record && ReadTags(window, *record) ? 1 : 0;
    }
    return DefWindowProcW(window, message, wp, lp);
}

// Stands in for the view: takes the progress texts and the end of the pass.
LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message != kCommandMessage) return DefWindowProcW(window, message, wp, lp);
    if (wp == kCmdStatusText || wp == kCmdShowMessage) {
        Ref<TextObject> text = AdoptText(lp);
        if (wp == kCmdShowMessage) std::printf("  the pass reports: %ls\n", text->text.c_str());
    }
    if (wp == kCmdTagPassDone) passDone = true;
    return 0;
}

HWND MakeWindow(const wchar_t* className, WNDPROC proc) {
    WNDCLASSW wc = {};
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpfnWndProc = proc;
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    return CreateWindowW(className, L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, wc.hInstance, nullptr);
}

// ---- The steps.

struct Floors {
    double walk = 0, insert = 0, mark = 0;
    size_t folders = 0, files = 0;
};

std::vector<bare::WalkedFolder> WalkTree(const std::wstring& tree, double& seconds) {
    bare::Extensions extensions(std::begin(kExtensions), std::end(kExtensions));
    std::vector<bare::WalkedFolder> folders;
    double start = Seconds();
    bare::Walk(tree, -1, FILE_ATTRIBUTE_DIRECTORY, extensions, folders);
    seconds = Seconds() - start;
    return folders;
}

// One statement run `count` times on the file, its values bound by bind(statement, i), in one
// transaction: the floors of the rescan and of the tag pass.
double TimedStatements(const std::wstring& file, const wchar_t* text, size_t count,
                       const std::function<void(sqlite3_stmt*, size_t)>& bind) {
    sqlite3* db = nullptr;
    sqlite3_open16(file.c_str(), &db);
    double start = Seconds();
    sqlite3_exec(db, "BEGIN TRANSACTION", nullptr, nullptr, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare16_v2(db, text, -1, &statement, nullptr);
    for (size_t i = 0; i < count; ++i) {
        bind(statement, i);
        sqlite3_step(statement);
        sqlite3_reset(statement);
    }
    sqlite3_finalize(statement);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    double seconds = Seconds() - start;
    sqlite3_close(db);
    return seconds;
}

// The floor of a rescan's database work: each file marked present by its id.
double MarkPresentBare(const std::wstring& file, size_t files) {
    sqlite3* db = nullptr;
    sqlite3_open16(file.c_str(), &db);
    sqlite3_exec(db, "UPDATE Files SET file_exists=0", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return TimedStatements(file, L"UPDATE Files SET file_exists=1 WHERE fileid=?", files,
                           [](sqlite3_stmt* mark, size_t i) { sqlite3_bind_int64(mark, 1, static_cast<long long>(i + 1)); });
}

// The floor of a tag pass: the same UPDATE the pass runs, bound bare with one file's answers,
// once per file, on a copy of the cache.
double WriteTagsBare(const std::wstring& file, const RowList& rows, size_t count) {
    PathTags tags = TagsOf(rows.rows.front()->Path());
    return TimedStatements(
        file,
        L"UPDATE Files SET title = :title, artist = :artist, album = :album, genre = :genre, comment = :comment, "
        L"track = :track, year = :year, length = :length, bitrate = :bitrate, playcount = MAX(IFNULL(playcount, 0), "
        L":playcount), tagged = :tagged WHERE fileid=:FILEID;",
        count, [&](sqlite3_stmt* write, size_t i) {
            int index = 1;
            for (const std::wstring* text : {&tags.title, &tags.artist, &tags.album, &tags.genre})
                sqlite3_bind_text16(write, index++, text->c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text16(write, index++, L"", -1, SQLITE_STATIC);
            for (int value : {1, 1990, 200000, 320, 0, 1}) sqlite3_bind_int(write, index++, value);
            sqlite3_bind_int64(write, index, rows.rows[i]->fileId);
        });
}

// The worker's whole-list pass, as F6 posts it, over the first `count` rows.
double TagPass(CacheDatabase& database, const RowList& rows, size_t count) {
    auto pass = Ref<RowList>::Make();
    pass->rows.assign(rows.rows.begin(), rows.rows.begin() + static_cast<long>(count));
    ScanWorkerOptions options;
    options.scanFiles = false;
    options.typeFilter = ParseTypeFilter(kTypes);
    auto worker = Ref<ScanWorker>::Adopt(
        new ScanWorker(Ref<RootsList>::Make(), options, database.SharedConnection(), L"Z:\\nonexistent\\none.ini"));
    worker->Start();
    passDone = false;
    double start = Seconds();
    worker->Post(kWorkFullTagPass, 0, reinterpret_cast<LPARAM>(pass.Detach()));
    MSG msg;
    while (!passDone && GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
    double seconds = Seconds() - start;
    worker->StopAndWait();
    return seconds;
}

double SleepOneMs() {
    double start = Seconds();
    for (int i = 0; i < 200; ++i) Sleep(1);
    return (Seconds() - start) / 200;
}

// Floors of sorting: a sort of the column's values alone, already taken out of the records,
// texts with the comparison the list sorts by.
double SortKeysBare(const RowList& rows, int column) {
    const auto& r = rows.rows;
    if (column >= 6 && column <= 12) {
        std::vector<long long> keys;
        keys.reserve(r.size());
        for (const auto& row : r) {
            const long long values[] = {row->track, row->year, row->length, row->bitrate, row->playCount,
                                        row->changed, row->size};
            keys.push_back(values[column - 6]);
        }
        double start = Seconds();
        std::sort(keys.begin(), keys.end());
        return Seconds() - start;
    }
    std::vector<std::wstring> paths;
    std::vector<std::wstring_view> keys;
    keys.reserve(r.size());
    if (column == 13) {
        paths.reserve(r.size());
        for (const auto& row : r) paths.push_back(row->Path());
        keys.assign(paths.begin(), paths.end());
    } else {
        for (const auto& row : r)
            keys.push_back(column == 14 ? row->FileName()
                                        : row->Tag(static_cast<TagField>(column - 1)).value_or(std::wstring_view()));
    }
    double start = Seconds();
    // Stable, as the list's own sort is: std::sort may run past its range when the locale's
    // comparison contradicts itself, as it does on some texts.
    std::stable_sort(keys.begin(), keys.end(),
                     [](std::wstring_view a, std::wstring_view b) { return CompareText(a, b) < 0; });
    return Seconds() - start;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: million_bench DATA_FOLDER [FILES_FOR_THE_TAG_PASS]\n");
        return 2;
    }
    std::wstring data = argv[1];
    if (data.back() != L'\\') data += L'\\';
    const std::wstring tree = data + L"Million\\Tree\\";
    const std::wstring work = data + L"Million\\Work\\";
    if (GetFileAttributesW((tree + L"complete.txt").c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "no generated tree in %ls: run bench/make_million_tree.py first\n", tree.c_str());
        return 2;
    }
    CreateDirectoryW(work.c_str(), nullptr);
    auto extensions = Ref<MediaExtensions>::Make();
    for (const wchar_t* e : kExtensions) extensions->Add(e);

    // Scans. The first walk warms the system's directory caches, so the floor and ours meet the
    // tree alike.
    Floors floors;
    double coldWalk = 0;
    WalkTree(tree, coldWalk);
    std::vector<bare::WalkedFolder> walked = WalkTree(tree, floors.walk);
    floors.folders = walked.size();
    for (const auto& folder : walked) floors.files += folder.files.size();
    double start = Seconds();
    bare::BulkInsert(work + L"floor.db", walked);
    floors.insert = Seconds() - start;
    walked = {};
    std::printf("tree: %zu folders, %zu media files; first walk (cold) %.2f s\n", floors.folders, floors.files,
                coldWalk);

    DeleteFileW((work + L"Cache\\cvCache.db").c_str());
    CacheDatabase database(work + L"Cache");
    database.CreateSchema();
    start = Seconds();
    Scan(database, tree, *extensions);
    double scan = Seconds() - start;
    Report("first scan", scan, floors.walk + floors.insert, "walk + bare inserts");

    MarkAllFilesGone(database);
    start = Seconds();
    Scan(database, tree, *extensions);
    double rescan = Seconds() - start;
    double walkAgain = 0;
    WalkTree(tree, walkAgain);
    floors.mark = MarkPresentBare(work + L"floor.db", floors.files);
    Report("unchanged rescan", rescan, walkAgain + floors.mark, "walk + bare mark-present updates");

    // The whole cache listed, as "My Library" lists it; the first listing of the process, so the
    // memory it takes is all new.
    database.SetListingOptions(ParseTypeFilter(kTypes), 0);
    ListTotals totals;
    long long beforeListing = PrivateBytes();
    Ref<RowList> rows = ListFiles(database, {}, nullptr, totals, false);
    long long listing = PrivateBytes() - beforeListing;
    // The worker lets go of the file's view once the rows are sent.
    database.ReleaseListingMapping();
    std::printf("listed %zu files, tags unread: %+.1f MB, %.0f bytes per record (record object %u bytes)\n",
                rows->rows.size(), static_cast<double>(listing) / 1048576.0,
                static_cast<double>(listing) / static_cast<double>(rows->rows.size()),
                static_cast<unsigned>(sizeof(FileRecord)));

    // The tag pass, against a host on this thread that answers at once.
    HWND host = MakeWindow(L"CvMillionHost", &HostProc);
    HWND view = MakeWindow(L"CvMillionView", &ViewProc);
    RegisterWindow(kHostWindowId, host);
    RegisterWindow(kMainViewWindowId, view);
    size_t passFiles = rows->rows.size();
    if (argc > 2) passFiles = std::min(passFiles, static_cast<size_t>(_wtoi(argv[2])));
    CopyFileW((work + L"Cache\\cvCache.db").c_str(), (work + L"tags-floor.db").c_str(), FALSE);
    double pass = TagPass(database, *rows, passFiles);
    double passFloor = WriteTagsBare(work + L"tags-floor.db", *rows, passFiles);
    double sleepMs = SleepOneMs() * 1000;
    char floorText[200];
    std::snprintf(floorText, sizeof(floorText), "bare UPDATEs; the pass also sleeps 1 ms per 2 files, %.2f ms each here",
                  sleepMs);
    std::printf("tag pass over %zu files: %.0f us per file\n", passFiles, pass / static_cast<double>(passFiles) * 1e6);
    Report("F6 tag pass", pass, passFloor, floorText);
    // The files the timed pass left are given their tags directly, so that the listing and the
    // sorts below meet a library whose every file is tagged.
    {
        Lock lock(DatabaseLock());
        database.Sql().BeginTransaction();
        for (size_t i = passFiles; i < rows->rows.size(); ++i) {
            FileRecord& record = *rows->rows[i];
            if (!ReadTags(host, record)) continue;
            WriteTags(database, record);
        }
        database.Sql().Commit();
    }
    DestroyWindow(view);
    DestroyWindow(host);
    rows.Reset();

    // Listed again with the tags, then sorted by each column.
    double cpu = CpuSeconds();
    {
        Lock lock(DatabaseLock());
        StepBare(database.Connection(), WideToUtf8(ListingSql(ListingForm::kWholeCache, 0, 5)),
                 {L"flac", L"m4a", L"mp3", L"ogg", L"wma"});
    }
    double listFloor = CpuSeconds() - cpu;
    cpu = CpuSeconds();
    rows = ListFiles(database, {}, nullptr, totals, false);
    double list = CpuSeconds() - cpu;
    database.ReleaseListingMapping();
    Report("list the whole cache", list, listFloor, "the statement stepped bare (thread CPU)");
    for (int column = 1; column < kColumnCount; ++column) {
        auto copy = rows->Copy();
        start = Seconds();
        SortRowList(*copy, -column, 0);
        double ours = Seconds() - start;
        char what[40];
        std::snprintf(what, sizeof(what), "sort by %s", kColumnNames[column]);
        Report(what, ours, SortKeysBare(*rows, column), "the column's values alone sorted");
    }
    SortRowList(*rows, -kColumnTitle, 0);
    long long sorted = PrivateBytes();
    std::printf("memory of the process with %zu tagged files listed and sorted: %.1f MB\n", rows->rows.size(),
                static_cast<double>(sorted) / 1048576.0);
    return 0;
}
