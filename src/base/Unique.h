// Single-owner wrappers for Win32 handles: each closes its handle exactly once and cannot
// be copied, so a handle is never closed twice or leaked on an early return.
#pragma once

#include <windows.h>

#include <utility>

template <class T, class Free, T Invalid = T{}>
class Unique {
public:
    Unique() = default;
    explicit Unique(T h) : h_(h) {}
    ~Unique() { Reset(); }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, Invalid)) {}
    Unique& operator=(Unique&& o) noexcept {
        if (this != &o) {
            Reset();
            h_ = std::exchange(o.h_, Invalid);
        }
        return *this;
    }

    T get() const { return h_; }
    bool valid() const { return h_ != Invalid; }
    explicit operator bool() const { return valid(); }
    T Release() { return std::exchange(h_, Invalid); }
    void Reset(T h = Invalid) {
        if (h_ != Invalid) Free{}(h_);
        h_ = h;
    }

private:
    T h_ = Invalid;
};

struct CloseHandleFree { void operator()(HANDLE h) const { CloseHandle(h); } };
struct FindCloseFree { void operator()(HANDLE h) const { FindClose(h); } };
struct FreeLibraryFree { void operator()(HMODULE m) const { FreeLibrary(m); } };
struct GlobalFreeFree { void operator()(HGLOBAL g) const { GlobalFree(g); } };

using UniqueHandle = Unique<HANDLE, CloseHandleFree>;
// File and find handles signal failure with INVALID_HANDLE_VALUE rather than null.
struct FileHandleFree { void operator()(HANDLE h) const { CloseHandle(h); } };
class UniqueFileHandle : public Unique<HANDLE, FileHandleFree> {
public:
    UniqueFileHandle() = default;
    explicit UniqueFileHandle(HANDLE h) : Unique(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
};
class UniqueFind : public Unique<HANDLE, FindCloseFree> {
public:
    UniqueFind() = default;
    explicit UniqueFind(HANDLE h) : Unique(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
};
using UniqueModule = Unique<HMODULE, FreeLibraryFree>;
using UniqueGlobal = Unique<HGLOBAL, GlobalFreeFree>;
