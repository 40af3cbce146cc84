// The compact text storage of file records.
#include "db/FileRecord.h"

#include <algorithm>

namespace {
constexpr wchar_t kAbsent = 0xFFFF;
constexpr size_t kMaxPiece = 0xFFFE;
constexpr int kPieceCount = 1 + kTagFieldCount;
}  // namespace

std::optional<std::wstring_view> FileRecord::Piece(int index) const {
    if (!texts_) return std::nullopt;
    const wchar_t* at = texts_.get();
    for (int i = 0; i < index; ++i) {
        if (at[0] != kAbsent) at += at[0];
        ++at;
    }
    if (at[0] == kAbsent) return std::nullopt;
    return std::wstring_view(at + 1, at[0]);
}

void FileRecord::Rebuild(std::wstring_view name, const TagViews& tags) {
    std::array<std::optional<std::wstring_view>, kPieceCount> pieces;
    pieces[0] = name.substr(0, kMaxPiece);
    size_t units = kPieceCount + pieces[0]->size();
    for (int i = 0; i < kTagFieldCount; ++i) {
        if (!tags[i]) continue;
        pieces[i + 1] = tags[i]->substr(0, kMaxPiece);
        units += pieces[i + 1]->size();
    }
    auto block = std::make_unique<wchar_t[]>(units);
    wchar_t* at = block.get();
    for (const auto& piece : pieces) {
        *at++ = piece ? static_cast<wchar_t>(piece->size()) : kAbsent;
        if (piece) at = std::copy(piece->begin(), piece->end(), at);
    }
    texts_ = std::move(block);
}

void FileRecord::SetPath(std::wstring_view fullPath) {
    size_t slash = fullPath.find_last_of(L'\\');
    std::wstring_view folder = slash == std::wstring_view::npos ? std::wstring_view() : fullPath.substr(0, slash + 1);
    SetPath(folder.empty() ? Ref<TextObject>() : Ref<TextObject>::Make(std::wstring(folder)),
            fullPath.substr(folder.size()));
}

void FileRecord::SetPath(Ref<TextObject> folder, std::wstring_view fileName) {
    std::array<std::wstring, kTagFieldCount> kept;
    std::array<std::optional<std::wstring_view>, kTagFieldCount> tags;
    for (int i = 0; i < kTagFieldCount; ++i) {
        if (auto tag = Tag(static_cast<TagField>(i))) {
            kept[i] = std::wstring(*tag);
            tags[i] = kept[i];
        }
    }
    folder_ = std::move(folder);
    Rebuild(std::wstring(fileName), tags);
}

void FileRecord::Assign(Ref<TextObject> folder, std::wstring_view fileName, const TagViews& tags) {
    folder_ = std::move(folder);
    Rebuild(fileName, tags);
}

std::wstring FileRecord::Path() const {
    std::wstring path(FolderPath());
    path += FileName();
    return path;
}

std::wstring_view FileRecord::FolderPath() const {
    return folder_ ? std::wstring_view(folder_->text) : std::wstring_view();
}

std::wstring_view FileRecord::FileName() const { return Piece(0).value_or(std::wstring_view()); }

std::optional<std::wstring_view> FileRecord::Tag(TagField field) const { return Piece(1 + static_cast<int>(field)); }

std::wstring FileRecord::TagOrEmpty(TagField field) const { return std::wstring(Tag(field).value_or(L"")); }

void FileRecord::SetTags(const TagTexts& tags) {
    std::wstring name(FileName());
    std::array<std::optional<std::wstring_view>, kTagFieldCount> views;
    for (int i = 0; i < kTagFieldCount; ++i)
        if (tags[i]) views[i] = *tags[i];
    Rebuild(name, views);
}
