// Narrowing a search by its later words through the index: the rows listed with the index equal
// the rows without it, also where the system's case-blind comparison sees more than ASCII case
// (ligatures, "ß", ignored characters, full-width and dotted letters), and narrowing does leave
// files out where it may.
#include <windows.h>
#include <shlwapi.h>

#include <algorithm>

#include "db/ListingOptions.h"
#include "db/SearchIndexFixture.h"
#include "db/ReadMapping.h"
#include "db/SearchInertUnits.h"
#include "db/SearchPlainText.h"
#include "db/StripAccent.h"
#include "support/QueryNumber.h"

namespace {

// Printable ASCII only: texts the later words may leave out.
const std::vector<std::wstring> kPlainPieces = {L"love",  L"Night",  L"RIVER", L"o'Brien", L"rock-n-roll", L"100%",
                                                L"a_b",   L"wow!",   L"Summer", L"SUMMIT", L"r&b",         L"tonight",
                                                L"Lovely", L"nights", L"x",      L"ab",     L"\"quoted\"",  L"fire"};

wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; }
bool IsAlnum(wchar_t c) { return IsNarrowingWord(std::wstring(3, c)); }

}  // namespace

class SearchNarrowingTest : public SearchIndexTest {
protected:
    std::wstring PlainText() {
        std::wstring text;
        for (int n = 1 + static_cast<int>(random() % 3); n > 0; --n) {
            if (!text.empty()) text += random() % 3 == 0 ? L"-" : L" ";
            text += Mangled(kPlainPieces[random() % kPlainPieces.size()]);
        }
        return text;
    }
    long long CacheBytes() const {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExW(CacheFile().c_str(), GetFileExInfoStandard, &data)) return 0;
        return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    // Plain files in every folder, beside the generated ones whose texts are mostly wide.
    void AddPlainFiles(int count) {
        for (int i = 0; i < count; ++i)
            AddFile(1 + static_cast<long long>(random() % folders.size()), PlainText() + L".mp3", PlainText());
    }
};

TEST(SearchPlainTextTest, WordsAndTexts) {
    EXPECT_TRUE(IsNarrowingWord(L"Love"));
    EXPECT_TRUE(IsNarrowingWord(L"b52"));
    for (const wchar_t* word : {L"ab", L"", L"o'b", L"100%", L"a_b", L"caf\u00e9", L"\uff21\uff22\uff23", L"ni-ght"})
        EXPECT_FALSE(IsNarrowingWord(word)) << static_cast<int>(std::wstring(word).size());
    EXPECT_TRUE(IsPlainText(L""));
    EXPECT_TRUE(IsPlainText(L" Rock-n-Roll 100% ~'\"!"));
    for (const wchar_t* text : {L"caf\u00e9", L"a\tb", L"a\u00adb", L"\ufb01re", L"a\x7f", L"\uff41"})
        EXPECT_FALSE(IsPlainText(text));
}

// What narrowing rests on, checked against the comparison the in-memory test uses: a window of
// printable ASCII equals a word of ASCII letters and digits, ignoring case, only when it holds
// the same letters. Every one-character window, and two-character windows with a sign in them
// (the signs some sort orders pass over).
TEST(SearchPlainTextTest, CaseBlindComparisonOfPlainTextIsAsciiCaseFolding) {
    std::wstring printable, alnum;
    for (wchar_t c = L' '; c <= L'~'; ++c) {
        printable += c;
        if (IsAlnum(c)) alnum += c;
    }
    for (wchar_t c : printable)
        for (wchar_t a : alnum)
            ASSERT_EQ(StrCmpNIW(std::wstring(1, c).c_str(), std::wstring(1, a).c_str(), 1) == 0, AsciiLower(c) == AsciiLower(a))
                << static_cast<int>(c) << " " << static_cast<int>(a);
    for (wchar_t sign : printable) {
        if (IsAlnum(sign)) continue;
        for (wchar_t letter : alnum) {
            for (const std::wstring& window : {std::wstring{sign, letter}, std::wstring{letter, sign}}) {
                for (wchar_t a : alnum)
                    for (wchar_t b : {L'a', L'Z', L'0', letter})
                        ASSERT_NE(StrCmpNIW(window.c_str(), std::wstring{a, b}.c_str(), 2), 0) << static_cast<int>(sign);
            }
        }
    }
}

