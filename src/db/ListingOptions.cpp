// Parsing the file-type setting.
#include "db/ListingOptions.h"

TypeFilter ParseTypeFilter(const std::wstring& setting) {
    TypeFilter filter;
    size_t start = 0;
    while (start <= setting.size()) {
        size_t end = setting.find(L';', start);
        if (end == std::wstring::npos) end = setting.size();
        if (end > start) filter.insert(ToLower(setting.substr(start, end - start)));
        start = end + 1;
    }
    return filter;
}
