// The view over a 100,000-file root: how long from selecting "My Library" to a filled list, how
// that compares with the bare listing query, and how many files have their tags asked for when
// only a page of rows is shown. The plugin runs in this process beside a minimal stand-in host.
//
//   view_bench.exe DATA_FOLDER
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "base/Path.h"
#include "base/Text.h"
#include "BenchClock.h"
#include "BenchMeasures.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "db/CacheDatabase.h"
#include "db/DatabaseLock.h"
#include "db/Listing.h"
#include "db/ListingStatements.h"
#include "db/roots/RootRows.h"
#include "host/HostApi.h"
#include "host/PluginRecord.h"
#include "settings/PluginContext.h"
#include "ui/view/RowSorting.h"

namespace {

constexpr int kFolders = 1000;
constexpr int kFilesPerFolder = 100;
constexpr int kRuns = 7;
const wchar_t kRoot[] = L"C:\\Bench Library\\";
int tagRequests = 0;
EmbedRecord* embed = nullptr;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == kHostMessage) {
        switch (lp) {
            case kHostExtendedFileInfo: ++tagRequests; return 0;  // one key of one file; no tags
            case kHostGetVersion: return 0x5036;
            case kHostNewCommandId: return 41000;
            case kHostCreateFrame: {
                embed = reinterpret_cast<EmbedRecord*>(wp);
                embed->frame = CreateWindowW(L"CvBenchFrame", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 700,
                                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
                return reinterpret_cast<LRESULT>(embed->frame);
            }
            default: return 0;
        }
    }
    return DefWindowProcW(window, message, wp, lp);
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

long long MillisecondsSince(double start) { return static_cast<long long>((Seconds() - start) * 1000.0); }

// How long until the list showed count rows, and until the view then went quiet (its queue
// empty, with the tags of the rows shown asked for as well); -1 for never.
struct Waited {
    long long filledMs = -1;
    long long quietMs = -1;
    double filledCpu = 0;  // the process's CPU seconds when the list was filled
};

// The count is looked at after every message: the messages that follow a filled list (the
// first screen's tag requests, answered by this thread) must not count towards filling it.
Waited WaitForRows(HWND list, int count, DWORD limitMs) {
    double start = Seconds();
    Waited waited;
    auto filled = [&] {
        if (waited.filledMs >= 0 || !list || ListView_GetItemCount(list) != count) return;
        waited.filledMs = MillisecondsSince(start);
        waited.filledCpu = ProcessCpuSeconds();
    };
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            filled();
        }
        filled();
        if (waited.filledMs >= 0) {
            waited.quietMs = MillisecondsSince(start);
            return waited;
        }
        if (MillisecondsSince(start) > static_cast<long long>(limitMs)) return waited;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// Pumps until nothing has happened for quietMs: no message, no tag request. A run measured
// while the tag requests of the listing before it are still being answered would count them.
void WaitUntilQuiet(DWORD quietMs, DWORD limitMs) {
    double start = Seconds(), lastActivity = start;
    int requests = tagRequests;
    while ((Seconds() - lastActivity) * 1000 < quietMs && (Seconds() - start) * 1000 < limitMs) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            lastActivity = Seconds();
        }
        if (tagRequests != requests) {
            requests = tagRequests;
            lastActivity = Seconds();
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void MakeCache(const std::wstring& cacheFolder) {
    CacheDatabase database(cacheFolder);
    database.CreateSchema();
    if (!ReadRootRows(database).empty()) return;
    std::printf("Generating a cache of %d files ...\n", kFolders * kFilesPerFolder);
    long long rootId = InsertRootRow(database, 1, true, kRoot, std::nullopt);
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.BeginTransaction();
    sql.SetSql(L"INSERT INTO Folder (path, parentid, rootid, folder_exists, attributes) VALUES (?, 0, ?, 1, 16)");
    sql.BindText(kRoot, 1);
    sql.BindInt64(rootId, 2);
    sql.Execute();
    long long top = sql.LastInsertId();
    for (int f = 0; f < kFolders; ++f) {
        std::wstring folder = std::wstring(kRoot) + L"Artist " + std::to_wstring(f) + L"\\";
        sql.SetSql(L"INSERT INTO Folder (path, parentid, rootid, folder_exists, attributes) VALUES (?, ?, ?, 1, 16)");
        sql.BindText(folder.c_str(), 1);
        sql.BindInt64(top, 2);
        sql.BindInt64(rootId, 3);
        sql.Execute();
        long long folderId = sql.LastInsertId();
        for (int n = 0; n < kFilesPerFolder; ++n) {
            std::wstring name = L"Track " + std::to_wstring(n) + L".mp3";
            std::wstring title = L"Song " + std::to_wstring(f * kFilesPerFolder + n);
            sql.SetSql(L"INSERT INTO Files (filename, folderid, extension, file_exists, size, changed, title, "
                       L"artist, length, tagged) VALUES (?, ?, 'mp3', 1, 4000000, 0, ?, ?, 200000, 0)");
            sql.BindText(name.c_str(), 1);
            sql.BindInt64(folderId, 2);
            sql.BindText(title.c_str(), 3);
            sql.BindText((L"Artist " + std::to_wstring(f)).c_str(), 4);
            sql.Execute();
        }
    }
    sql.Commit();
}

struct Took {
    long long wallMs = -1;
    long long cpuMs = -1;
    void KeepBest(const Took& run) {
        if (run.wallMs >= 0 && (wallMs < 0 || run.wallMs < wallMs)) wallMs = run.wallMs;
        if (run.cpuMs >= 0 && (cpuMs < 0 || run.cpuMs < cpuMs)) cpuMs = run.cpuMs;
    }
};

// The floor: the listing's statement stepped bare on a connection of its own, reading no column.
Took BareListing(const std::wstring& cacheFolder) {
    CacheDatabase database(cacheFolder);
    std::string sql = WideToUtf8(ListingSql(ListingForm::kWholeCache, 0, 1));
    Lock lock(DatabaseLock());
    double start = Seconds(), cpu = ProcessCpuSeconds();
    StepBare(database.Connection(), sql, {L"mp3"});
    return {MillisecondsSince(start), static_cast<long long>((ProcessCpuSeconds() - cpu) * 1000)};
}

// The same listing made into records on a connection of its own, with no view to fill: what
// the view and the passing between threads add is the rest.
Took ListingAlone(const std::wstring& cacheFolder) {
    CacheDatabase database(cacheFolder);
    database.SetListingOptions(ParseTypeFilter(L"mp3;"), 0);
    double start = Seconds(), cpu = ProcessCpuSeconds();
    ListTotals totals;
    Ref<RowList> rows = ListFiles(database, {}, nullptr, totals, false);
    Took took{MillisecondsSince(start), static_cast<long long>((ProcessCpuSeconds() - cpu) * 1000)};
    database.ReleaseListingMapping();
    return took;
}

// Where the time of a listing goes on the way to the list, each step alone in this thread's CPU
// time, best of three: the statement stepped bare, the rows read into records, and the sort by
// the view's default key (Title, descending).
void PrintBreakdown(const std::wstring& cacheFolder) {
    CacheDatabase database(cacheFolder);
    database.SetListingOptions(ParseTypeFilter(L"mp3;"), 0);
    std::string sql = WideToUtf8(ListingSql(ListingForm::kWholeCache, 0, 1));
    double bare = 1e9, records = 1e9, sorting = 1e9;
    for (int run = 0; run < 3; ++run) {
        {
            Lock lock(DatabaseLock());
            double start = CpuSeconds();
            StepBare(database.Connection(), sql, {L"mp3"});
            bare = std::min(bare, CpuSeconds() - start);
        }
        ListTotals totals;
        double start = CpuSeconds();
        Ref<RowList> rows = ListFiles(database, {}, nullptr, totals, false);
        records = std::min(records, CpuSeconds() - start);
        // Outside the timing, as the worker lets go of the file's view once the rows are sent.
        database.ReleaseListingMapping();
        start = CpuSeconds();
        SortRowList(*rows, 1, 0);
        sorting = std::min(sorting, CpuSeconds() - start);
    }
    std::printf("where it goes (thread CPU): statement stepped bare %4.0f ms, rows read into records %4.0f ms, "
                "sorted by title %4.0f ms\n", bare * 1000, records * 1000, sorting * 1000);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: view_bench DATA_FOLDER\n");
        return 2;
    }
    std::wstring documents = JoinPath(argv[1], L"View");
    CreateFolderIfMissing(argv[1]);
    CreateFolderIfMissing(documents);
    std::wstring base = JoinPath(documents, L"Crateview");
    CreateFolderIfMissing(base);
    MakeCache(JoinPath(base, L"Cache"));
    WritePrivateProfileStringW(L"General", L"Scan files", L"0", JoinPath(base, L"gen_cv.ini").c_str());
    WritePrivateProfileStringW(L"General", L"File types", L"mp3;", JoinPath(base, L"gen_cv.ini").c_str());
    WritePrivateProfileStringW(L"General", L"Remember last selected folder", L"0", JoinPath(base, L"gen_cv.ini").c_str());

    WNDCLASSW wc = {};
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpfnWndProc = &HostProc;
    wc.lpszClassName = L"CvBenchHost";
    RegisterClassW(&wc);
    wc.lpfnWndProc = &DefWindowProcW;
    wc.lpszClassName = L"CvBenchFrame";
    RegisterClassW(&wc);

    std::wstring exe = ModuleFileName(nullptr);
    HMODULE plugin = LoadLibraryW(JoinPath(ParentPath(exe), L"gen_cv.dll").c_str());
    PluginContext::CreateWithDocuments(reinterpret_cast<HINSTANCE>(plugin), documents);
    HWND host = CreateWindowW(L"CvBenchHost", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                              wc.hInstance, nullptr);
    PluginRecord* record = ThePluginRecord();
    record->hostWindow = host;
    record->instance = reinterpret_cast<HINSTANCE>(plugin);
    const int total = kFolders * kFilesPerFolder;

    long long startUp = 0;
    {
        DWORD begin = GetTickCount();
        record->init();
        while (!GetWindow(kMainViewWindowId) && GetTickCount() - begin < 10000) Pump();
        startUp = WaitForRows(GetDlgItem(GetWindow(kMainViewWindowId), kListControl), total, 60000).quietMs;
    }
    HWND view = GetWindow(kMainViewWindowId);
    HWND list = GetDlgItem(view, kListControl);
    HWND tree = GetDlgItem(view, kTreeControl);
    // Give the worker time to ask for the tags of the rows shown, answering as the host would.
    for (DWORD begin = GetTickCount(); GetTickCount() - begin < 2000;) {
        Pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    // Nine keys are asked for each file.
    int requestsAfterStart = tagRequests / 9;
    int rowsShown = ListView_GetCountPerPage(list);

    // A folder, then "My Library" again: the time a user waits for the whole library.
    HTREEITEM library = TreeView_GetRoot(tree);
    HTREEITEM root = TreeView_GetChild(tree, library);
    HTREEITEM folder = root ? TreeView_GetChild(tree, root) : nullptr;
    // Runs interleave the floor and ours, so that a busy machine weighs on both alike; the best
    // run of each counts. Each starts from a quiet view, the floor too, so neither pays for the
    // tail of the listing before it.
    // Besides the wall clock, the CPU time of every thread of the process: on a machine busy with
    // other work the wall clock of a job that passes between threads says little.
    Took best, quiet, bare, alone;
    for (int run = 0; run < kRuns && folder; ++run) {
        TreeView_SelectItem(tree, folder);
        WaitForRows(list, kFilesPerFolder, 30000);
        WaitUntilQuiet(300, 10000);
        double cpu = ProcessCpuSeconds();
        TreeView_SelectItem(tree, library);
        Waited waited = WaitForRows(list, total, 60000);
        long long cpuMs = waited.filledMs < 0 ? -1 : static_cast<long long>((waited.filledCpu - cpu) * 1000);
        best.KeepBest({waited.filledMs, cpuMs});
        quiet.KeepBest({waited.quietMs, -1});
        WaitUntilQuiet(300, 10000);
        bare.KeepBest(BareListing(JoinPath(base, L"Cache")));
        alone.KeepBest(ListingAlone(JoinPath(base, L"Cache")));
    }

    std::printf("view over %d files in %d folders\n", total, kFolders);
    std::printf("start-up to a filled list                 %6lld ms\n", startUp);
    auto ratio = [](long long ours, long long floor) {
        return floor > 0 ? static_cast<double>(ours) / static_cast<double>(floor) : 0.0;
    };
    std::printf("select \"My Library\" to a filled list      %6lld ms  floor (bare listing query) %6lld ms  ratio %.2f\n",
                best.wallMs, bare.wallMs, ratio(best.wallMs, bare.wallMs));
    std::printf("  the same in CPU time of all threads      %6lld ms  floor                      %6lld ms  ratio %.2f\n",
                best.cpuMs, bare.cpuMs, ratio(best.cpuMs, bare.cpuMs));
    std::printf("  the listing alone, records made, no view %6lld ms  (CPU %lld ms)\n", alone.wallMs, alone.cpuMs);
    std::printf("  until the view went quiet, first screen's tags asked for  %6lld ms\n", quiet.wallMs);
    std::printf("files whose tags were asked for after start-up: %d, with %d rows shown (of %d files)\n",
                requestsAfterStart, rowsShown,
                total);

    PrintBreakdown(JoinPath(base, L"Cache"));

    SendMessageW(host, WM_CLOSE, 0, 0);
    Pump();
    record->quit();
    if (embed && IsWindow(embed->frame)) DestroyWindow(embed->frame);
    DestroyWindow(host);
    return 0;
}
