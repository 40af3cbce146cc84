// The in-memory test of search terms against one file's texts, shared by the listings that
// narrow SQL results further and by playlist and smart-playlist listings.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class FileRecord;
class InertUnits;

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
// allocates nothing per file. A term of ASCII letters and digits is looked for in place in a
// field the system's comparison reads as plain letters (see SearchInertUnits.h), and with that
// comparison only in the others.
class TermMatcher {
public:
    // The terms from index `first` on; units, when given, is what the caller has learnt of the
    // comparison already and must outlive the matcher (otherwise it learns its own, when needed).
    TermMatcher(const std::vector<std::wstring>& terms, size_t first, int flags, InertUnits* units = nullptr);
    ~TermMatcher();

    bool Empty() const { return terms_.empty() && likeWord_.empty(); }
    // Every term occurs, ignoring case, in at least one field.
    bool Matches(const MatchFields& fields);
    // Also requires a word (as AsciiLikeWord gives it) found as LIKE "%word%" finds it in a
    // stored text (see HoldsAsciiLikeWord), in any field, the folder path included.
    void RequireLikeWord(std::string word) { likeWord_ = std::move(word); }

private:
    static constexpr int kFieldCount = 7;
    const std::wstring& Field(const MatchFields& fields, int index);
    bool Holds(int field, size_t term);
    InertUnits& Units();

    bool HoldsLikeWord(const MatchFields& fields) const;

    std::string likeWord_;  // empty: none
    std::vector<std::wstring> terms_;
    std::vector<bool> asciiTerms_;
    int flags_;
    InertUnits* units_;
    std::unique_ptr<InertUnits> ownUnits_;
    std::array<std::wstring, kFieldCount> buffers_;
    unsigned ready_ = 0;   // bit per field already copied for the current file
    unsigned judged_ = 0;  // bit per field whose units were looked at for the current file
    unsigned simple_ = 0;  // bit per field found simple
};
