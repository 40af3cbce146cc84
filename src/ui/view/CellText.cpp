// Formatting of the file list's cells from file records.
#include "ui/view/CellText.h"

namespace {

const wchar_t kNotAvailable[] = L"n/a";

std::wstring PositiveNumber(int value) { return value > 0 ? std::to_wstring(value) : std::wstring(); }

std::wstring TwoDigits(int value) {
    std::wstring text = std::to_wstring(value);
    return text.size() < 2 ? L"0" + text : text;
}

std::wstring LocaleText(int (WINAPI* format)(LCID, DWORD, const SYSTEMTIME*, LPCWSTR, LPWSTR, int),
                        DWORD flags, const SYSTEMTIME& time) {
    wchar_t buffer[128] = {};
    if (format(LOCALE_USER_DEFAULT, flags, &time, nullptr, buffer, ARRAYSIZE(buffer)) <= 0) return {};
    return buffer;
}

}  // namespace

bool IsRightAligned(int column) {
    return (column >= kColumnTrack && column <= kColumnPlaycount) || column == kColumnFilesize;
}

std::wstring TitleText(const FileRecord& record, std::optional<std::wstring_view> playlistTitle) {
    if (record.tagged) {
        std::optional<std::wstring_view> title = record.Tag(TagField::kTitle);
        if (title && !title->empty()) return std::wstring(*title);
    }
    if (!record.remote) return std::wstring(record.FileName());
    if (playlistTitle && !playlistTitle->empty()) return std::wstring(*playlistTitle);
    // A remote entry read from a playlist file keeps its #EXTINF title as its title, untagged.
    std::optional<std::wstring_view> fromPlaylist = record.Tag(TagField::kTitle);
    if (fromPlaylist && !fromPlaylist->empty()) return std::wstring(*fromPlaylist);
    return record.Path();
}

std::wstring LengthText(int milliseconds) {
    // The host reports an unknown length as a negative number; showing "00:-1" helps nobody.
    if (milliseconds <= 0) return {};
    int hours = milliseconds / 3600000;
    int minutes = milliseconds / 60000 % 60;
    int seconds = milliseconds / 1000 % 60;
    std::wstring text = TwoDigits(minutes) + L":" + TwoDigits(seconds);
    return hours ? TwoDigits(hours) + L":" + text : text;
}

std::wstring ChangedText(const FileRecord& record, const TIME_ZONE_INFORMATION* zone) {
    if (record.remote || record.changed == 0) return kNotAvailable;
    ULARGE_INTEGER value;
    value.QuadPart = static_cast<ULONGLONG>(record.changed);
    FILETIME utc = {value.LowPart, value.HighPart};
    SYSTEMTIME universal, local;
    if (!FileTimeToSystemTime(&utc, &universal)) return kNotAvailable;
    // File systems keep write times in UTC; shown unconverted they would disagree with
    // Explorer by the user's offset from UTC.
    if (!SystemTimeToTzSpecificLocalTime(zone, &universal, &local)) local = universal;
    return LocaleText(&GetDateFormatW, DATE_SHORTDATE, local) + L" " +
           LocaleText(&GetTimeFormatW, TIME_NOSECONDS, local);
}

std::wstring CellText(const FileRecord& record, int column, const CellContext& context) {
    switch (column) {
        case kColumnNumber: return std::to_wstring(context.row + 1);
        case kColumnTitle: return TitleText(record, context.playlistTitle);
        case kColumnArtist: return record.TagOrEmpty(TagField::kArtist);
        case kColumnAlbum: return record.TagOrEmpty(TagField::kAlbum);
        case kColumnGenre: return record.TagOrEmpty(TagField::kGenre);
        case kColumnComment: return record.TagOrEmpty(TagField::kComment);
        case kColumnTrack: return PositiveNumber(record.track);
        case kColumnYear: return PositiveNumber(record.year);
        case kColumnLength: return LengthText(record.length);
        case kColumnBitrate:
            if (record.bitrate <= 0) return {};
            return std::to_wstring(record.bitrate) + (context.hideKbps ? L"" : L" kbps");
        case kColumnPlaycount: return std::to_wstring(record.playCount);
        case kColumnLastChanged: return ChangedText(record, context.zone);
        case kColumnFilesize: return std::to_wstring(record.size / 1024) + L" kb";
        case kColumnFilepath: return record.Path();
        case kColumnFilename: return std::wstring(record.FileName());
        default: return {};
    }
}
