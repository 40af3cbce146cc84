// Answers the host's title formatting from a file record's cached fields.
#include "scan/TitleTag.h"

#include <algorithm>
#include <cwchar>
#include <optional>

#include "base/Text.h"
#include "db/FileRecord.h"
#include "host/HostApi.h"

namespace {

// A number the host never reported reads as 0; shown as "0" it would put a bogus track or year
// into every title whose format asks for one.
std::wstring KnownNumber(int value) { return value > 0 ? std::to_wstring(value) : std::wstring(); }

// The value of a key we know, or nothing for a key we do not, which the host must then ask its
// input plugins for instead of taking our silence as an empty tag.
std::optional<std::wstring> ValueOf(const wchar_t* key, const FileRecord& record) {
    struct TextKey { const wchar_t* name; TagField field; };
    static const TextKey kTextKeys[] = {
        {L"artist", TagField::kArtist}, {L"title", TagField::kTitle}, {L"album", TagField::kAlbum},
        {L"comment", TagField::kComment}, {L"genre", TagField::kGenre},
    };
    if (EqualsNoCase(key, L"FILENAME")) return record.Path();
    if (EqualsNoCase(key, L"tracknumber")) return KnownNumber(record.track);
    if (EqualsNoCase(key, L"year")) return KnownNumber(record.year);
    for (const TextKey& text : kTextKeys) {
        if (EqualsNoCase(key, text.name)) return record.TagOrEmpty(text.field);
    }
    return std::nullopt;
}

// A zero-filled block of kTitleTagUnits units holding value, cut to fit with its terminator kept.
wchar_t* AnswerBlock(const std::wstring& value) {
    auto* block = static_cast<wchar_t*>(GlobalAlloc(GPTR, kTitleTagUnits * sizeof(wchar_t)));
    if (!block) return nullptr;
    wmemcpy(block, value.data(), std::min<size_t>(value.size(), kTitleTagUnits - 1));
    return block;
}

}  // namespace

wchar_t* __cdecl TitleTag(const wchar_t* key, void* context) {
    if (!key || !context) return nullptr;
    // Called from the host's own code: nothing may be thrown back into it.
    try {
        std::optional<std::wstring> value = ValueOf(key, *static_cast<const FileRecord*>(context));
        if (!value) return nullptr;
        if (value->empty()) return kTitleTagEmpty;
        return AnswerBlock(*value);
    } catch (...) {
        return nullptr;
    }
}

void __cdecl FreeTitleTag(wchar_t* value, void*) {
    // Only blocks are ours to free; a host that hands back the empty marker must not crash us.
    if (value && value != kTitleTagEmpty) GlobalFree(value);
}

std::wstring FormatTitle(HWND host, const FileRecord& record) {
    std::wstring path = record.Path();
    wchar_t out[kTitleTagUnits] = {};
    // The host hands the context back to our callbacks only, which read and never write it.
    HostTitleRequest request = {path.c_str(), 1, nullptr, const_cast<FileRecord*>(&record),
                                out, kTitleTagUnits, &TitleTag, &FreeTitleTag};
    SendMessageW(host, kHostMessage, reinterpret_cast<WPARAM>(&request), kHostFormatTitle);
    out[kTitleTagUnits - 1] = L'\0';
    if (out[0]) return out;
    // A host that wrote nothing would leave the entry without a title in the playlist and the
    // bookmark file: the stored title, else the file's name, stands in.
    std::optional<std::wstring_view> stored = record.Tag(TagField::kTitle);
    return std::wstring(stored && !stored->empty() ? *stored : record.FileName());
}
