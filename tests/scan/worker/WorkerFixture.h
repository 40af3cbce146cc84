// The worker tests' fixture: a real cache and library in a temporary folder, the worker
// thread started over them, and the stand-in windows it talks to.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/Path.h"
#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "db/CacheDatabase.h"
#include "db/Listing.h"
#include "db/roots/Root.h"
#include "db/TreeNode.h"
#include "scan/MediaExtensions.h"
#include "scan/ScanWorker.h"
#include "support/BuildFiles.h"
#include "support/QueryNumber.h"
#include "support/TempFolder.h"
#include "WorkerHarness.h"

class ScanWorkerTest : public testing::Test {
protected:
    void SetUp() override {
        ReleaseSharedMediaExtensions();
        CreateDirectoryW(folder.File(L"docs\\Crateview").c_str(), nullptr);
        database = std::make_unique<CacheDatabase>(CacheFolder());
        database->CreateSchema();
        database->SetListingOptions(ParseTypeFilter(L"mp3;"), 0);
    }
    void TearDown() override {
        if (worker) worker->StopAndWait();
        worker.Reset();
        ReleaseSharedMediaExtensions();
    }
    std::wstring CacheFolder() const { return folder.File(L"docs\\Crateview\\Cache"); }
    std::wstring Music(const std::wstring& relative = L"") const { return folder.File(L"Music\\" + relative); }

    // A folder of real files: three songs, one upper-case, and a file the scan ignores.
    void MakeLibrary() {
        CreateDirectoryW(Music().c_str(), nullptr);
        CreateDirectoryW(Music(L"Sub").c_str(), nullptr);
        WriteBytes(Music(L"a.mp3"), "aaaa");
        WriteBytes(Music(L"B.MP3"), "bb");
        WriteBytes(Music(L"Sub\\c.mp3"), "c");
        WriteBytes(Music(L"notes.txt"), "not music");
    }
    void StartWorker(bool scanFiles = true) {
        ScanWorkerOptions options;
        options.scanFiles = scanFiles;
        options.typeFilter = ParseTypeFilter(L"mp3;");
        worker = Ref<ScanWorker>::Adopt(new ScanWorker(roots, options, database->SharedConnection(), folder.File(L"docs\\gen_cv.ini")));
        ASSERT_TRUE(worker->Start());
        ASSERT_TRUE(harness.PumpUntil([&] { return harness.Received(kCmdStartUpDone); }));
    }
    long long Count(const std::wstring& sql) { return QueryNumber(*database, sql); }
    Ref<RowList> StoredRows() {
        ListTotals totals;
        return ListFiles(*database, {}, nullptr, totals, false);
    }
    void PostWork(UINT item, WPARAM wp = 0, LPARAM lp = 0) { ASSERT_TRUE(worker->Post(item, wp, lp)); }
    void Exec(const std::wstring& sql) {
        Statement& st = database->Sql();
        st.SetSql(sql);
        st.Execute();
        st.Finish();
    }
    // Everything posted before has been handled once this returns.
    void Drain() {
        const WPARAM marker = 5999;
        int before = harness.Count(marker);
        PostWork(kWorkForwardCommand, marker, 0);
        ASSERT_TRUE(harness.PumpUntil([&] { return harness.Count(marker) > before; }));
    }
    // What the list shows for the node (null: nothing selected) and the search text, by full
    // path in order.
    std::vector<std::wstring> Listing(TreeNode* node, const std::wstring& text = L"") {
        int before = harness.Count(kCmdListingReady);
        if (node) node->AddRef();
        PostWork(kWorkList, reinterpret_cast<WPARAM>(node), PassText(text));
        if (!harness.PumpUntil([&] { return harness.Count(kCmdListingReady) > before; })) return {L"no listing"};
        for (auto it = harness.commands.rbegin(); it != harness.commands.rend(); ++it)
            if (it->code == kCmdListingReady) {
                std::vector<std::wstring> paths = it->listed;
                std::sort(paths.begin(), paths.end());
                return paths;
            }
        return {};
    }
    std::vector<std::wstring> Paths(std::vector<std::wstring> relative) const {
        for (std::wstring& path : relative) path = Music(path);
        std::sort(relative.begin(), relative.end());
        return relative;
    }
    TreeNode* RootNode() { return roots->At(0)->Node(); }
    // Posts a work item and waits for the command it answers with.
    void PostAndWaitFor(WPARAM command, UINT item, WPARAM wp = 0, LPARAM lp = 0) {
        int before = harness.Count(command);
        PostWork(item, wp, lp);
        ASSERT_TRUE(harness.PumpUntil([&] { return harness.Count(command) > before; })) << "no " << command;
    }

    TempFolder folder;
    ScopedPluginContext context{folder.File(L"docs")};
    WorkerHarness harness;
    std::unique_ptr<CacheDatabase> database;
    Ref<RootsList> roots = Ref<RootsList>::Make();
    Ref<ScanWorker> worker;
};
