// The host's own declaration of the title formatting record a plugin passes with request 298,
// written from the player's published layout so that a plugin which mirrors a wrong layout of
// its own fails against this host as it would against the player.
#pragma once

#include <cstddef>

namespace standin {

constexpr long kFormatTitleRequest = 298;

// A tag callback answers null for a key it does not know and this marker for a key it knows to
// be empty; neither is a block, so neither goes to the free callback.
inline wchar_t* const kTagKnownEmpty = reinterpret_cast<wchar_t*>(-1);

#pragma pack(push, 4)
struct TitleRecord {
    const wchar_t* filename;
    int useExtendedInfo;
    const wchar_t* titleFormat;     // null: our default format
    void* callbackContext;
    wchar_t* out;
    int outLength;                  // in characters, terminator included
    wchar_t*(__cdecl* tagCallback)(const wchar_t* tag, void* context);
    void(__cdecl* freeCallback)(wchar_t* value, void* context);
};
#pragma pack(pop)

static_assert(sizeof(TitleRecord) == 32, "32 bytes on 32-bit Windows");
static_assert(offsetof(TitleRecord, useExtendedInfo) == 4 && offsetof(TitleRecord, titleFormat) == 8 &&
                  offsetof(TitleRecord, callbackContext) == 12 && offsetof(TitleRecord, out) == 16 &&
                  offsetof(TitleRecord, outLength) == 20 && offsetof(TitleRecord, tagCallback) == 24 &&
                  offsetof(TitleRecord, freeCallback) == 28,
              "the player's published layout");

}  // namespace standin
