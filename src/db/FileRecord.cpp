// The compact text storage of file records, and their reference counts.
#include "db/FileRecord.h"

#include <algorithm>
#include <cstring>

#include "base/Text.h"
#include "db/RecordBlock.h"

namespace {
constexpr wchar_t kAbsent = 0xFFFF;
constexpr size_t kMaxPiece = 0xFFFE;
constexpr int kPieceCount = 1 + kTagFieldCount;
// A shared piece holds the address of the text it repeats.
constexpr size_t kAddressUnits = sizeof(const wchar_t*) / sizeof(wchar_t);

std::optional<std::wstring_view> Clipped(std::optional<std::wstring_view> piece) {
    if (piece) return piece->substr(0, kMaxPiece);
    return piece;
}
}  // namespace

FileRecord::~FileRecord() {
    if (ownsTexts_) delete[] texts_;
}

void FileRecord::AddRef() {
    if (block_)
        block_->AddRef();
    else
        InterlockedIncrement(&count_);
}

long FileRecord::Release() {
    if (block_) return block_->Release();
    long left = InterlockedDecrement(&count_);
    if (left == 0) delete this;
    return left;
}

namespace {
bool IsShared(unsigned shared, int index) { return (shared >> index) & 1u; }
}  // namespace

size_t FileRecord::TextUnits(std::wstring_view name, const TagViews& tags, unsigned shared) {
    size_t units = kPieceCount + Clipped(name)->size();
    for (int i = 0; i < kTagFieldCount; ++i) {
        if (IsShared(shared, 1 + i))
            units += kAddressUnits - 1;
        else if (tags[i])
            units += Clipped(tags[i])->size();
    }
    return units;
}

void FileRecord::WriteTexts(wchar_t* at, std::wstring_view name, const TagViews& tags, unsigned shared,
                            const wchar_t* const* sharedTexts, const wchar_t** tagsAt) {
    auto write = [&at](std::optional<std::wstring_view> piece) {
        piece = Clipped(piece);
        *at++ = piece ? static_cast<wchar_t>(piece->size()) : kAbsent;
        if (piece) at = std::copy(piece->begin(), piece->end(), at);
    };
    write(name);
    for (int i = 0; i < kTagFieldCount; ++i) {
        if (IsShared(shared, 1 + i)) {
            if (tagsAt) tagsAt[i] = sharedTexts[i];
            std::memcpy(at, &sharedTexts[i], sizeof(sharedTexts[i]));
            at += kAddressUnits;
        } else {
            if (tagsAt) tagsAt[i] = tags[i] ? at : nullptr;
            write(tags[i]);
        }
    }
}

const wchar_t* FileRecord::PieceAt(const wchar_t* texts, unsigned shared, int index) {
    const wchar_t* at = texts;
    for (int i = 0; i < index; ++i) {
        if (IsShared(shared, i))
            at += kAddressUnits;
        else
            at += at[0] == kAbsent ? 1 : 1 + at[0];
    }
    return at;
}

std::optional<std::wstring_view> FileRecord::PieceText(const wchar_t* piece, bool isShared) {
    if (isShared) std::memcpy(&piece, piece, sizeof(piece));
    if (piece[0] == kAbsent) return std::nullopt;
    return std::wstring_view(piece + 1, piece[0]);
}

size_t FileRecord::UnitsOf(const wchar_t* texts, unsigned shared) {
    return static_cast<size_t>(PieceAt(texts, shared, kPieceCount) - texts);
}

std::optional<std::wstring_view> FileRecord::Piece(int index) const {
    if (!texts_) return std::nullopt;
    return PieceText(PieceAt(texts_, sharedPieces_, index), IsShared(sharedPieces_, index));
}

// A record in a block leaves its first texts there and takes a heap block for the new ones.
void FileRecord::Rebuild(std::wstring_view name, const TagViews& tags) {
    auto* block = new wchar_t[TextUnits(name, tags)];
    WriteTexts(block, name, tags);
    if (ownsTexts_) delete[] texts_;
    texts_ = block;
    ownsTexts_ = true;
    sharedPieces_ = 0;
}

void FileRecord::SetPath(std::wstring_view fullPath) {
    size_t slash = fullPath.find_last_of(L'\\');
    std::wstring_view folder = slash == std::wstring_view::npos ? std::wstring_view() : fullPath.substr(0, slash + 1);
    SetPath(folder.empty() ? Ref<TextObject>() : Ref<TextObject>::Make(std::wstring(folder)),
            fullPath.substr(folder.size()));
}

void FileRecord::SetPath(Ref<TextObject> folder, std::wstring_view fileName) {
    std::array<std::wstring, kTagFieldCount> kept;
    TagViews tags;
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

bool FileRecord::HasPath(std::wstring_view fullPath) const {
    std::wstring_view folder = FolderPath(), name = FileName();
    return fullPath.size() == folder.size() + name.size() && EqualsNoCase(fullPath.substr(0, folder.size()), folder) &&
           EqualsNoCase(fullPath.substr(folder.size()), name);
}

std::wstring_view FileRecord::FileName() const { return Piece(0).value_or(std::wstring_view()); }

std::optional<std::wstring_view> FileRecord::Tag(TagField field) const { return Piece(1 + static_cast<int>(field)); }

std::wstring FileRecord::TagOrEmpty(TagField field) const { return std::wstring(Tag(field).value_or(L"")); }

void FileRecord::SetTags(const TagTexts& tags) {
    std::wstring name(FileName());
    TagViews views;
    for (int i = 0; i < kTagFieldCount; ++i)
        if (tags[i]) views[i] = *tags[i];
    Rebuild(name, views);
}
