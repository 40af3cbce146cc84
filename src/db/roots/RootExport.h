// Saving the roots to a small SQLite file of their own and adding a saved set to the cache of
// another installation, so a collection's layout can move without rescanning it by hand.
#pragma once

#include <string>
#include <vector>

#include "base/RefCounted.h"
#include "db/roots/Root.h"

class CacheDatabase;

// The version an export file carries; a file with any other one is not read.
constexpr int kRootFileVersion = 201;

constexpr wchar_t kRootFileIncompatibleText[] =
    L"This file is not compatible with the current version of Crateview";
constexpr wchar_t kRootsAddedText[] = L" roots have been added. Now restarting...";
constexpr wchar_t kNoNewRootsText[] = L"No roots found that are not already in your database";
constexpr wchar_t kRootsNotStoredText[] =
    L" root(s) could not be added: the database could not be read or written (is the disk full, "
    L"or the file read-only or damaged?)";

struct RootImportResult {
    bool compatible = false;  // the file is an export of this version
    int added = 0;            // rows inserted into the cache's Roots table
    int failed = 0;           // roots the cache could not be asked about or could not store
};

// Replaces the file with one row per root, in list order. False when the file cannot be
// created or a statement on it fails; the file may then hold part of the roots.
bool ExportRoots(const std::wstring& file, const std::vector<Ref<Root>>& roots);

// Adds the file's roots that the cache does not hold yet: a root of the same type and path
// (folders and playlist files in any case), whatever its auto-load flag, is held, and so is a
// folder inside or around a folder root. A missing file, a file that is no database and an export of another version are
// all incompatible and add nothing.
RootImportResult ImportRoots(const std::wstring& file, CacheDatabase& cache);

// The information shown once an import ends, also after the incompatibility error; empty when
// roots failed and none was added, as "no roots found" would then be untrue.
std::wstring ImportReport(const RootImportResult& result);
// The error shown when some roots could not be stored, or empty.
std::wstring ImportFailureReport(const RootImportResult& result);
