// Record blocks: records placed one after another, each followed by its texts, and destroyed
// together with the block.
#include "db/RecordBlock.h"

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
        at += SlotBytes(FileRecord::UnitsOf(reinterpret_cast<const wchar_t*>(record + 1)));
        record->~FileRecord();
    }
    this->~RecordBlock();
    ::operator delete(this);
    return 0;
}

RecordMaker::~RecordMaker() {
    if (block_) block_->Release();
}

Ref<FileRecord> RecordMaker::Make(Ref<TextObject> folder, std::wstring_view fileName,
                                  const FileRecord::TagViews& tags) {
    size_t units = FileRecord::TextUnits(fileName, tags);
    void* slot = block_ ? block_->Place(units) : nullptr;
    if (!slot) {
        // A record too big for a fresh block (texts of nearly 128K characters) is made on the heap.
        if (SlotBytes(units) > RecordBlock::kBytes) {
            auto record = Ref<FileRecord>::Make();
            record->Assign(std::move(folder), fileName, tags);
            return record;
        }
        if (block_) block_->Release();
        block_ = RecordBlock::New();
        slot = block_->Place(units);
    }
    auto* record = new (slot) FileRecord();
    record->block_ = block_;
    record->folder_ = std::move(folder);
    record->texts_ = reinterpret_cast<wchar_t*>(record + 1);
    FileRecord::WriteTexts(record->texts_, fileName, tags);
    return Ref<FileRecord>(record);
}
