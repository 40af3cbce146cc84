// Record blocks: records placed one after another, each followed by its texts, and destroyed
// together with the block.
#include "db/RecordBlock.h"

#include <algorithm>
#include <iterator>
#include <new>

namespace {
constexpr size_t kAlign = alignof(FileRecord);

size_t SlotBytes(size_t units) {
    size_t bytes = sizeof(FileRecord) + units * sizeof(wchar_t);
    return (bytes + kAlign - 1) & ~(kAlign - 1);
}
}  // namespace

static_assert(sizeof(RecordBlock) % alignof(FileRecord) == 0, "records after the header must stay aligned");

RecordBlock* RecordBlock::New() { return new (::operator new(sizeof(RecordBlock) + kBytes)) RecordBlock(); }

void* RecordBlock::Place(size_t units) {
    size_t bytes = SlotBytes(units);
    if (used_ + bytes > kBytes) return nullptr;
    void* slot = Start() + used_;
    used_ += bytes;
    return slot;
}

// Each slot's size is read back from the texts written behind its record, which stay there
// even when the record has since taken texts of its own.
long RecordBlock::Release() {
    long left = InterlockedDecrement(&count_);
    if (left != 0) return left;
    for (size_t at = 0; at < used_;) {
        auto* record = reinterpret_cast<FileRecord*>(Start() + at);
        at += SlotBytes(FileRecord::UnitsOf(reinterpret_cast<const wchar_t*>(record + 1), record->slotSharedPieces_));
        record->~FileRecord();
    }
    this->~RecordBlock();
    ::operator delete(this);
    return 0;
}

RecordMaker::~RecordMaker() {
    if (block_) block_->Release();
}

unsigned RecordMaker::SharedWithLast(const FileRecord::TagViews& tags) const {
    unsigned shared = 0;
    for (int i = 0; i < kTagFieldCount; ++i) {
        const wchar_t* last = lastTags_[i];
        const std::optional<std::wstring_view>& tag = tags[i];
        if (last && tag && tag->size() >= 2 && tag->size() == last[0] && std::equal(tag->begin(), tag->end(), last + 1))
            shared |= 1u << (1 + i);
    }
    return shared;
}

// Tags the same as the last record's point at its texts: both live in this block, which no
// record outlives. A record that starts a new block writes every text in full.
Ref<FileRecord> RecordMaker::Make(Ref<TextObject> folder, std::wstring_view fileName,
                                  const FileRecord::TagViews& tags) {
    unsigned shared = block_ ? SharedWithLast(tags) : 0;
    void* slot = block_ ? block_->Place(FileRecord::TextUnits(fileName, tags, shared)) : nullptr;
    if (!slot) {
        size_t units = FileRecord::TextUnits(fileName, tags);
        // A record too big for a fresh block (texts of nearly 128K characters) is made on the heap.
        if (SlotBytes(units) > RecordBlock::kBytes) {
            auto record = Ref<FileRecord>::Make();
            record->Assign(std::move(folder), fileName, tags);
            return record;
        }
        if (block_) block_->Release();
        block_ = RecordBlock::New();
        shared = 0;
        slot = block_->Place(units);
    }
    auto* record = new (slot) FileRecord();
    record->block_ = block_;
    record->folder_ = std::move(folder);
    record->texts_ = reinterpret_cast<wchar_t*>(record + 1);
    record->sharedPieces_ = record->slotSharedPieces_ = static_cast<unsigned char>(shared);
    const wchar_t* written[kTagFieldCount];
    FileRecord::WriteTexts(record->texts_, fileName, tags, shared, lastTags_, written);
    std::copy(std::begin(written), std::end(written), lastTags_);
    return Ref<FileRecord>(record);
}
