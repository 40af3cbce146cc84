// A cache file holding a small library for the listing and file-statement tests: a root
// folder, an accented artist folder with a subfolder, a rock folder, a folder marked gone, and
// files of every kind a listing must tell apart.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/QueryNumber.h"
#include "base/Text.h"
#include "db/CacheDatabase.h"
#include "support/TempFolder.h"

inline const std::wstring kRoot = L"D:\\Music\\";
inline const std::wstring kBjork = L"D:\\Music\\Bj\u00f6rk\\";
inline const std::wstring kPost = L"D:\\Music\\Bj\u00f6rk\\Post\\";
inline const std::wstring kRock = L"D:\\Music\\Rock\\";
inline const std::wstring kGone = L"D:\\Music\\Gone\\";

struct FileRow {
    const wchar_t* name;
    const wchar_t* title = nullptr;
    const wchar_t* artist = nullptr;
    const wchar_t* album = nullptr;
    const wchar_t* genre = nullptr;
    const wchar_t* comment = nullptr;
    long long size = 100;
    int length = 0;
    bool tagged = true;
    bool exists = true;
};

class LibraryCacheTest : public testing::Test {
protected:
    void SetUp() override {
        db = std::make_unique<CacheDatabase>(folder.path());
        ASSERT_TRUE(db->CreateSchema());
        int root = AddFolder(kRoot, 0);
        int bjork = AddFolder(kBjork, root);
        int post = AddFolder(kPost, bjork);
        int rock = AddFolder(kRock, root);
        int gone = AddFolder(kGone, root, false);
        AddFile(root, {L"intro.mp3", nullptr, nullptr, nullptr, nullptr, nullptr, 100, 0, false});
        AddFile(root, {L"silence.mp3", L"Silence", nullptr, nullptr, nullptr, nullptr, 0});
        armyId = AddFile(bjork, {L"Army of Me.mp3", L"Army of Me", L"Bj\u00f6rk", L"Post", L"Pop", nullptr,
                                 5000000000LL, 250500});
        Run(L"UPDATE Files SET track=3, year=1995, bitrate=320, playcount=7, changed=132000000000000000 "
            L"WHERE fileid=" + std::to_wstring(armyId));
        AddFile(bjork, {L"cover.jpg"});
        AddFile(post, {L"Hyperballad.flac", L"Hyperballad", L"Bj\u00f6rk", L"Post", L"Electronic", nullptr, 3000, 1999});
        AddFile(rock, {L"Love.mp3", L"Love Me Do", L"Beatles", L"Please", L"Beat", L"classic"});
        AddFile(rock, {L"Take On Me.mp3", L"Take On Me", L"a-ha", L"Hunting", L"Synth"});
        AddFile(rock, {L"Other.ogg", L"Waterloo", L"Abba"});
        AddFile(rock, {L"gone.mp3", L"Gone", L"Abba", nullptr, nullptr, nullptr, 100, 0, true, false});
        AddFile(gone, {L"lost.mp3", L"Lost", L"Beatles"});
    }

    void Run(const std::wstring& sql) {
        db->Sql().SetSql(sql);
        ASSERT_EQ(db->Sql().Execute(), Statement::kOk) << WideToUtf8(sql);
    }
    long long Count(const std::wstring& sql) { return QueryNumber(*db, sql); }
    int AddFolder(const std::wstring& path, int parent, bool exists = true) {
        Statement& sql = db->Sql();
        sql.SetSql(L"INSERT INTO Folder (path, parentid, rootid, folder_exists, attributes) VALUES (?, ?, 1, ?, 16)");
        sql.BindText(path.c_str(), 1);
        sql.BindInt(parent, 2);
        sql.BindInt(exists ? 1 : 0, 3);
        EXPECT_EQ(sql.Execute(), Statement::kOk);
        return static_cast<int>(sql.LastInsertId());
    }
    long long AddFile(int folderId, const FileRow& row) {
        std::wstring name = row.name;
        size_t dot = name.rfind(L'.');
        std::wstring extension = dot == std::wstring::npos ? L"" : ToLower(name.substr(dot + 1));
        Statement& sql = db->Sql();
        sql.SetSql(L"INSERT INTO Files (extension, folderid, file_exists, size, changed, filename, title, artist, "
                   L"album, genre, comment, track, year, length, bitrate, playcount, tagged) "
                   L"VALUES (?, ?, ?, ?, 0, ?, ?, ?, ?, ?, ?, 0, 0, ?, 0, 0, ?)");
        sql.BindText(extension.c_str(), 1);
        sql.BindInt(folderId, 2);
        sql.BindInt(row.exists ? 1 : 0, 3);
        sql.BindInt64(row.size, 4);
        sql.BindText(row.name, 5);
        const wchar_t* tags[] = {row.title, row.artist, row.album, row.genre, row.comment};
        for (int i = 0; i < 5; ++i) sql.BindText(tags[i], 6 + i, true);
        sql.BindInt(row.length, 11);
        sql.BindInt(row.tagged ? 1 : 0, 12);
        EXPECT_EQ(sql.Execute(), Statement::kOk);
        return sql.LastInsertId();
    }

    TempFolder folder;
    std::unique_ptr<CacheDatabase> db;
    long long armyId = 0;
};
