// One media file as listed: a Files row joined with its folder, shared by reference between
// the worker that reads it and the view that shows it. A listing holds up to a million of
// these, so the texts live in one block per record, files of one folder share its path, and
// a listing makes its records in large blocks rather than one heap object each.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "base/RefCounted.h"
#include "base/TextObject.h"

enum class TagField { kTitle = 0, kArtist, kAlbum, kGenre, kComment };
constexpr int kTagFieldCount = 5;

// The five tag texts; an absent one was never read.
using TagTexts = std::array<std::optional<std::wstring>, kTagFieldCount>;

class RecordBlock;

class FileRecord {
public:
    FileRecord() = default;
    explicit FileRecord(std::wstring_view fullPath) { SetPath(fullPath); }
    FileRecord(const FileRecord&) = delete;
    FileRecord& operator=(const FileRecord&) = delete;
    ~FileRecord();

    // A record made in a block counts its references on the block, which lives while any
    // of its records is held; any other record counts its own.
    void AddRef();
    long Release();

    // The folder part (up to and including the last backslash) and the file name.
    void SetPath(std::wstring_view fullPath);
    // Files of one folder can share its path text.
    void SetPath(Ref<TextObject> folder, std::wstring_view fileName);
    std::wstring Path() const;
    std::wstring_view FolderPath() const;
    std::wstring_view FileName() const;
    // Whether the full path is this one, ignoring case; builds no string (lists compare every row).
    bool HasPath(std::wstring_view fullPath) const;

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
    // When the host's answer was stored, as a count of the tag reads of the session that wraps
    // (it fits the record's padding): the view tells a row it counted from one read later.
    unsigned short tagStamp = 0;

private:
    friend class RecordBlock;
    friend class RecordMaker;

    // The text block: the name, then the five tags, each with a length unit in front
    // (kAbsent: no text). A piece whose bit is set in a mask of shared pieces is instead the
    // address of the same text written earlier in the block (its length unit), in two units:
    // the files of an album repeat its artist and album row after row.
    static size_t TextUnits(std::wstring_view name, const TagViews& tags, unsigned shared = 0);
    // Answers, in tagsAt when given, where each tag's text now is (its length unit; null for
    // an absent tag), so the next record of the block can point at it.
    static void WriteTexts(wchar_t* at, std::wstring_view name, const TagViews& tags, unsigned shared = 0,
                           const wchar_t* const* sharedTexts = nullptr, const wchar_t** tagsAt = nullptr);
    static size_t UnitsOf(const wchar_t* texts, unsigned shared);
    // Where a piece of texts written with this mask starts, and its text.
    static const wchar_t* PieceAt(const wchar_t* texts, unsigned shared, int index);
    static std::optional<std::wstring_view> PieceText(const wchar_t* piece, bool isShared);
    std::optional<std::wstring_view> Piece(int index) const;
    void Rebuild(std::wstring_view name, const TagViews& tags);

    volatile LONG count_ = 1;
    RecordBlock* block_ = nullptr;
    Ref<TextObject> folder_;
    wchar_t* texts_ = nullptr;
    bool ownsTexts_ = false;  // false for no texts, or texts inside the block
    unsigned char sharedPieces_ = 0;  // the mask of texts_
    // The mask of the texts first written behind the record in its block, which stay there
    // after it takes others: the block steps over them by it.
    unsigned char slotSharedPieces_ = 0;
};