// Files whose texts hold the later word only as the case-blind comparison sees it, never
// letter for letter, are listed exactly as without the index, and no file with a unit the
// comparison may read as letters or as nothing is left out of the proposal; files without the
// word are left out when all their texts are plain, or beyond ASCII only in inert units.
TEST_F(SearchNarrowingTest, TextsTheComparisonMayReadOtherwiseAreNeverLeftOut) {
    std::vector<std::wstring> titles = {
        L"Qzx \ufb01\u00adre",   L"Qzx fi\u00adre",      L"Qzx stra\u00dfe\u00ad", L"Qzx \uff46\uff49\uff52\uff45",
        L"Qzx F\u0130RE",        L"Qzx f\u0131re",        L"Qzx f\u0130re",         L"Qzx \u00c6ther",
        L"Qzx fi\u200bre",       L"Qzx f\tire",           L"Qzx FIRE",              L"Qzx aether",
        L"Qzx Bj\u00f6rk water", L"Qzx Caf\u00e9 \u00a7",  L"Qzx f\u00eere"};
    InertUnits units;
    std::vector<long long> active, inertWithout;
    for (const std::wstring& title : titles) {
        long long id = AddFile(1, L"plain.mp3", title);
        if (IsPlainText(title)) continue;
        bool inert = units.IsSimple(title) && units.IsSimple(StripAccentText(title));
        if (!inert) active.push_back(id);
        else if (!HoldsAsciiWord(title, L"fire") && !HoldsAsciiWord(StripAccentText(title), L"fire"))
            inertWithout.push_back(id);
    }
    long long without = AddFile(1, L"plain.mp3", L"Qzx water");
    // A unit the comparison stops at, beside inert ones: written by SQL, since a bound C string
    // would end there.
    long long stopped = AddFile(1, L"plain.mp3", L"Qzx");
    Run(*fast, L"UPDATE Files SET title='Qzx caf\u00e9' || char(0) || 'fire' WHERE fileid=" + std::to_wstring(stopped));
    active.push_back(stopped);
    ASSERT_TRUE(BuildAll());
    for (int options : {0, static_cast<int>(kStripAccents)}) {
        SetOptions(options);
        for (const wchar_t* text : {L"qzx fire", L"qzx strasse", L"qzx FIRE", L"qzx aether", L"QZX ther", L"qzx wat",
                                    L"qzx bjork", L"qzx cafe", L"qzx water"})
            EXPECT_EQ(Fast(text), Plain(text)) << options << " " << static_cast<int>(std::wstring(text).size());
    }
    std::optional<std::vector<long long>> proposed = index->Candidates(L"qzx", {L"fire"});
    ASSERT_TRUE(proposed);
    for (long long id : active) EXPECT_TRUE(std::binary_search(proposed->begin(), proposed->end(), id)) << id;
    EXPECT_FALSE(std::binary_search(proposed->begin(), proposed->end(), without));
    ASSERT_FALSE(inertWithout.empty());
    for (long long id : inertWithout) EXPECT_FALSE(std::binary_search(proposed->begin(), proposed->end(), id)) << id;
}

// 200 searches of two or three words over plain and wide files, under each listing option and
// from the top and from folders, after writes the index follows.
TEST_F(SearchNarrowingTest, ListsTheRowsOfThePlainStatementForRandomWordGroups) {
    AddPlainFiles(1500);
    ASSERT_TRUE(BuildAll());
    Run(*fast, L"UPDATE Files SET title='Lovely Night' WHERE fileid % 97 = 0");
    Run(*fast, L"UPDATE Files SET artist='Caf\u00e9 Summer' WHERE fileid % 89 = 0");
    ASSERT_TRUE(index->Complete());
    const int optionSets[] = {0, kStripAccents, kHideEmptyFiles, kLimitSearch, kStripAccents | kLimitSearch};
    auto word = [&]() {
        switch (random() % 4) {
            case 0: return Mangled(kTextPieces[random() % kTextPieces.size()]);
            case 1: return Mangled(kPlainPieces[random() % kPlainPieces.size()]).substr(random() % 2);
            default: return Mangled(kPlainPieces[random() % kPlainPieces.size()]);
        }
    };
    int narrowed = 0;
    for (int i = 0; i < 200; ++i) {
        std::wstring text = word() + L" " + word();
        if (i % 4 == 0) text += L" " + word();
        int options = optionSets[i % 5];
        SetOptions(options);
        const std::wstring* from = (options & kLimitSearch) || i % 3 == 0 ? &folders[random() % folders.size()] : nullptr;
        ListTotals fastTotals, plainTotals;
        ASSERT_EQ(Listed(*fast, text, from, &fastTotals), Listed(*plain, text, from, &plainTotals))
            << "search " << i << " options " << options;
        EXPECT_EQ(fastTotals.bytes, plainTotals.bytes);
        std::vector<std::wstring> terms = SplitSearchTerms(text);
        std::optional<std::vector<long long>> first = index->Candidates(terms[0]);
        std::optional<std::vector<long long>> all =
            index->Candidates(terms[0], std::vector<std::wstring>(terms.begin() + 1, terms.end()));
        if (first && all && all->size() < first->size()) ++narrowed;
    }
    // Were the later words never to narrow, the test would prove nothing.
    EXPECT_GE(narrowed, 40);
}

