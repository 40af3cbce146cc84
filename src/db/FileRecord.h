// One media file as listed: a Files row joined with its folder, shared by reference between
// the worker that reads it and the view that shows it. A listing holds up to a million of
// these, so the texts live in one block per record and files of one folder share its path.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/RefCounted.h"
#include "base/TextObject.h"

enum class TagField { kTitle = 0, kArtist, kAlbum, kGenre, kComment };
constexpr int kTagFieldCount = 5;

// The five tag texts; an absent one was never read.
using TagTexts = std::array<std::optional<std::wstring>, kTagFieldCount>;

class FileRecord : public RefCounted {
public:
    FileRecord() = default;
    explicit FileRecord(std::wstring_view fullPath) { SetPath(fullPath); }

    // The folder part (up to and including the last backslash) and the file name.
    void SetPath(std::wstring_view fullPath);
    // Files of one folder can share its path text.
    void SetPath(Ref<TextObject> folder, std::wstring_view fileName);
    std::wstring Path() const;
    std::wstring_view FolderPath() const;
    std::wstring_view FileName() const;

    // Everything a listing row has, in one go: the text block is built once, not twice.
    using TagViews = std::array<std::optional<std::wstring_view>, kTagFieldCount>;
    void Assign(Ref<TextObject> folder, std::wstring_view fileName, const TagViews& tags);

    std::optional<std::wstring_view> Tag(TagField field) const;
    std::wstring TagOrEmpty(TagField field) const;
    void SetTags(const TagTexts& tags);

    long long fileId = -1;  // -1 until stored
    long long changed = 0;  // FILETIME of the last write
    long long size = 0;     // bytes
    int track = 0;
    int year = 0;
    int length = 0;         // milliseconds
    int bitrate = 0;        // kbit/s
    int playCount = 0;
    int folderId = 0;
    bool tagged = false;
    bool remote = false;    // a playlist entry that is a network path or a URL

private:
    // The name, then the five tags, each with a length unit in front (kAbsent: no text).
    std::optional<std::wstring_view> Piece(int index) const;
    void Rebuild(std::wstring_view name, const TagViews& tags);

    Ref<TextObject> folder_;
    std::unique_ptr<wchar_t[]> texts_;
};
