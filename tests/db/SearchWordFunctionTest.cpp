// SearchWordIn against the LIKE tests it stands for: every pattern against every text, stored
// as the cache stores them (UTF-16), must give the answer the OR of LIKEs gives, including where
// LIKE's own reading of a text is odd (lone surrogates, an embedded NUL, case beyond ASCII).
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "db/LikePattern.h"
#include "db/MatchTerms.h"
#include "db/SearchWordFunction.h"

namespace {

class Memory {
public:
    Memory() {
        sqlite3_open16(L":memory:", &db_);
        Exec("PRAGMA encoding='UTF-16le'");
        Exec("CREATE TABLE t(id INTEGER PRIMARY KEY, a TEXT, b TEXT)");
        RegisterSearchWordFunction(db_);
    }
    ~Memory() { sqlite3_close(db_); }
    void Exec(const char* sql) { ASSERT_EQ(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql; }
    void Add(long long id, const std::wstring* a, const std::wstring& b) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db_, "INSERT INTO t VALUES(?,?,?)", -1, &st, nullptr);
        sqlite3_bind_int64(st, 1, id);
        if (a) sqlite3_bind_text16(st, 2, a->data(), static_cast<int>(a->size() * 2), SQLITE_TRANSIENT);
        sqlite3_bind_text16(st, 3, b.data(), static_cast<int>(b.size() * 2), SQLITE_TRANSIENT);
        sqlite3_step(st);
        sqlite3_finalize(st);
    }
    // The ids one statement selects for the word, escaped as the listings escape it.
    std::vector<long long> Ids(const char* sql, const std::wstring& word) {
        std::wstring query = EscapeLike(word);
        sqlite3_stmt* st = nullptr;
        std::vector<long long> ids;
        if (sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) != SQLITE_OK) return {-1};
        sqlite3_bind_text16(st, 1, query.data(), static_cast<int>(query.size() * 2), SQLITE_TRANSIENT);
        int status;
        while ((status = sqlite3_step(st)) == SQLITE_ROW) ids.push_back(sqlite3_column_int64(st, 0));
        if (status != SQLITE_DONE) ids.push_back(-2);
        sqlite3_finalize(st);
        return ids;
    }

private:
    sqlite3* db_ = nullptr;
};

const char kLike[] =
    "SELECT id FROM t WHERE a LIKE ('%' || ?1 || '%') ESCAPE '!' OR b LIKE ('%' || ?1 || '%') ESCAPE '!' ORDER BY id";
const char kFunction[] = "SELECT id FROM t WHERE SearchWordIn('%' || ?1 || '%', a, b) ORDER BY id";

}  // namespace

TEST(SearchWordFunctionTest, AnswersAsLikeForEveryTextAndWord) {
    const std::vector<std::wstring> texts = {
        L"Love Song", L"GLOVES", L"l\u00f6ve", L"\u00c9t\u00e9 love", L"\u00e9t\u00e9", L"100% pure", L"a_b!c",
        L"wow!", L"lo\u00adve", L"\uff2c\uff4f\uff56\uff45", L"Kelvin \u212a", L"\U0001F3B5love",
        // A lone high surrogate swallows the unit after it once LIKE reads the text as UTF-8.
        std::wstring(L"x") + wchar_t(0xD800) + L"love", std::wstring(L"lo") + wchar_t(0xDC00) + L"ve",
        std::wstring(L"abc") + wchar_t(0xD83C), std::wstring(L"hidden\0love", 11), std::wstring(L"love\0x", 6), L"",
        L"\u0130stanbul", L"istanbul"};
    const std::vector<std::wstring> words = {L"love", L"LOVE", L"ove", L"l\u00f6ve", L"\u00e9t\u00e9", L"\u00c9T\u00c9",
                                             L"100%", L"a_b", L"!c", L"wow!", L"_", L"%", L"k", L"\u212a",
                                             L"\U0001F3B5", L"xlove", L"istanbul", L"\u0130", L"e", L"hidden"};
    Memory memory;
    long long id = 0;
    for (const std::wstring& text : texts) {
        memory.Add(++id, &text, L"-");
        memory.Add(++id, nullptr, text);  // the matching text in a later argument, after a NULL
    }
    for (const std::wstring& word : words) {
        std::vector<long long> like = memory.Ids(kLike, word);
        EXPECT_EQ(memory.Ids(kFunction, word), like) << "word of " << word.size() << " units: " << int(word[0]);

        // The in-memory test of an ASCII word, the text in the folder path or a tag.
        std::optional<std::string> ascii = AsciiLikeWord(word);
        if (!ascii) continue;
        TermMatcher matcher({}, 0, 0);
        matcher.RequireLikeWord(*ascii);
        std::vector<long long> inMemory;
        long long at = 0;
        for (const std::wstring& text : texts) {
            MatchFields inFolder{L"-", {}, {}, {}, {}, {}, text};
            MatchFields inTag{{}, {}, {}, {}, {}, text, L"-"};
            if (matcher.Matches(inFolder)) inMemory.push_back(at + 1);
            if (matcher.Matches(inTag)) inMemory.push_back(at + 2);
            at += 2;
        }
        EXPECT_EQ(inMemory, like) << "in memory, word of " << word.size() << " units: " << int(word[0]);
    }
}

TEST(SearchWordFunctionTest, RefusesAPatternLikeWouldRefuse) {
    Memory memory;
    memory.Add(1, nullptr, L"love");
    std::wstring longWord(60000, L'a');
    EXPECT_EQ(memory.Ids(kLike, longWord), std::vector<long long>{-2});
    EXPECT_EQ(memory.Ids(kFunction, longWord), std::vector<long long>{-2});
}

TEST(SearchWordFunctionTest, HoldsAsciiLikeWord) {
    EXPECT_TRUE(HoldsAsciiLikeWord(L"Gloves", "love"));
    EXPECT_TRUE(HoldsAsciiLikeWord(L"xxLOV", "lov"));
    EXPECT_FALSE(HoldsAsciiLikeWord(L"lov", "love"));
    EXPECT_FALSE(HoldsAsciiLikeWord(L"\uff2cove", "love"));  // full-width letters are not ASCII
    EXPECT_FALSE(HoldsAsciiLikeWord(std::wstring(L"lo\0ve", 5), "love"));
    EXPECT_TRUE(HoldsAsciiLikeWord(L"llove", "love"));  // a failed start does not skip the next one
    EXPECT_FALSE(AsciiLikeWord(L""));
    EXPECT_FALSE(AsciiLikeWord(L"caf\u00e9"));
    EXPECT_EQ(AsciiLikeWord(L"LoVe%"), std::optional<std::string>("love%"));
}
