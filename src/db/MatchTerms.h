// The in-memory test of search terms against one file's texts, shared by the listings that
// narrow SQL results further and by playlist and smart-playlist listings.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

class FileRecord;

enum MatchFlag : int {
    kMatchFoldAccents = 2,   // compare term and text with accents folded
    kMatchFolderPath = 16,   // the folder path counts as a field too
};

// The texts a term is looked for in; an absent tag is empty.
struct MatchFields {
    std::wstring_view name, artist, title, album, genre, comment, folder;
};
MatchFields FieldsOf(const FileRecord& record);

// Folds the terms once and reuses its buffers from file to file, so testing a long listing
// allocates nothing per file.
class TermMatcher {
public:
    // The terms from index `first` on.
    TermMatcher(const std::vector<std::wstring>& terms, size_t first, int flags);

    bool Empty() const { return terms_.empty(); }
    // Every term occurs, ignoring case, in at least one field.
    bool Matches(const MatchFields& fields);

private:
    static constexpr int kFieldCount = 7;
    const std::wstring& Field(const MatchFields& fields, int index);

    std::vector<std::wstring> terms_;
    int flags_;
    std::array<std::wstring, kFieldCount> buffers_;
    unsigned ready_ = 0;  // bit per field already copied for the current file
};
