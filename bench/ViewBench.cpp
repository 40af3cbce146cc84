// The view over a 100,000-file root: how long from selecting "My Library" to a filled list, how
// that compares with the bare listing query, and how many files have their tags asked for when
// only a page of rows is shown. The plugin runs in this process beside a minimal stand-in host.
//
//   view_bench.exe DATA_FOLDER
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "base/Path.h"
#include "BenchClock.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "db/CacheDatabase.h"
#include "db/DatabaseLock.h"
#include "db/Listing.h"
#include "db/roots/RootRows.h"
#include "host/HostApi.h"
#include "host/PluginRecord.h"
#include "settings/PluginContext.h"

namespace {

constexpr int kFolders = 1000;
constexpr int kFilesPerFolder = 100;
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

// Pumps until the list shows count rows; answers the milliseconds it took, or -1.
long long WaitForRows(HWND list, int count, DWORD limitMs) {
    double start = Seconds();
    for (;;) {
        Pump();
        if (list && ListView_GetItemCount(list) == count) return MillisecondsSince(start);
        if (MillisecondsSince(start) > static_cast<long long>(limitMs)) return -1;
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

long long BareListingMs(const std::wstring& cacheFolder) {
    CacheDatabase database(cacheFolder);
    database.SetListingOptions(ParseTypeFilter(L"mp3;"), 0);
    double start = Seconds();
    ListTotals totals;
    Ref<RowList> rows = ListFiles(database, {}, nullptr, totals, false);
    return MillisecondsSince(start);
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
        startUp = WaitForRows(GetDlgItem(GetWindow(kMainViewWindowId), kListControl), total, 60000);
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
    long long best = -1;
    for (int run = 0; run < 3 && folder; ++run) {
        TreeView_SelectItem(tree, folder);
        WaitForRows(list, kFilesPerFolder, 30000);
        TreeView_SelectItem(tree, library);
        long long ms = WaitForRows(list, total, 60000);
        if (ms >= 0 && (best < 0 || ms < best)) best = ms;
    }
    long long bare = BareListingMs(JoinPath(base, L"Cache"));

    std::printf("view over %d files in %d folders\n", total, kFolders);
    std::printf("start-up to a filled list                 %6lld ms\n", startUp);
    std::printf("select \"My Library\" to a filled list      %6lld ms  floor (bare listing query) %6lld ms  ratio %.2f\n",
                best, bare, bare > 0 ? static_cast<double>(best) / static_cast<double>(bare) : 0.0);
    std::printf("files whose tags were asked for after start-up: %d, with %d rows shown (of %d files)\n",
                requestsAfterStart, rowsShown,
                total);

    SendMessageW(host, WM_CLOSE, 0, 0);
    Pump();
    record->quit();
    if (embed && IsWindow(embed->frame)) DestroyWindow(embed->frame);
    DestroyWindow(host);
    return 0;
}
