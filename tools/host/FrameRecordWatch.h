// Watching a frame record that a plugin lent the host: whether the record is still the
// plugin's live memory, so that a host which keeps writing the frame's rectangle into it can
// tell a record freed while its frame lives instead of writing into freed memory.
#pragma once

#include <windows.h>

#include "PlayerInterface.h"

namespace standin {

class FrameRecordWatch {
public:
    // Marks the record in the player's own words. A record that is a block of the process heap
    // (global memory is) is also checked to stay one: a freed block keeps its old bytes, so
    // the mark alone would not show it, and a block handed out again loses the mark.
    explicit FrameRecordWatch(FrameRecord* record)
        : record_(record), heapBlock_(record && HeapValidate(GetProcessHeap(), 0, record)) {
        if (record_) record_->playerWords[kMarkWord] = kMark;
    }

    FrameRecord* record() const { return record_; }
    // Whether the record may still be read and written.
    bool Held() const {
        if (!record_) return false;
        if (heapBlock_ && !HeapValidate(GetProcessHeap(), 0, record_)) return false;
        return record_->playerWords[kMarkWord] == kMark;
    }

private:
    static constexpr int kMarkWord = 63;
    static constexpr DWORD kMark = 0x46524d48;

    FrameRecord* record_;
    bool heapBlock_;
};

}  // namespace standin
