// The drag data object: matching requested formats against the held ones and copying media.
#include "ui/view/drop/FileDropData.h"

#include <shlobj.h>

#include <cstring>
#include <utility>

#include "ui/view/drop/DropFileList.h"

namespace {

// A receiver frees what it gets, so each answer is a block of its own.
HGLOBAL CopyGlobal(HGLOBAL source) {
    SIZE_T size = GlobalSize(source);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!copy) return nullptr;
    void* from = GlobalLock(source);
    void* to = GlobalLock(copy);
    if (from && to) std::memcpy(to, from, size);
    if (to) GlobalUnlock(copy);
    if (from) GlobalUnlock(source);
    if (!from || !to) {
        GlobalFree(copy);
        return nullptr;
    }
    return copy;
}

}  // namespace

FileDropData::FileDropData(const FORMATETC& format, const STGMEDIUM& medium) { held_.push_back({format, medium}); }

FileDropData::~FileDropData() {
    for (Held& held : held_) ReleaseStgMedium(&held.medium);
}

Ref<FileDropData> FileDropData::ForFiles(const std::vector<std::wstring>& paths) {
    UniqueGlobal block = BuildDropFileList(paths);
    if (!block) return Ref<FileDropData>();
    STGMEDIUM medium = {};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = block.Release();
    return Ref<FileDropData>::Adopt(new FileDropData(DropFileListFormat(), medium));
}

const FileDropData::Held* FileDropData::Find(const FORMATETC* format) const {
    if (!format) return nullptr;
    for (const Held& held : held_)
        if ((format->tymed & held.format.tymed) && format->cfFormat == held.format.cfFormat &&
            format->dwAspect == held.format.dwAspect)
            return &held;
    return nullptr;
}

HRESULT FileDropData::GetData(FORMATETC* format, STGMEDIUM* medium) {
    if (!medium) return E_INVALIDARG;
    const Held* held = Find(format);
    if (!held) return DV_E_FORMATETC;
    STGMEDIUM answer = {};
    answer.tymed = held->medium.tymed;
    answer.hGlobal = held->medium.tymed == TYMED_HGLOBAL
                         ? CopyGlobal(held->medium.hGlobal)
                         : static_cast<HGLOBAL>(OleDuplicateData(held->medium.hGlobal, held->format.cfFormat, 0));
    if (!answer.hGlobal) return E_OUTOFMEMORY;
    answer.pUnkForRelease = nullptr;
    *medium = answer;
    return S_OK;
}

HRESULT FileDropData::QueryGetData(FORMATETC* format) {
    if (!format) return E_INVALIDARG;
    return Find(format) ? S_OK : DV_E_FORMATETC;
}

HRESULT FileDropData::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
    if (out) out->ptd = nullptr;
    return E_NOTIMPL;
}

HRESULT FileDropData::EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) {
    if (!out) return E_INVALIDARG;
    *out = nullptr;
    if (direction != DATADIR_GET) return E_NOTIMPL;
    return GuardedCall([&] {
        std::vector<FORMATETC> formats;
        for (const Held& held : held_) formats.push_back(held.format);
        return SHCreateStdEnumFmtEtc(static_cast<UINT>(formats.size()), formats.data(), out);
    });
}
