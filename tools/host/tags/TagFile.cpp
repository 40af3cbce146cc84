// Wide-path file reads for the tag reader and the bounds-checked byte cursor.
#include "TagFile.h"

TagFile::TagFile(const wchar_t* path)
    : handle_(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
    LARGE_INTEGER size;
    if (IsOpen() && GetFileSizeEx(handle_, &size)) size_ = static_cast<uint64_t>(size.QuadPart);
}

TagFile::~TagFile() {
    if (IsOpen()) CloseHandle(handle_);
}

Bytes TagFile::Read(uint64_t offset, size_t count) const {
    Bytes bytes;
    if (!IsOpen() || offset >= size_) return bytes;
    if (count > size_ - offset) count = static_cast<size_t>(size_ - offset);
    bytes.resize(count);
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    size_t done = 0;
    if (SetFilePointerEx(handle_, at, nullptr, FILE_BEGIN)) {
        while (done < count) {
            DWORD got = 0;
            if (!ReadFile(handle_, bytes.data() + done, static_cast<DWORD>(count - done), &got, nullptr) ||
                got == 0)
                break;
            done += got;
        }
    }
    bytes.resize(done);
    return bytes;
}

bool ByteReader::Need(size_t n) {
    if (failed_ || n > size_ - pos_) {
        failed_ = true;
        return false;
    }
    return true;
}

unsigned ByteReader::Byte() { return Need(1) ? data_[pos_++] : 0; }

uint32_t ByteReader::Be16() {
    uint32_t hi = Byte();
    return (hi << 8) | Byte();
}

uint32_t ByteReader::Be24() {
    uint32_t hi = Be16();
    return (hi << 8) | Byte();
}

uint32_t ByteReader::Be32() {
    uint32_t hi = Be16();
    return (hi << 16) | Be16();
}

uint32_t ByteReader::Le32() {
    if (!Need(4)) return 0;
    const unsigned char* p = data_ + pos_;
    pos_ += 4;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint32_t ByteReader::Syncsafe32() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        unsigned b = Byte();
        if (b & 0x80) failed_ = true;
        value = (value << 7) | (b & 0x7F);
    }
    return failed_ ? 0 : value;
}

ByteReader ByteReader::Take(size_t n) {
    if (!Need(n)) return ByteReader(data_, 0);
    ByteReader part(data_ + pos_, n);
    pos_ += n;
    return part;
}
