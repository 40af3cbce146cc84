// Bounded reads from a file opened by wide path, and a cursor over read bytes that cannot run
// past its end: every tag parser works through these two, so a size field that lies yields a
// short or failed read instead of an overrun.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

using Bytes = std::vector<unsigned char>;

// A tag larger than this is treated as damaged and skipped rather than read into memory.
constexpr uint32_t kMaxTagBytes = 16 * 1024 * 1024;

class TagFile {
public:
    explicit TagFile(const wchar_t* path);
    ~TagFile();
    TagFile(const TagFile&) = delete;
    TagFile& operator=(const TagFile&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    uint64_t Size() const { return size_; }
    // Up to count bytes from offset: fewer at the end of the file, none on failure.
    Bytes Read(uint64_t offset, size_t count) const;

private:
    HANDLE handle_;
    uint64_t size_ = 0;
};

// A read cursor over bytes. A read past the end sets the failed flag and answers zero or an
// empty span, so parsers check Failed() once after a group of reads.
class ByteReader {
public:
    ByteReader(const unsigned char* data, size_t size) : data_(data), size_(size) {}
    explicit ByteReader(const Bytes& bytes) : ByteReader(bytes.data(), bytes.size()) {}

    size_t Position() const { return pos_; }
    size_t Remaining() const { return size_ - pos_; }
    bool Failed() const { return failed_; }
    const unsigned char* Here() const { return data_ + pos_; }

    unsigned Byte();
    uint32_t Be16();
    uint32_t Be24();
    uint32_t Be32();
    uint32_t Le32();
    // Four bytes of seven bits each; a byte with its top bit set fails the read.
    uint32_t Syncsafe32();
    // The next n bytes as a new reader; fails (and answers an empty reader) when fewer remain.
    ByteReader Take(size_t n);
    void Skip(size_t n) { Take(n); }

private:
    bool Need(size_t n);

    const unsigned char* data_;
    size_t size_;
    size_t pos_ = 0;
    bool failed_ = false;
};
