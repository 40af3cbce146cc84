// Matching search terms in memory with the shell's case-blind substring search.
#include "db/MatchTerms.h"

#include <windows.h>
#include <shlwapi.h>

#include "db/FileRecord.h"
#include "db/Listing.h"
#include "db/SearchInertUnits.h"
#include "db/SearchWordFunction.h"
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

TermMatcher::TermMatcher(const std::vector<std::wstring>& terms, size_t first, int flags, InertUnits* units)
    : flags_(flags), units_(units) {
    bool fold = (flags & kMatchFoldAccents) != 0;
    for (size_t i = first; i < terms.size(); ++i) {
        terms_.emplace_back();
        Load(terms[i], fold, terms_.back());
        asciiTerms_.push_back(IsAsciiWord(terms_.back()));
    }
}

TermMatcher::~TermMatcher() = default;

InertUnits& TermMatcher::Units() {
    if (!units_) {
        ownUnits_ = std::make_unique<InertUnits>();
        units_ = ownUnits_.get();
    }
    return *units_;
}

bool TermMatcher::Holds(int field, size_t term) {
    const std::wstring& text = buffers_[static_cast<size_t>(field)];
    if (asciiTerms_[term]) {
        unsigned bit = 1u << field;
        if (!(judged_ & bit)) {
            judged_ |= bit;
            if (Units().IsSimple(text)) simple_ |= bit;
        }
        if (simple_ & bit) return HoldsAsciiWord(text, terms_[term]);
    }
    return StrStrIW(text.c_str(), terms_[term].c_str()) != nullptr;
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

bool TermMatcher::HoldsLikeWord(const MatchFields& fields) const {
    for (std::wstring_view text : {fields.title, fields.artist, fields.album, fields.genre, fields.comment,
                                   fields.folder, fields.name}) {
        if (HoldsAsciiLikeWord(text, likeWord_)) return true;
    }
    return false;
}

bool TermMatcher::Matches(const MatchFields& fields) {
    if (!likeWord_.empty() && !HoldsLikeWord(fields)) return false;
    ready_ = judged_ = simple_ = 0;
    int fieldCount = (flags_ & kMatchFolderPath) ? kFieldCount : kFieldCount - 1;
    for (size_t term = 0; term < terms_.size(); ++term) {
        bool found = false;
        for (int i = 0; i < fieldCount && !found; ++i) {
            Field(fields, i);
            found = Holds(i, term);
        }
        if (!found) return false;
    }
    return true;
}

bool MatchTerms(const FileRecord& record, const std::vector<std::wstring>& terms, int flags) {
    TermMatcher matcher(terms, 0, flags);
    return matcher.Matches(FieldsOf(record));
}
