// The data object of the view's drags: pairs of format and medium (one, the dropped-file
// list, in practice), handed out as copies to whoever asks for a matching format.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "base/RefCounted.h"
#include "ui/view/drop/ComObject.h"

class FileDropData final : public ComObject<IDataObject, IID_IDataObject> {
public:
    // Takes the medium over; it is released with the object.
    FileDropData(const FORMATETC& format, const STGMEDIUM& medium);
    // The object carrying these paths as a dropped-file list; null when no memory was left.
    static Ref<FileDropData> ForFiles(const std::vector<std::wstring>& paths);

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    ~FileDropData() override;

    struct Held {
        FORMATETC format;
        STGMEDIUM medium;
    };
    const Held* Find(const FORMATETC* format) const;

    std::vector<Held> held_;
};
