// Reads a file's tags and audio facts by looking at its bytes, whatever its name says, and
// answers them per key the way the host's file-information request does.
#include "TagReader.h"

#include <cwchar>

#include "TagFormats.h"
#include "TagFile.h"

namespace {

bool HasAnything(const FileTags& t) {
    return !t.title.empty() || !t.artist.empty() || !t.album.empty() || !t.year.empty() ||
           !t.track.empty() || !t.comment.empty() || !t.genre.empty() || t.lengthMs > 0;
}

std::wstring Number(int value) { return value > 0 ? std::to_wstring(value) : std::wstring(); }

struct KeyField {
    const wchar_t* key;
    std::wstring FileTags::*text;
    int FileTags::*number;
};

const KeyField kKeys[] = {
    {L"title", &FileTags::title, nullptr},     {L"artist", &FileTags::artist, nullptr},
    {L"album", &FileTags::album, nullptr},     {L"year", &FileTags::year, nullptr},
    {L"track", &FileTags::track, nullptr},     {L"comment", &FileTags::comment, nullptr},
    {L"genre", &FileTags::genre, nullptr},     {L"length", nullptr, &FileTags::lengthMs},
    {L"bitrate", nullptr, &FileTags::bitrateKbps},
};

void ReadInto(const TagFile& file, FileTags& tags) {
    FileTags id3v2;
    uint64_t audioStart = ReadId3v2(file, id3v2);
    FileTags id3v1;
    uint64_t end = file.Size() - ReadId3v1(file, id3v1);
    end -= ApeTagSize(file, end);
    if (audioStart > end) audioStart = end;
    // A FLAC stream's own comments come first; an MP3 has only the ID3 tags. ID3v2 beats
    // ID3v1 either way, which is limited to 30 Latin-1 characters per field.
    if (IsFlacAt(file, audioStart)) ReadFlac(file, audioStart, end, tags);
    else ReadMpegAudio(file, audioStart, end, tags);
    FillMissing(tags, id3v2);
    FillMissing(tags, id3v1);
}

}  // namespace

void FillMissing(FileTags& into, const FileTags& from) {
    for (const KeyField& k : kKeys)
        if (k.text && (into.*k.text).empty()) into.*k.text = from.*k.text;
}

bool ReadFileTags(const std::wstring& path, FileTags& out) {
    out = FileTags();
    TagFile file(path.c_str());
    if (!file.IsOpen() || file.Size() == 0) return false;
    ReadInto(file, out);
    if (HasAnything(out)) return true;
    out = FileTags();
    return false;
}

std::wstring TagValue(const FileTags& tags, const wchar_t* key) {
    if (!key) return {};
    for (const KeyField& k : kKeys)
        if (_wcsicmp(k.key, key) == 0) return k.text ? tags.*k.text : Number(tags.*k.number);
    return {};
}
