// The SELECT texts behind every file listing, chosen by the kind of listing and the listing
// options, and the placeholders of the type filter that complete them.
#pragma once

#include <cstddef>
#include <string>

enum class ListingForm {
    kWholeCache,  // every listed file
    kFolder,      // the files under (or, limited, directly in) one folder
    kSearch,      // the first search term in SQL, under or in one folder
};

// Which form serves a request: the search form for terms outside compatibility mode, then the
// folder form when a folder is given, otherwise the whole cache.
ListingForm ChooseListingForm(bool hasTerms, bool hasFolder, bool compatibility);

// The complete statement: the form's text for the options' accent and limit bits, then
// "size>0 AND " when empty files are hidden, then the extension test with one placeholder per
// type (":ext1" ... ":extN"). Parameters: the search form has :query (index 1) and :path (2),
// the folder form :path (1); the extensions follow by index.
std::wstring ListingSql(ListingForm form, int options, size_t extensionCount);
// The condition on the file types, each bound by name (":ext1" and on); at least one type.
std::wstring ExtensionCondition(size_t extensionCount);

// What a form's :path is bound to for the folder: the folder itself where the options compare it
// exactly, otherwise the LIKE pattern of its prefix, escaped (and folded when accents are).
std::wstring PathParameter(ListingForm form, int options, const std::wstring& folder);
// What a search form's :query is bound to for the first search word: the word escaped for LIKE
// (and folded first when accents are), so that it matches only itself.
std::wstring QueryParameter(int options, const std::wstring& term);

// The index of the first extension placeholder in a form's statement.
int FirstExtensionIndex(ListingForm form);
