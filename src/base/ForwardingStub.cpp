// The stubs' machine code and the pages that hold it. The pages are taken from the system and
// never given back, deliberately: whoever copied a stub's address (a plugin that hooked after
// us, a window whose procedure it is) may call it at any time, up to the end of the process,
// long after this module is gone. A stub is a couple of dozen bytes and a module makes a handful
// in a life.
#include "base/ForwardingStub.h"

#include <windows.h>

#include <cstddef>
#include <cstring>

#include "base/CriticalSection.h"

namespace stubs {

namespace {

#pragma pack(push, 1)
// The target word comes first, on a four-byte boundary, so that retargeting is one aligned
// store. The code starts after it:
//   pop eax            ; the caller's return address
//   push bound         ; the extra first argument
//   push eax           ; the return address again, now above it
//   jmp [target]
// The target, being __stdcall, removes the bound value along with the caller's arguments.
struct Stub {
    const void* volatile target;
    unsigned char popEax;
    unsigned char pushImmediate;
    const void* bound;
    unsigned char pushEax;
    unsigned char jumpIndirect[2];
    const void* volatile* targetAddress;
    unsigned char padding[3];
};
#pragma pack(pop)
static_assert(sizeof(Stub) == 20, "stubs keep their target words aligned");
constexpr size_t kCodeOffset = offsetof(Stub, popEax);

// pop eax; pop ecx; push eax; jmp ecx: the bound value is a function taking the caller's
// arguments, which it then returns to the caller itself.
const unsigned char kJumpToBoundCode[] = {0x58, 0x59, 0x50, 0xFF, 0xE1};
constexpr size_t kPageHeader = 16;

struct Page {
    unsigned char* base = nullptr;
    size_t used = 0;
    size_t size = 0;
};

CriticalSection& PoolLock() {
    static CriticalSection lock;
    return lock;
}

Page& CurrentPage() {
    static Page page;
    return page;
}

// The pages stay executable throughout, since another thread may be running a stub while one
// of its neighbours is written; they are writable only for the moment of a write.
class WritablePage {
public:
    explicit WritablePage(void* at) : at_(at) { ok_ = VirtualProtect(at_, 1, PAGE_EXECUTE_READWRITE, &old_) != 0; }
    ~WritablePage() {
        if (!ok_) return;
        VirtualProtect(at_, 1, old_, &old_);
        FlushInstructionCache(GetCurrentProcess(), at_, sizeof(Stub));
    }
    WritablePage(const WritablePage&) = delete;
    WritablePage& operator=(const WritablePage&) = delete;
    bool ok() const { return ok_; }

private:
    void* at_;
    DWORD old_ = 0;
    bool ok_ = false;
};

bool NewPage(Page& page) {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    auto* base = static_cast<unsigned char*>(
        VirtualAlloc(nullptr, system.dwPageSize, MEM_RESERVE | MEM_COMMIT, PAGE_EXECUTE_READWRITE));
    if (!base) return false;
    std::memcpy(base, kJumpToBoundCode, sizeof kJumpToBoundCode);
    DWORD old = 0;
    VirtualProtect(base, system.dwPageSize, PAGE_EXECUTE_READ, &old);
    FlushInstructionCache(GetCurrentProcess(), base, kPageHeader);
    page = Page{base, kPageHeader, system.dwPageSize};
    return true;
}

Stub* StubAt(const void* entry) {
    return reinterpret_cast<Stub*>(const_cast<unsigned char*>(static_cast<const unsigned char*>(entry)) - kCodeOffset);
}

// The first page's leading routine; every page carries one, only so that each page stands alone.
const void*& JumpRoutine() {
    static const void* routine = nullptr;
    return routine;
}

}  // namespace

void* MakeStub(const void* bound, const void* target) {
    Lock hold(PoolLock());
    Page& page = CurrentPage();
    if ((!page.base || page.used + sizeof(Stub) > page.size) && !NewPage(page)) return nullptr;
    if (!JumpRoutine()) JumpRoutine() = page.base;
    auto* stub = reinterpret_cast<Stub*>(page.base + page.used);
    WritablePage writable(stub);
    if (!writable.ok()) return nullptr;
    page.used += sizeof(Stub);
    stub->target = target;
    stub->popEax = 0x58;
    stub->pushImmediate = 0x68;
    stub->bound = bound;
    stub->pushEax = 0x50;
    stub->jumpIndirect[0] = 0xFF;
    stub->jumpIndirect[1] = 0x25;
    stub->targetAddress = &stub->target;
    std::memset(stub->padding, 0xCC, sizeof stub->padding);
    return &stub->popEax;
}

void RetargetStub(void* entry, const void* target) {
    if (!entry) return;
    Stub* stub = StubAt(entry);
    Lock hold(PoolLock());
    WritablePage writable(stub);
    if (!writable.ok()) return;
    InterlockedExchange(reinterpret_cast<volatile LONG*>(&stub->target),
                        static_cast<LONG>(reinterpret_cast<LONG_PTR>(target)));
}

const void* StubTarget(const void* entry) { return entry ? StubAt(entry)->target : nullptr; }

const void* StubBound(const void* entry) { return entry ? StubAt(entry)->bound : nullptr; }

const void* JumpToBound() {
    Lock hold(PoolLock());
    if (!JumpRoutine() && NewPage(CurrentPage())) JumpRoutine() = CurrentPage().base;
    return JumpRoutine();
}

}  // namespace stubs
