// Hand-made tag and audio bytes for cases the encoders never write (ID3v2.4, other text
// encodings, unsynchronisation, damage), and a way to read them back through a real file.
#pragma once

#include <string>

#include "TagReader.h"
#include "support/BuildFiles.h"
#include "support/TempFolder.h"

// A file made by the fixture script at build time.
std::wstring Fixture(const wchar_t* name);

std::string Be32(unsigned value);
std::string Syncsafe(unsigned value);
std::string Utf8(const std::wstring& text);
std::string Utf16Le(const std::wstring& text);
std::string Utf16Be(const std::wstring& text);
// Inserts a zero after every 0xFF, which a reader must remove again.
std::string Unsync(const std::string& bytes);

// An ID3v2 tag of the given major version around frames already encoded.
std::string Id3v2(unsigned major, const std::string& frames, unsigned flags = 0);
// Frames of 2.3 (plain size) and 2.4 (syncsafe size) with their flags.
std::string Frame23(const char* id, const std::string& data, unsigned flags = 0);
std::string Frame24(const char* id, const std::string& data, unsigned flags = 0);
// A text frame's data: encoding byte, then the encoded text.
std::string Text(unsigned encoding, const std::string& encoded);

// An ID3v1.1 tag with the given Latin-1 fields.
std::string Id3v1(const std::string& title, const std::string& artist, unsigned char track,
                  unsigned char genre);

// Silent MPEG-1 layer III frames at 128 kbit/s, 44.1 kHz: 417 bytes and 1152 samples each.
std::string SilentFrames(int count);
inline int SilentMs(int frames) { return frames * 1152 * 1000 / 44100; }

// Writes bytes to a file in folder and reads it back.
FileTags ReadBytes(const TempFolder& folder, const std::string& bytes, bool* recognised = nullptr);
