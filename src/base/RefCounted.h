// Interlocked reference counting shared by every object that crosses threads or windows,
// and Ref<T>, the holder that calls AddRef and Release for its owner.
#pragma once

#include <windows.h>

#include <utility>

class RefCounted {
public:
    RefCounted() = default;
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;

    void AddRef() { InterlockedIncrement(&count_); }

    // The holder that brings the count to zero destroys the object. OnLastRelease runs first,
    // while the object is still whole, for work such as saving settings or stopping threads.
    long Release() {
        long left = InterlockedDecrement(&count_);
        if (left == 0) {
            OnLastRelease();
            delete this;
        }
        return left;
    }

    long RefCount() const { return count_; }

protected:
    virtual ~RefCounted() = default;
    virtual void OnLastRelease() {}

private:
    volatile LONG count_ = 1;
};

// Owns one reference. Adopt() takes over a reference the caller already holds (a new object,
// or one that arrived with a message); the constructor from a raw pointer adds one.
template <class T>
class Ref {
public:
    Ref() = default;
    Ref(T* p) : p_(p) { if (p_) p_->AddRef(); }
    Ref(const Ref& o) : Ref(o.p_) {}
    Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    template <class U>
    Ref(const Ref<U>& o) : Ref(static_cast<T*>(o.get())) {}
    ~Ref() { Reset(); }

    Ref& operator=(Ref o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }

    static Ref Adopt(T* p) {
        Ref r;
        r.p_ = p;
        return r;
    }
    template <class... Args>
    static Ref Make(Args&&... args) { return Adopt(new T(std::forward<Args>(args)...)); }

    // Hands the reference to a receiver (a posted message); the holder is empty afterwards.
    T* Detach() { return std::exchange(p_, nullptr); }
    void Reset() {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }
    bool operator==(const Ref& o) const { return p_ == o.p_; }
    bool operator!=(const Ref& o) const { return p_ != o.p_; }

private:
    T* p_ = nullptr;
};
