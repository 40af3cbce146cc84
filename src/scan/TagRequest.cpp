// Tag reading through the host's extended file information request.
#include "scan/TagRequest.h"

#include <cwctype>
#include <vector>

#include "base/CriticalSection.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"

#include "db/FileRecord.h"
#include "host/HostApi.h"

namespace {

constexpr int kAnswerLength = 260;

std::wstring AskHost(HWND host, const std::wstring& path, const wchar_t* key) {
    // Cleared for every key: a host that leaves a key unanswered must not hand us the
    // previous key's text.
    wchar_t buffer[kAnswerLength] = {};
    HostFileInfoRequest request = {path.c_str(), key, buffer, kAnswerLength};
    SendMessageW(host, kHostMessage, reinterpret_cast<WPARAM>(&request), kHostExtendedFileInfo);
    buffer[kAnswerLength - 1] = L'\0';
    return buffer;
}

struct Abandoned {
    CriticalSection lock;
    std::vector<Ref<FileRecord>> records;
};

Abandoned& AbandonedRequests() {
    static Abandoned abandoned;
    return abandoned;
}

}  // namespace

bool RequestTags(FileRecord& record, unsigned timeoutMs) {
    HWND host = GetWindow(kHostWindowId);
    if (!host) return false;
    Ref<FileRecord> hold(&record);
    DWORD_PTR result = 0;
    LRESULT sent = SendMessageTimeoutW(host, kCommandMessage, reinterpret_cast<WPARAM>(&record), 0,
                                       SMTO_ABORTIFHUNG, timeoutMs, &result);
    if (sent && result) return true;
    if (!sent) {
        Lock lock(AbandonedRequests().lock);
        AbandonedRequests().records.push_back(hold);
    }
    return false;
}

void ReleaseAbandonedTagRequests() {
    std::vector<Ref<FileRecord>> records;
    {
        Lock lock(AbandonedRequests().lock);
        records.swap(AbandonedRequests().records);
    }
}

int ParseLeadingInt(const std::wstring& text) {
    size_t i = 0;
    while (i < text.size() && std::iswspace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > 0x7fffffff) value = 0x7fffffff;
    }
    return static_cast<int>(negative ? -value : value);
}

bool ReadTags(HWND host, FileRecord& record) {
    std::wstring path = record.Path();
    TagTexts tags;
    tags[static_cast<int>(TagField::kTitle)] = AskHost(host, path, L"title");
    tags[static_cast<int>(TagField::kArtist)] = AskHost(host, path, L"artist");
    tags[static_cast<int>(TagField::kAlbum)] = AskHost(host, path, L"album");
    record.year = ParseLeadingInt(AskHost(host, path, L"year"));
    record.track = ParseLeadingInt(AskHost(host, path, L"track"));
    record.bitrate = ParseLeadingInt(AskHost(host, path, L"bitrate"));
    tags[static_cast<int>(TagField::kComment)] = AskHost(host, path, L"comment");
    tags[static_cast<int>(TagField::kGenre)] = AskHost(host, path, L"genre");
    record.length = ParseLeadingInt(AskHost(host, path, L"length"));
    record.SetTags(tags);
    record.tagged = true;
    return true;
}