// The index is mapped only while it is read. The cache stays mapped after an indexed search or
// a listing of the whole cache until it is let go (the worker does once the rows are sent) or
// another listing needs no view, and a row written while it is mapped is read as written.
TEST_F(SearchNarrowingTest, TheMappingLastsUntilLetGoAndSeesWritesMeanwhile) {
    ASSERT_TRUE(BuildAll());
    long long id = ShownFile(5);
    auto mapped = [&](const wchar_t* schema) {
        return QueryNumber(*fast, std::wstring(L"PRAGMA ") + schema + L".mmap_size") > 0;
    };
    // A word in no file is the narrowest proposal of all: none.
    EXPECT_EQ(Fast(L"glockenspiel"), std::vector<long long>{});
    EXPECT_TRUE(mapped(L"main"));
    EXPECT_FALSE(mapped(L"cvsearch"));
    Run(*fast, L"UPDATE Files SET title='Glockenspiel Summary' WHERE fileid=" + std::to_wstring(id));
    std::vector<long long> found = Fast(L"glockenspiel summary");
    EXPECT_EQ(found, std::vector<long long>{id});
    EXPECT_EQ(found, Plain(L"glockenspiel summary"));
    fast->ReleaseListingMapping();
    EXPECT_FALSE(mapped(L"main"));

    // The whole cache is read through a view as well, and sees the latest write.
    Run(*fast, L"UPDATE Files SET size=size+1 WHERE fileid=" + std::to_wstring(id));
    ListTotals fastTotals, plainTotals;
    EXPECT_EQ(Listed(*fast, L"", nullptr, &fastTotals), Listed(*plain, L"", nullptr, &plainTotals));
    EXPECT_EQ(fastTotals.bytes, plainTotals.bytes);
    EXPECT_TRUE(mapped(L"main"));
    fast->ReleaseListingMapping();

    // Neither a folder listed nor a word too short for the index keeps the view.
    const std::wstring& folder = folders.front();
    for (const std::wstring* from : {&folder, static_cast<const std::wstring*>(nullptr)}) {
        Fast(L"glockenspiel");
        ASSERT_TRUE(mapped(L"main"));
        const wchar_t* text = from ? L"" : L"su";
        EXPECT_EQ(Fast(text, from), Plain(text, from));
        EXPECT_FALSE(mapped(L"main")) << (from ? "folder" : "short word");
    }
}

// A process short of address space reads its cache page by page rather than find no room left
// for the rows: the same listing, with no view.
TEST_F(SearchNarrowingTest, NoViewIsTakenWithoutRoomForTheRowsBesideIt) {
    ASSERT_TRUE(BuildAll());
    std::vector<long long> whole = Plain(L"");
    ASSERT_FALSE(whole.empty());
    // Reserve address space until less than twice the file and a margin is left; reserving
    // commits nothing, so the listing still has memory for what it makes.
    std::vector<void*> reserved;
    for (SIZE_T chunk = 64u << 20; chunk >= (1u << 20) && ReadMapping::RoomFor(CacheBytes());) {
        if (void* block = VirtualAlloc(nullptr, chunk, MEM_RESERVE, PAGE_NOACCESS))
            reserved.push_back(block);
        else
            chunk /= 2;
    }
    bool shortOfRoom = !ReadMapping::RoomFor(CacheBytes());
    std::vector<long long> listed = Fast(L"");
    bool mapped = QueryNumber(*fast, L"PRAGMA main.mmap_size") > 0;
    fast->ReleaseListingMapping();
    for (void* block : reserved) VirtualFree(block, 0, MEM_RELEASE);
    ASSERT_TRUE(shortOfRoom);
    EXPECT_FALSE(mapped);
    EXPECT_EQ(listed, whole);
    EXPECT_TRUE(ReadMapping::RoomFor(CacheBytes()));
}
