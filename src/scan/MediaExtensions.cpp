// The case-insensitive extension set.
#include "scan/MediaExtensions.h"

#include "base/Text.h"

void MediaExtensions::Add(const std::wstring& extension) {
    if (!extension.empty()) extensions_.insert(ToLower(extension));
}

bool MediaExtensions::Contains(const std::wstring& extension) const {
    return !extension.empty() && extensions_.count(ToLower(extension)) != 0;
}
