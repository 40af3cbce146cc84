// The per-format readers that ReadFileTags combines. Each fills only fields still empty, so
// the caller decides which source wins by the order it calls them in.
#pragma once

#include <cstdint>

#include "TagFile.h"
#include "TagReader.h"

// Reads an ID3v2 tag (versions 2.2 to 2.4) at the start of the file. Answers the offset just
// past the tag, where audio starts: 0 without a tag, the file size when the tag claims more
// than the file holds.
uint64_t ReadId3v2(const TagFile& file, FileTags& tags);

// Reads an ID3v1 tag in the last 128 bytes; answers the bytes it takes (0 or 128).
uint64_t ReadId3v1(const TagFile& file, FileTags& tags);

// The size of an APEv2 tag that ends at end, 0 when there is none: it sits between the audio
// and an ID3v1 tag and must not be counted as audio.
uint64_t ApeTagSize(const TagFile& file, uint64_t end);

// Finds the first MPEG audio frame in [start, end) and sets the length and bitrate from it;
// false when there is no plausible frame.
bool ReadMpegAudio(const TagFile& file, uint64_t start, uint64_t end, FileTags& tags);

// Whether a FLAC stream marker sits at start.
bool IsFlacAt(const TagFile& file, uint64_t start);
// Reads the metadata blocks of the FLAC stream at start: comments, length and bitrate.
void ReadFlac(const TagFile& file, uint64_t start, uint64_t end, FileTags& tags);

// Copies each text field of from into the same field of into when that one is empty.
void FillMissing(FileTags& into, const FileTags& from);
