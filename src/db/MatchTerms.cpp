// Matching search terms in memory with the shell's case-blind substring search.
#include "db/MatchTerms.h"

#include <windows.h>
#include <shlwapi.h>

#include "db/FileRecord.h"
#include "db/Listing.h"
#include "db/StripAccent.h"

namespace {

std::wstring_view TagOf(const FileRecord& record, TagField field) {
    return record.Tag(field).value_or(std::wstring_view());
}

// Copies text into out, folded when asked; out is then terminated for StrStrIW.
void Load(std::wstring_view text, bool fold, std::wstring& out) {
    if (!fold || !StripAccentInto(text, out)) out.assign(text.data(), text.size());
}

}  // namespace

MatchFields FieldsOf(const FileRecord& record) {
    return MatchFields{record.FileName(),
                       TagOf(record, TagField::kArtist),
                       TagOf(record, TagField::kTitle),
                       TagOf(record, TagField::kAlbum),
                       TagOf(record, TagField::kGenre),
                       TagOf(record, TagField::kComment),
                       record.FolderPath()};
}

TermMatcher::TermMatcher(const std::vector<std::wstring>& terms, size_t first, int flags) : flags_(flags) {
    bool fold = (flags & kMatchFoldAccents) != 0;
    for (size_t i = first; i < terms.size(); ++i) {
        terms_.emplace_back();
        Load(terms[i], fold, terms_.back());
    }
}

const std::wstring& TermMatcher::Field(const MatchFields& fields, int index) {
    unsigned bit = 1u << index;
    if (!(ready_ & bit)) {
        static constexpr std::wstring_view MatchFields::*kFields[kFieldCount] = {
            &MatchFields::name,  &MatchFields::artist,  &MatchFields::title, &MatchFields::album,
            &MatchFields::genre, &MatchFields::comment, &MatchFields::folder};
        Load(fields.*kFields[index], (flags_ & kMatchFoldAccents) != 0, buffers_[static_cast<size_t>(index)]);
        ready_ |= bit;
    }
    return buffers_[static_cast<size_t>(index)];
}

bool TermMatcher::Matches(const MatchFields& fields) {
    ready_ = 0;
    int fieldCount = (flags_ & kMatchFolderPath) ? kFieldCount : kFieldCount - 1;
    for (const std::wstring& term : terms_) {
        bool found = false;
        for (int i = 0; i < fieldCount && !found; ++i) found = StrStrIW(Field(fields, i).c_str(), term.c_str()) != nullptr;
        if (!found) return false;
    }
    return true;
}

bool MatchTerms(const FileRecord& record, const std::vector<std::wstring>& terms, int flags) {
    TermMatcher matcher(terms, 0, flags);
    return matcher.Matches(FieldsOf(record));
}
