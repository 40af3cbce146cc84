// The start-up of a cache folder as the view makes it, with the user's answers scripted, and
// a plain outside connection to look at the file afterwards.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <windows.h>

#include <functional>
#include <vector>

#include "db/CacheDatabase.h"
#include "db/CacheStartup.h"
#include "support/TempFolder.h"


class ScriptedPrompt : public UserPrompt {
public:
    explicit ScriptedPrompt(std::vector<bool> answers) : answers_(std::move(answers)) {}
    bool AskYesNo(const std::wstring& caption, const std::wstring& text) override {
        asked.push_back(text);
        captions.push_back(caption);
        if (onAsk) onAsk();
        size_t i = asked.size() - 1;
        return i < answers_.size() && answers_[i];
    }
    std::vector<std::wstring> asked;
    std::vector<std::wstring> captions;
    std::function<void()> onAsk;

private:
    std::vector<bool> answers_;
};

// Reads one value with a plain connection of its own, as an outside tool would.
inline std::wstring Query(const std::wstring& file, const char* sql) {
    sqlite3* db = nullptr;
    std::wstring out;
    if (sqlite3_open16(file.c_str(), &db) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK) {
            while (sqlite3_step(st) == SQLITE_ROW) {
                auto text = static_cast<const wchar_t*>(sqlite3_column_text16(st, 0));
                if (!out.empty()) out += L",";
                out += text ? text : L"NULL";
            }
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return out;
}

inline void MakeDatabase(const std::wstring& file, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open16(file.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

class CacheDatabaseTest : public testing::Test {
protected:
    std::wstring CacheFolder() const { return folder.File(L"Crateview\\Cache"); }
    std::wstring DbFile() const { return CacheFolder() + L"\\cvCache.db"; }
    void PrepareFolder() {
        CreateDirectoryW(folder.File(L"Crateview").c_str(), nullptr);
        CreateDirectoryW(CacheFolder().c_str(), nullptr);
    }
    CacheStartupOutcome StartWith(ScriptedPrompt& prompt) {
        CacheDatabase database(CacheFolder());
        return PrepareCacheAtStartup(database, prompt);
    }
    std::wstring Schema() const {
        return Query(DbFile(), "SELECT type || ':' || name FROM sqlite_master ORDER BY type, name");
    }

    TempFolder folder;
};

