// Tag reading through the host's extended file information request, and the book of requests
// the worker has out with the host's thread.
#include "scan/TagRequest.h"

#include <algorithm>
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

// A record someone asked the host's thread to read. A requester that gave up cannot take its
// message back: the host may still read the record later, so the record is kept alive, and
// those late answers are not stored in it, or the row would claim tags the cache never got and
// no later pass would try it again.
struct OutstandingRead {
    Ref<FileRecord> record;
    int waiting = 0;         // requesters still waiting for an answer
    unsigned stored = 0;     // answers stored into the record while it was out
    bool abandoned = false;  // a request gave up: the host may still hold its message
};

class OutstandingReads {
public:
    // Answers how many answers had been stored in the record so far.
    unsigned Open(FileRecord& record) {
        Lock lock(lock_);
        OutstandingRead& read = FindOrAdd(record);
        ++read.waiting;
        return read.stored;
    }

    // Answers whether the record got its tags since Open: a host that stored them just as the
    // wait ran out has still read the file.
    bool Close(FileRecord& record, unsigned storedBefore, bool gaveUp) {
        Lock lock(lock_);
        OutstandingRead& read = FindOrAdd(record);
        --read.waiting;
        bool stored = read.stored > storedBefore;
        if (gaveUp && !stored) read.abandoned = true;
        if (read.waiting == 0 && !read.abandoned) Erase(record);
        return stored;
    }

    Ref<FileRecord> Awaited(const void* word) {
        Lock lock(lock_);
        for (const OutstandingRead& read : reads_)
            if (read.record.get() == word && read.waiting > 0) return read.record;
        return {};
    }

    // Stores the answers unless every requester of the record has given up on it.
    template <class Store>
    bool StoreIfAwaited(FileRecord& record, Store store) {
        Lock lock(lock_);
        auto read = std::find_if(reads_.begin(), reads_.end(),
                                 [&](const OutstandingRead& r) { return r.record.get() == &record; });
        if (read != reads_.end() && read->waiting == 0) return false;
        store();
        if (read != reads_.end()) ++read->stored;
        return true;
    }

    void ReleaseAbandoned() {
        std::vector<OutstandingRead> released;
        Lock lock(lock_);
        auto idle = std::stable_partition(reads_.begin(), reads_.end(),
                                          [](const OutstandingRead& r) { return r.waiting > 0; });
        released.assign(std::make_move_iterator(idle), std::make_move_iterator(reads_.end()));
        reads_.erase(idle, reads_.end());
    }

private:
    OutstandingRead& FindOrAdd(FileRecord& record) {
        for (OutstandingRead& read : reads_)
            if (read.record.get() == &record) return read;
        reads_.push_back(OutstandingRead{Ref<FileRecord>(&record)});
        return reads_.back();
    }
    void Erase(FileRecord& record) {
        reads_.erase(std::remove_if(reads_.begin(), reads_.end(),
                                    [&](const OutstandingRead& r) { return r.record.get() == &record; }),
                     reads_.end());
    }

    CriticalSection lock_;
    std::vector<OutstandingRead> reads_;
};

OutstandingReads& Outstanding() {
    static OutstandingReads reads;
    return reads;
}

// Only the host window's thread reads tags into records and compares their stamps.
unsigned short& TagStamps() {
    static unsigned short last = 0;
    return last;
}

}  // namespace

bool RequestTags(FileRecord& record, unsigned timeoutMs) {
    HWND host = GetWindow(kHostWindowId);
    if (!host) return false;
    unsigned storedBefore = Outstanding().Open(record);
    DWORD_PTR result = 0;
    LRESULT sent = SendMessageTimeoutW(host, kCommandMessage, reinterpret_cast<WPARAM>(&record), 0,
                                       SMTO_ABORTIFHUNG, timeoutMs, &result);
    bool storedMeanwhile = Outstanding().Close(record, storedBefore, sent == 0);
    return (sent && result) || storedMeanwhile;
}

Ref<FileRecord> AwaitedTagRequest(const void* word) { return Outstanding().Awaited(word); }

void ReleaseAbandonedTagRequests() { Outstanding().ReleaseAbandoned(); }

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

// The host is asked before anything is stored: it may take long, and the record must not be
// half written should the requester give up meanwhile.
bool ReadTags(HWND host, FileRecord& record) {
    std::wstring path = record.Path();
    TagTexts tags;
    tags[static_cast<int>(TagField::kTitle)] = AskHost(host, path, L"title");
    tags[static_cast<int>(TagField::kArtist)] = AskHost(host, path, L"artist");
    tags[static_cast<int>(TagField::kAlbum)] = AskHost(host, path, L"album");
    int year = ParseLeadingInt(AskHost(host, path, L"year"));
    int track = ParseLeadingInt(AskHost(host, path, L"track"));
    int bitrate = ParseLeadingInt(AskHost(host, path, L"bitrate"));
    tags[static_cast<int>(TagField::kComment)] = AskHost(host, path, L"comment");
    tags[static_cast<int>(TagField::kGenre)] = AskHost(host, path, L"genre");
    int length = ParseLeadingInt(AskHost(host, path, L"length"));
    return Outstanding().StoreIfAwaited(record, [&] {
        record.year = year;
        record.track = track;
        record.bitrate = bitrate;
        record.length = length;
        record.SetTags(tags);
        record.tagged = true;
        record.tagStamp = ++TagStamps();
    });
}

unsigned short LastTagStamp() { return TagStamps(); }

bool TaggedSince(const FileRecord& record, unsigned short stamp) {
    return record.tagged && static_cast<short>(record.tagStamp - stamp) > 0;
}
