// Text of tag values: the character encodings tags are stored in, and numeric genre
// references resolved to genre names.
#pragma once

#include <string>

#include "TagFile.h"

// ID3v2 text encodings, the byte that starts every text frame.
enum TextEncoding : unsigned {
    kLatin1 = 0,
    kUtf16Bom = 1,  // byte order mark first; none means little-endian
    kUtf16Be = 2,
    kUtf8 = 3,
};

std::wstring DecodeLatin1(const unsigned char* p, size_t n);
std::wstring DecodeUtf8(const unsigned char* p, size_t n);
std::wstring DecodeUtf16(const unsigned char* p, size_t n, bool bigEndian);

// Splits off the first string of an encoded run at its terminator (one zero byte, or a zero
// unit on a two-byte boundary for UTF-16) and decodes it; the reader moves past the terminator.
// An unknown encoding reads as Latin-1 so that a damaged frame still shows something.
std::wstring ReadEncodedString(ByteReader& reader, unsigned encoding);

// Removes trailing blanks and zero characters that fixed-width fields are padded with.
std::wstring TrimValue(std::wstring text);

// "Rock", "(17)", "17", "(17)Refined", "(RX)": numeric references become names; a refinement
// text after a reference wins; unknown numbers and plain text stay as stored.
std::wstring ResolveGenre(const std::wstring& stored);
// The name for a genre number of the ID3v1 list and its common extensions, or empty text.
std::wstring GenreName(unsigned index);
