// Answers the host's title formatting from a file record's cached fields.
#include "scan/TitleTag.h"

#include <algorithm>
#include <cwchar>

#include "base/Text.h"
#include "db/FileRecord.h"
#include "host/HostApi.h"

namespace {

// A number the host never reported reads as 0; shown as "0" it would put a bogus track or year
// into every title whose format asks for one.
std::wstring KnownNumber(int value) { return value > 0 ? std::to_wstring(value) : std::wstring(); }

std::wstring ValueOf(const wchar_t* key, const FileRecord& record) {
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
    return {};
}

}  // namespace

wchar_t* __cdecl TitleTag(const wchar_t* key, void* context) {
    // The block is fixed and zero-filled, so whatever is copied in below stays terminated.
    auto* block = static_cast<wchar_t*>(GlobalAlloc(GPTR, kTitleTagUnits * sizeof(wchar_t)));
    if (!block || !key || !context) return block;
    // Called from the host's own code: nothing may be thrown back into it.
    try {
        std::wstring value = ValueOf(key, *static_cast<const FileRecord*>(context));
        size_t units = std::min<size_t>(value.size(), kTitleTagUnits - 1);
        wmemcpy(block, value.data(), units);
    } catch (...) {
    }
    return block;
}

void __cdecl FreeTitleTag(wchar_t* value, void*) {
    if (value) GlobalFree(value);
}

std::wstring FormatTitle(HWND host, const FileRecord& record) {
    std::wstring path = record.Path();
    wchar_t out[kTitleTagUnits] = {};
    // The host hands the context back to our callbacks only, which read and never write it.
    HostTitleRequest request = {path.c_str(), nullptr, const_cast<FileRecord*>(&record),
                                &TitleTag, &FreeTitleTag, out, kTitleTagUnits};
    SendMessageW(host, kHostMessage, reinterpret_cast<WPARAM>(&request), kHostFormatTitle);
    out[kTitleTagUnits - 1] = L'\0';
    return out;
}
