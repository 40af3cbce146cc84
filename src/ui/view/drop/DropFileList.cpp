// Building and reading the shell's dropped-file list.
#include "ui/view/drop/DropFileList.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

namespace {

// Releases a medium the data object handed over, whatever its type.
class HeldMedium {
public:
    HeldMedium() = default;
    ~HeldMedium() {
        if (filled_) ReleaseStgMedium(&medium_);
    }
    HeldMedium(const HeldMedium&) = delete;
    HeldMedium& operator=(const HeldMedium&) = delete;
    STGMEDIUM* Fill() { return &medium_; }
    void SetFilled() { filled_ = true; }
    const STGMEDIUM& get() const { return medium_; }

private:
    STGMEDIUM medium_ = {};
    bool filled_ = false;
};

}  // namespace

FORMATETC DropFileListFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

UniqueGlobal BuildDropFileList(const std::vector<std::wstring>& paths) {
    size_t chars = 1;
    for (const std::wstring& path : paths) chars += path.size() + 1;
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t)));
    if (!block) return block;
    auto* header = static_cast<DROPFILES*>(GlobalLock(block.get()));
    if (!header) return UniqueGlobal();
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(header + 1);
    for (const std::wstring& path : paths) {
        std::memcpy(text, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
        text += path.size() + 1;
    }
    GlobalUnlock(block.get());
    return block;
}

std::vector<std::wstring> ReadDropFileList(HGLOBAL block) {
    std::vector<std::wstring> paths;
    auto drop = static_cast<HDROP>(block);
    UINT count = block ? DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) : 0;
    for (UINT i = 0; i < count; ++i) {
        UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length, L'\0');
        if (length) DragQueryFileW(drop, i, path.data(), length + 1);
        if (!path.empty()) paths.push_back(std::move(path));
    }
    return paths;
}

bool OffersDropFileList(IDataObject& data) {
    FORMATETC format = DropFileListFormat();
    return data.QueryGetData(&format) == S_OK;
}

std::vector<std::wstring> DroppedPaths(IDataObject& data) {
    FORMATETC format = DropFileListFormat();
    HeldMedium medium;
    if (data.GetData(&format, medium.Fill()) != S_OK) return {};
    medium.SetFilled();
    if (medium.get().tymed != TYMED_HGLOBAL) return {};
    return ReadDropFileList(medium.get().hGlobal);
}
