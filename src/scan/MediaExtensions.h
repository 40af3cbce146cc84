// The set of file extensions a scan collects: what the host can play, plus playlist files.
// Compared without regard to case; shared by reference between the worker and the view.
#pragma once

#include <set>
#include <string>

#include "base/RefCounted.h"

class MediaExtensions : public RefCounted {
public:
    // Stored lower-case, without the dot.
    void Add(const std::wstring& extension);
    bool Contains(const std::wstring& extension) const;
    size_t Size() const { return extensions_.size(); }

private:
    std::set<std::wstring> extensions_;
};

// The set shared by the whole plugin: the host's playable extensions plus "m3u" and "m3u8",
// asked of the host on first use.
Ref<MediaExtensions> SharedMediaExtensions();
// At shutdown; the next use asks the host again.
void ReleaseSharedMediaExtensions();
