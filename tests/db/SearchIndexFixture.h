// A generated cache of a few thousand files with mixed-case, accented, non-Latin and wildcard
// texts, opened twice: once with the search index built, once on a connection of its own
// without one, so every search can be answered both ways and compared.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "db/CacheDatabase.h"
#include "db/Listing.h"
#include "db/SearchIndex.h"
#include "support/TempFolder.h"

// Pieces the generated texts are made of: accents, ligatures, full-width letters, other
// scripts, the LIKE wildcards and escape, and quotes.
inline const std::vector<std::wstring> kTextPieces = {
    L"love", L"Night", L"riv\u00e9r", L"Bj\u00f6rk", L"\u00c6on", L"stra\u00dfe", L"\u00dcnter", L"100%", L"a_b",
    L"wow!", L"Caf\u00e9", L"na\u00efve", L"\u0395\u03bb\u03bb\u03ac\u03b4\u03b1", L"\u041c\u043e\u0441\u043a\u0432\u0430",
    L"\u6771\u4eac\u90fd", L"\ufb01re", L"\uff21\uff22\uff23", L"\u0130stanbul", L"\u0131i", L"O'Brien", L"\"quoted\"",
    L"x", L"ab", L"Summer", L"SUMMIT", L"mo\u0308tley", L"\U0001F3B5tune", L"r&b", L"50_50",
};

class SearchIndexTest : public testing::Test {
protected:
    void SetUp() override;

    // The listing a search makes on one of the two connections.
    static std::vector<long long> Listed(CacheDatabase& database, const std::wstring& text, const std::wstring* folder,
                                         ListTotals* totals = nullptr, bool compatibility = false);
    std::vector<long long> Fast(const std::wstring& text, const std::wstring* folder = nullptr) {
        return Listed(*fast, text, folder);
    }
    std::vector<long long> Plain(const std::wstring& text, const std::wstring* folder = nullptr) {
        return Listed(*plain, text, folder);
    }
    void SetOptions(int options);
    void Run(CacheDatabase& database, const std::wstring& sql);
    long long AddFile(long long folderId, const std::wstring& name, const std::wstring& title);
    // Builds until nothing is left; false when the index is not complete afterwards.
    bool BuildAll();
    // Closes the indexed connection (the index is marked in step as the run ends) and opens
    // it again with a fresh index object.
    void Reopen();
    std::wstring CacheFile() const { return folder.File(kCacheFileName); }
    std::wstring IndexFile() const { return folder.File(kSearchIndexFileName); }

    // The id of the n-th file every listing shows (existing, in an existing folder, of a listed
    // type, not empty).
    long long ShownFile(int n);
    std::wstring Syllable();
    std::wstring RandomText();
    std::wstring Mangled(std::wstring text);

    TempFolder folder;
    std::unique_ptr<CacheDatabase> fast;
    std::unique_ptr<CacheDatabase> plain;
    SearchIndex* index = nullptr;
    std::vector<std::wstring> folders;
    std::vector<std::wstring> texts;
    std::mt19937 random{20261208};
};
