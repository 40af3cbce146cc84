// Times word searches over the million-file cache the listing bench generates, with the
// search index beside it, against the floor (the bare search statement stepped without the
// index, reading nothing) and the same listing without the index; also the time to build the
// index from nothing and its size. Prints figures only. Usage: search_bench FOLDER [TEXT COUNT]
// (the cache must be in FOLDER\Listing: run listing_bench first); with a search text and a count,
// it only repeats that search so many times over the index it keeps, for a profiler to watch.
#include <windows.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "base/Path.h"
#include "base/Text.h"
#include "db/CacheConnection.h"
#include "db/CacheDatabase.h"
#include "db/FolderCatalog.h"
#include "db/Listing.h"
#include "db/ListingStatements.h"
#include "db/SearchIndex.h"
#include "db/StripAccent.h"

namespace {

constexpr int kRuns = 3;
const wchar_t kTypes[] = L"mp3;flac";

struct Case {
    const char* label;
    int options;
    const wchar_t* search;
};

// The search statement without the index, stepped to its end reading no column.
long long StepBare(sqlite3* db, const Case& c, const TypeFilter& types) {
    std::vector<std::wstring> terms = SplitSearchTerms(c.search);
    std::wstring sql = ListingSql(ListingForm::kSearch, c.options, types.size());
    std::wstring query = QueryParameter(c.options, terms[0]);
    std::wstring path = PathParameter(ListingForm::kSearch, c.options, L"");
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare16_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return -1;
    sqlite3_bind_text16(st, sqlite3_bind_parameter_index(st, ":query"), query.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text16(st, sqlite3_bind_parameter_index(st, ":path"), path.c_str(), -1, SQLITE_STATIC);
    int index = FirstExtensionIndex(ListingForm::kSearch);
    for (const std::wstring& type : types) sqlite3_bind_text16(st, index++, type.c_str(), -1, SQLITE_STATIC);
    long long rows = 0;
    while (sqlite3_step(st) == SQLITE_ROW) ++rows;
    sqlite3_finalize(st);
    return rows;
}

// What the view waits for after the quiet time: the listing up to its filled row list.
Ref<RowList> List(CacheDatabase& database, const Case& c) {
    ListTotals totals;
    database.SetListingOptions(ParseTypeFilter(kTypes), c.options);
    return ListFiles(database, SplitSearchTerms(c.search), nullptr, totals, false);
}

// Whether both lists hold the same files in the same order.
bool SameRows(const RowList& a, const RowList& b) {
    if (a.rows.size() != b.rows.size()) return false;
    for (size_t i = 0; i < a.rows.size(); ++i)
        if (a.rows[i]->fileId != b.rows[i]->fileId) return false;
    return true;
}

// CPU seconds of this thread: comparable when other work shares the machine, which wall time
// is not.
double CpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto value = [](FILETIME time) {
        return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    };
    return (value(kernel) + value(user)) / 1e7;
}

struct Timing {
    double wall = 1e9;
    double cpu = 1e9;
};

// The best of a few runs; what follows each run untimed is what the worker does once the
// rows are on their way to the view.
template <class F, class G>
Timing Best(F run, G after) {
    Timing best;
    for (int i = 0; i < kRuns; ++i) {
        double wall = Seconds(), cpu = CpuSeconds();
        run();
        best.cpu = std::min(best.cpu, CpuSeconds() - cpu);
        best.wall = std::min(best.wall, Seconds() - wall);
        after();
    }
    return best;
}

template <class F>
Timing Best(F run) {
    return Best(run, [] {});
}

long long FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return static_cast<long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: search_bench FOLDER\n");
        return 2;
    }
    std::wstring folder = std::wstring(argv[1]) + L"\\Listing";
    std::wstring indexFile = JoinPath(folder, kSearchIndexFileName);
    if (!PathExists(JoinPath(folder, kCacheFileName))) {
        std::printf("no cache in %s: run listing_bench first\n", WideToUtf8(folder).c_str());
        return 1;
    }
    bool repeat = argc >= 4;
    if (!repeat) DeleteFileW(indexFile.c_str());

    CacheDatabase indexed(folder);
    CacheDatabase unaided(folder);
    SearchIndex* index = indexed.SharedConnection()->OpenSearchIndex();
    if (!index) {
        std::printf("the search index could not be opened\n");
        return 1;
    }
    // The last idle step reads the folders into memory; how long it holds the database.
    auto timeFolderRead = [&] {
        FolderCatalog folders;
        double start = Seconds();
        bool read = folders.Read(indexed.Connection());
        std::printf("folders read into memory in %.0f ms (%s), served from memory: %s\n", (Seconds() - start) * 1000,
                    read ? "read" : "not read", index->CurrentFolders() ? "yes" : "no");
    };
    if (repeat) {
        Case c{"repeated", 0, argv[2]};
        int count = _wtoi(argv[3]);
        while (index->BuildStep()) {
        }
        timeFolderRead();
        size_t rows = 0;
        double cpu = 0;
        std::vector<double> walls;
        for (int i = 0; i < count; ++i) {
            Ref<RowList> list;
            double startWall = Seconds(), startCpu = CpuSeconds();
            list = List(indexed, c);
            cpu += CpuSeconds() - startCpu;
            walls.push_back(Seconds() - startWall);
            rows = list->rows.size();
            indexed.ReleaseListingMapping();
        }
        std::sort(walls.begin(), walls.end());
        std::printf("%u rows, %.1f ms CPU on average, wall clock %.1f ms at the median, %.1f ms at best\n",
                    static_cast<unsigned>(rows), cpu * 1000 / count, walls[walls.size() / 2] * 1000, walls[0] * 1000);
        return 0;
    }
    double start = Seconds();
    int steps = 0;
    while (index->BuildStep()) ++steps;
    double built = Seconds() - start;
    std::printf("index built from nothing in %.1f s (%d steps, %lld files, complete: %s), file %.1f MB\n", built,
                steps, index->IndexedFiles(), index->Complete() ? "yes" : "no",
                static_cast<double>(FileSize(indexFile)) / 1e6);
    timeFolderRead();
    std::printf("\n");

    TypeFilter types = ParseTypeFilter(kTypes);
    const Case cases[] = {
        {"one search word", 0, L"love"},
        {"two search words", 0, L"love night"},
        {"accents on, \"bjork\"", kStripAccents, L"bjork"},
        {"one rarer word", 0, L"whiskey"},
        {"two rarer words", 0, L"whiskey sugar"},
    };
    std::printf("best of %d runs, thread CPU (wall clock); floor: the bare statement stepped without the index;\n"
                "lookup: the index's proposal alone\n", kRuns);
    for (const Case& c : cases) {
        // The view frees the list it showed before, on its own thread: not a part of the search.
        Ref<RowList> fast, slow, kept;
        size_t proposed = 0;
        Timing ours = Best([&] { fast = List(indexed, c); },
                           [&] {
                               indexed.ReleaseListingMapping();
                               kept = fast;
                               fast = Ref<RowList>();
                           });
        fast = kept;
        Timing lookup = Best([&] {
            std::vector<std::wstring> terms = SplitSearchTerms(c.search);
            std::vector<std::wstring> later(terms.begin() + 1, terms.end());
            for (std::wstring& word : later)
                if (c.options & kStripAccents) word = StripAccentText(word);
            auto ids = index->Candidates(StripAccentText(terms.front()), later);
            proposed = ids ? ids->size() : 0;
        });
        Timing floor = Best([&] { StepBare(unaided.Connection(), c, types); });
        Timing plain = Best([&] { slow = List(unaided, c); });
        std::printf("%-22s %6u rows  ours %5.0f ms (%5.0f)  floor %5.0f ms (%5.0f)  ratio %5.2f  without index %5.0f ms"
                    "  lookup %4.0f ms, %u files  same rows: %s\n",
                    c.label, static_cast<unsigned>(fast->rows.size()), ours.cpu * 1000, ours.wall * 1000,
                    floor.cpu * 1000, floor.wall * 1000, floor.cpu > 0 ? ours.cpu / floor.cpu : 0.0, plain.cpu * 1000,
                    lookup.cpu * 1000, static_cast<unsigned>(proposed), SameRows(*fast, *slow) ? "yes" : "NO");
    }
    return 0;
}
