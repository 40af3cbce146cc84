// Times the file listings on a cache of a million files against the floor of each: the same
// SQL text stepped bare, reading nothing. Also measures the memory one listed file costs.
// Prints figures only. Usage: listing_bench FOLDER [whole] (the cache is generated once in its
// Listing subfolder, beside the data of other benches).
#include <windows.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchMeasures.h"
#include "base/Text.h"
#include "db/CacheDatabase.h"
#include "db/Listing.h"
#include "db/ListingStatements.h"
#include "db/ReadMapping.h"

namespace {

constexpr int kArtists = 5000;
constexpr int kAlbumsPerArtist = 10;
constexpr int kAlbumFolders = kArtists * kAlbumsPerArtist - 500;  // 49,500
constexpr int kFilesPerAlbum = 20;
constexpr int kSinglesFiles = 10000;
constexpr long long kTotalFiles = static_cast<long long>(kAlbumFolders) * kFilesPerAlbum + kSinglesFiles;
constexpr int kRuns = 3;
const wchar_t kSingles[] = L"D:\\Music\\Singles\\";
const wchar_t kTypes[] = L"mp3;flac";

const wchar_t* const kFirst[] = {
    L"Black", L"Silver", L"Electric", L"Velvet", L"Crystal", L"Midnight", L"Golden", L"Broken", L"Wild", L"Neon",
    L"Cosmic", L"Paper", L"Iron", L"Lunar", L"Royal", L"Hollow", L"Scarlet", L"Static", L"Atomic", L"Frozen",
    L"Bj\u00f6rk", L"Sigur", L"Mot\u00f6rhead", L"Beyonc\u00e9", L"Caf\u00e9", L"M\u00f6tley", L"Zo\u00eb",
    L"Se\u00f1or", L"Am\u00e9lie", L"Ana\u00efs", L"Arcade", L"Blue", L"Deep", L"Daft", L"Pink", L"Red", L"White",
    L"Green", L"Young", L"Old", L"Little", L"Big", L"Dead", L"Happy", L"Lazy", L"Sonic", L"Mystic", L"Northern",
    L"Southern", L"Western", L"Eastern", L"Savage", L"Gentle", L"Quiet", L"Loud", L"Bright", L"Dark", L"Lost",
    L"Hidden", L"Secret"};
const wchar_t* const kSecond[] = {
    L"Horses", L"Wolves", L"Kings", L"Queens", L"Machines", L"Lights", L"Rivers", L"Mountains", L"Echoes",
    L"Shadows", L"Dreams", L"Ghosts", L"Hearts", L"Stones", L"Flowers", L"Birds", L"Rockets", L"Tigers",
    L"Ravens", L"Pilots", L"Sailors", L"Saints", L"Sinners", L"Strangers", L"Brothers", L"Sisters", L"Angels",
    L"Demons", L"Giants", L"Orchestra", L"Ensemble", L"Collective", L"Quartet", L"Trio", L"Band", L"Project",
    L"Society", L"Club", L"Union", L"Parade", L"Circus", L"Academy", L"Empire", L"Republic", L"Nation", L"Tribe",
    L"Crew", L"Gang", L"Army", L"Cr\u00fce", L"R\u00f3s", L"Pumpkins", L"Monkeys", L"Foxes", L"Bears", L"Lions",
    L"Owls", L"Snakes", L"Sharks", L"Whales", L"Dolphins", L"Falcons", L"Eagles", L"Hawks", L"Crows", L"Doves",
    L"Swans", L"Cranes", L"Herons", L"Sparrows", L"Robins", L"Finches", L"Larks", L"Wrens", L"Jays", L"Magpies",
    L"Starlings", L"Swallows", L"Martins", L"Swifts", L"Kites", L"Buzzards", L"Harriers", L"Ospreys"};
const wchar_t* const kWords[] = {
    L"love", L"night", L"day", L"heart", L"fire", L"rain", L"summer", L"winter", L"dance", L"dream", L"light",
    L"shadow", L"river", L"road", L"home", L"gone", L"forever", L"again", L"tonight", L"baby", L"girl", L"boy",
    L"world", L"time", L"life", L"sky", L"star", L"moon", L"sun", L"ocean", L"city", L"street", L"train",
    L"highway", L"window", L"door", L"garden", L"river", L"storm", L"thunder", L"silence", L"echo", L"memory",
    L"song", L"blues", L"soul", L"gold", L"silver", L"diamond", L"glass", L"paper", L"stone", L"wild", L"free",
    L"lonely", L"broken", L"sweet", L"bitter", L"cold", L"warm", L"blue", L"red", L"black", L"white", L"green",
    L"electric", L"midnight", L"morning", L"evening", L"sunday", L"monday", L"friday", L"angel", L"devil",
    L"heaven", L"paradise", L"desert", L"island", L"mountain", L"valley", L"forest", L"wolf", L"bird", L"horse",
    L"running", L"falling", L"flying", L"burning", L"dreaming", L"waiting", L"calling", L"shining", L"fading",
    L"rising", L"holding", L"letting", L"coming", L"going", L"tears", L"kiss", L"touch", L"eyes", L"hands",
    L"voice", L"words", L"secrets", L"promises", L"lies", L"truth", L"story", L"letter", L"picture", L"photograph",
    L"radio", L"television", L"machine", L"engine", L"rocket", L"planet", L"galaxy", L"universe", L"atom",
    L"crystal", L"velvet", L"satin", L"leather", L"lace", L"rose", L"lily", L"violet", L"jasmine", L"cherry",
    L"honey", L"sugar", L"candy", L"wine", L"whiskey", L"coffee", L"caf\u00e9", L"se\u00f1orita", L"na\u00efve"};
const wchar_t* const kGenres[] = {L"Rock", L"Pop", L"Jazz", L"Electronic", L"Folk", L"Blues", L"Classical",
                                  L"Hip-Hop", L"Metal", L"Soul", L"Country", L"Reggae", L"Ambient", L"Punk"};

template <class T, size_t N>
constexpr size_t CountOf(T (&)[N]) { return N; }

// A fixed sequence, so every generated cache is the same.
class Random {
public:
    unsigned Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    unsigned Below(unsigned n) { return Next() % n; }

private:
    unsigned state_ = 12345;
};

std::wstring Words(Random& random, int count) {
    std::wstring text;
    for (int i = 0; i < count; ++i) {
        std::wstring word = kWords[random.Below(CountOf(kWords))];
        if (i == 0) word[0] = static_cast<wchar_t>(towupper(word[0]));
        if (i) text += L' ';
        text += word;
    }
    return text;
}

std::wstring ArtistName(int index) {
    return std::wstring(kFirst[index % CountOf(kFirst)]) + L" " + kSecond[(index / CountOf(kFirst)) % CountOf(kSecond)] +
           (index >= static_cast<int>(CountOf(kFirst) * CountOf(kSecond)) ? L" II" : L"");
}

class Generator {
public:
    explicit Generator(sqlite3* db) : db_(db) {
        sqlite3_prepare16_v2(db_, L"INSERT INTO Folder (folderid, path, parentid, rootid, folder_exists, attributes) "
                                  L"VALUES (?, ?, ?, 1, 1, 16)", -1, &folder_, nullptr);
        sqlite3_prepare16_v2(db_, L"INSERT INTO Files (extension, folderid, file_exists, size, changed, filename, "
                                  L"title, artist, album, genre, comment, track, year, length, bitrate, playcount, "
                                  L"tagged) VALUES (?, ?, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                             -1, &file_, nullptr);
    }
    ~Generator() {
        sqlite3_finalize(folder_);
        sqlite3_finalize(file_);
    }

    int Folder(const std::wstring& path, int parent) {
        int id = ++folderId_;
        sqlite3_bind_int(folder_, 1, id);
        sqlite3_bind_text16(folder_, 2, path.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(folder_, 3, parent);
        sqlite3_step(folder_);
        sqlite3_reset(folder_);
        return id;
    }

    void File(int folderId, int track, const std::wstring& artist, const std::wstring& album, int year) {
        unsigned kind = random_.Below(100);
        const wchar_t* extension = kind < 90 ? L"mp3" : kind < 97 ? L"flac" : L"ogg";
        std::wstring title = Words(random_, 1 + static_cast<int>(random_.Below(4)));
        wchar_t number[8];
        swprintf(number, 8, L"%02d - ", track);
        std::wstring name = number + title + L"." + extension;
        bool tagged = random_.Below(10) != 0;
        int length = 120000 + static_cast<int>(random_.Below(300000));
        int i = 1;
        sqlite3_bind_text16(file_, i++, extension, -1, SQLITE_STATIC);
        sqlite3_bind_int(file_, i++, folderId);
        sqlite3_bind_int64(file_, i++, 3000000 + random_.Below(9000000));
        sqlite3_bind_int64(file_, i++, 132000000000000000LL + random_.Next());
        sqlite3_bind_text16(file_, i++, name.c_str(), -1, SQLITE_TRANSIENT);
        if (tagged) {
            std::wstring comment = random_.Below(5) == 0 ? L"Remastered " + std::to_wstring(year + 20) : L"";
            sqlite3_bind_text16(file_, i++, title.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text16(file_, i++, artist.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text16(file_, i++, album.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text16(file_, i++, kGenres[random_.Below(CountOf(kGenres))], -1, SQLITE_STATIC);
            if (comment.empty())
                sqlite3_bind_null(file_, i++);
            else
                sqlite3_bind_text16(file_, i++, comment.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(file_, i++, track);
            sqlite3_bind_int(file_, i++, year);
            sqlite3_bind_int(file_, i++, length);
            sqlite3_bind_int(file_, i++, kind < 90 ? 320 : 900);
        } else {
            for (int n = 0; n < 5; ++n) sqlite3_bind_null(file_, i++);
            for (int n = 0; n < 4; ++n) sqlite3_bind_int(file_, i++, 0);
        }
        sqlite3_bind_int(file_, i++, static_cast<int>(random_.Below(4) == 0 ? random_.Below(50) : 0));
        sqlite3_bind_int(file_, i++, tagged ? 1 : 0);
        sqlite3_step(file_);
        sqlite3_reset(file_);
    }

    Random& random() { return random_; }

private:
    sqlite3* db_;
    sqlite3_stmt* folder_ = nullptr;
    sqlite3_stmt* file_ = nullptr;
    int folderId_ = 0;
    Random random_;
};

void Generate(const std::wstring& file) {
    sqlite3* db = nullptr;
    sqlite3_open16(file.c_str(), &db);
    // Only for filling the file quickly; the measurements open it afresh with the defaults.
    sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA cache_size=-262144; BEGIN", nullptr,
                 nullptr, nullptr);
    {
        Generator generator(db);
        int root = generator.Folder(L"D:\\Music\\", 0);
        int albums = 0;
        for (int a = 0; a < kArtists && albums < kAlbumFolders; ++a) {
            std::wstring artist = ArtistName(a);
            int artistFolder = generator.Folder(L"D:\\Music\\" + artist + L"\\", root);
            for (int b = 0; b < kAlbumsPerArtist && albums < kAlbumFolders; ++b, ++albums) {
                std::wstring album = Words(generator.random(), 1 + static_cast<int>(generator.random().Below(3)));
                int year = 1960 + static_cast<int>(generator.random().Below(60));
                int albumFolder =
                    generator.Folder(L"D:\\Music\\" + artist + L"\\" + std::to_wstring(year) + L" - " + album + L"\\",
                                     artistFolder);
                for (int t = 1; t <= kFilesPerAlbum; ++t) generator.File(albumFolder, t, artist, album, year);
            }
        }
        int singles = generator.Folder(kSingles, root);
        for (int t = 0; t < kSinglesFiles; ++t)
            generator.File(singles, t % 99 + 1, ArtistName(static_cast<int>(generator.random().Below(kArtists))),
                           L"Singles", 2000 + t % 20);
    }
    sqlite3_exec(db, "COMMIT; ANALYZE", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

long long FileCount(const std::wstring& file) {
    sqlite3* db = nullptr;
    long long count = -1;
    if (sqlite3_open16(file.c_str(), &db) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM Files", -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            count = sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return count;
}

// One measured listing: what ListFiles or ListQueryView is asked, and the bare statement that
// answers the same question.
struct Case {
    const char* label;
    int options;
    std::wstring search;        // search text, or a "?" condition
    const wchar_t* folder;      // null: the whole cache
};

std::wstring FloorSql(const Case& c, const TypeFilter& types) {
    if (!c.search.empty() && c.search[0] == L'?')
        return L"SELECT * FROM QueryView WHERE fileexists=1 AND folderexists=1 AND " + c.search.substr(1);
    ListingForm form = ChooseListingForm(!c.search.empty(), c.folder != nullptr, false);
    return ListingSql(form, c.options, types.size());
}

// Reads every column a listing row is made from, and keeps nothing.
void TouchColumns(sqlite3_stmt* st) {
    for (int column : {1, 2, 4, 5, 6, 7, 8}) {
        if (sqlite3_column_text16(st, column)) sqlite3_column_bytes16(st, column);
    }
    for (int column : {0, 9, 10, 11, 12, 13, 14, 15, 16}) sqlite3_column_int64(st, column);
}

// Steps the statement to its end reading no column (or, to show where the time goes, reading
// the columns without making records): the cost SQLite alone sets.
long long RunBare(sqlite3* db, const Case& c, const TypeFilter& types, bool readColumns = false) {
    sqlite3_stmt* st = nullptr;
    std::string sql = WideToUtf8(FloorSql(c, types));
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return -1;
    std::vector<std::wstring> terms = SplitSearchTerms(c.search);
    std::wstring path;  // bound without a copy: it must outlive the steps
    if (c.search.empty() || c.search[0] != L'?') {
        ListingForm form = ChooseListingForm(!terms.empty(), c.folder != nullptr, false);
        if (form == ListingForm::kSearch)
            sqlite3_bind_text16(st, sqlite3_bind_parameter_index(st, ":query"), terms[0].c_str(), -1, SQLITE_STATIC);
        path = PathParameter(form, c.options, c.folder ? c.folder : L"");
        if (form != ListingForm::kWholeCache)
            sqlite3_bind_text16(st, sqlite3_bind_parameter_index(st, ":path"), path.c_str(), -1, SQLITE_STATIC);
        int index = FirstExtensionIndex(form);
        for (const std::wstring& type : types) sqlite3_bind_text16(st, index++, type.c_str(), -1, SQLITE_STATIC);
    }
    long long rows = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        ++rows;
        if (readColumns) TouchColumns(st);
    }
    sqlite3_finalize(st);
    return rows;
}

Ref<RowList> RunOurs(CacheDatabase& database, const Case& c) {
    ListTotals totals;
    database.SetListingOptions(ParseTypeFilter(kTypes), c.options);
    if (!c.search.empty() && c.search[0] == L'?') return ListQueryView(database, c.search, totals);
    std::wstring folder = c.folder ? c.folder : L"";
    return ListFiles(database, SplitSearchTerms(c.search), c.folder ? &folder : nullptr, totals, false);
}

void Report(const char* label, size_t rows, double ours, double floor) {
    std::printf("%-26s %8u rows  ours %7.0f ms  floor %7.0f ms  ratio %5.2f\n", label, static_cast<unsigned>(rows),
                ours * 1000, floor * 1000, floor > 0 ? ours / floor : 0.0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: listing_bench FOLDER [whole]\n");
        return 2;
    }
    CreateDirectoryW(argv[1], nullptr);
    std::wstring folder = std::wstring(argv[1]) + L"\\Listing";
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring file = folder + L"\\" + kCacheFileName;
    if (FileCount(file) != kTotalFiles) {
        std::printf("Generating a cache of %lld files in %s ...\n", kTotalFiles, WideToUtf8(file).c_str());
        std::fflush(stdout);
        DeleteFileW(file.c_str());
        double start = Seconds();
        {
            CacheDatabase database(folder);
            database.CreateSchema();
        }
        Generate(file);
        std::printf("generated in %.1f s\n", Seconds() - start);
    }

    CacheDatabase database(folder);
    TypeFilter types = ParseTypeFilter(kTypes);
    const Case whole{"whole cache", 0, L"", nullptr};
    const Case cases[] = {
        whole,
        {"one folder (10,000 files)", 0, L"", kSingles},
        {"one folder, accents on", kStripAccents, L"", kSingles},
        {"one search word", 0, L"love", nullptr},
        {"two search words", 0, L"love night", nullptr},
        {"?artist LIKE 'a%'", 0, L"?artist LIKE 'a%'", nullptr},
        {"accents on, \"bjork\"", kStripAccents, L"bjork", nullptr},
    };

    // Memory first, before any listing of ours has left freed blocks in the heap: the bare run
    // warms SQLite's page cache, so the difference is the listing alone.
    RunBare(database.Connection(), whole, types);
    long long before = PrivateBytes();
    Ref<RowList> held = RunOurs(database, whole);
    long long after = PrivateBytes();
    size_t heldRows = held->rows.size();
    database.ReleaseListingMapping();
    std::printf("memory: %u records, private bytes %+lld, %.1f bytes per record (record object %u bytes)\n\n",
                static_cast<unsigned>(heldRows), after - before,
                heldRows ? static_cast<double>(after - before) / static_cast<double>(heldRows) : 0.0,
                static_cast<unsigned>(sizeof(FileRecord)));
    held.Reset();

    std::printf("best of %d runs, thread CPU time; the floor steps the same statement reading nothing\n", kRuns);
    // "whole" times only the listing of the whole cache.
    bool onlyWhole = argc > 2 && std::wstring(argv[2]) == L"whole";
    for (const Case& c : cases) {
        if (onlyWhole && &c != &cases[0]) continue;
        double floor = 1e9, ours = 1e9;
        size_t rows = 0;
        for (int i = 0; i < kRuns; ++i) {
            double start = CpuSeconds();
            RunBare(database.Connection(), c, types);
            floor = std::min(floor, CpuSeconds() - start);
            start = CpuSeconds();
            Ref<RowList> list = RunOurs(database, c);
            ours = std::min(ours, CpuSeconds() - start);
            rows = list->rows.size();
            // Let go outside the timing, as the worker does once the rows are sent; the view
            // frees an old list, not the worker.
            database.ReleaseListingMapping();
        }
        Report(c.label, rows, ours, floor);
    }
    double columns = 1e9;
    for (int i = 0; i < kRuns; ++i) {
        double start = CpuSeconds();
        RunBare(database.Connection(), whole, types, true);
        columns = std::min(columns, CpuSeconds() - start);
    }
    std::printf("where the whole cache's time goes: the statement with its columns read, no records made: %.0f ms\n",
                columns * 1000);
    // Ours reads the whole cache through a view of the file; the floor above reads it as SQLite
    // does by default, a call per page. The same bare statement through a view, for comparison:
    double mappedFloor = 1e9;
    for (int i = 0; i < kRuns; ++i) {
        ReadMapping mapping(database.Connection(), "main", true);
        double start = CpuSeconds();
        RunBare(database.Connection(), whole, types);
        mappedFloor = std::min(mappedFloor, CpuSeconds() - start);
    }
    std::printf("the whole cache's bare statement through a view of the file: %.0f ms\n", mappedFloor * 1000);
    return 0;
}
