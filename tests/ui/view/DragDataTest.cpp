// The objects a drag from the view carries: the dropped-file list block and its data object,
// the drop source's answers, and the effect and edge-scroll rules every drop target follows.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "ui/view/drop/DropEffect.h"
#include "ui/view/drop/DropFileList.h"
#include "ui/view/drop/FileDropData.h"
#include "ui/view/drop/FileDropSource.h"

namespace {

using Paths = std::vector<std::wstring>;

const Paths kTwoFiles = {L"C:\\Music\\Rock\\one.mp3", L"D:\\Übersee\\два.flac"};

// A medium the test received, released when the test is done with it.
struct Received {
    STGMEDIUM medium = {};
    HRESULT result = E_FAIL;
    ~Received() {
        if (result == S_OK) ReleaseStgMedium(&medium);
    }
};

TEST(DropFileListTest, BlockHasTheShellLayoutWithWidePathsAndAFinalZero) {
    UniqueGlobal block = BuildDropFileList(kTwoFiles);
    ASSERT_TRUE(block);
    size_t chars = kTwoFiles[0].size() + 1 + kTwoFiles[1].size() + 1 + 1;
    EXPECT_EQ(GlobalSize(block.get()), 20 + chars * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(block.get()));
    EXPECT_EQ(header->pFiles, 20u);
    EXPECT_EQ(header->pt.x, 0);
    EXPECT_EQ(header->pt.y, 0);
    EXPECT_FALSE(header->fNC);
    EXPECT_TRUE(header->fWide);
    auto* text = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(header) + 20);
    EXPECT_EQ(std::wstring(text), kTwoFiles[0]);
    EXPECT_EQ(text[chars - 1], L'\0');
    EXPECT_EQ(text[chars - 2], L'\0');
    GlobalUnlock(block.get());
    EXPECT_EQ(ReadDropFileList(block.get()), kTwoFiles);
}

TEST(FileDropDataTest, EveryRequestGetsACopyOfItsOwn) {
    Ref<FileDropData> data = FileDropData::ForFiles(kTwoFiles);
    ASSERT_TRUE(data);
    FORMATETC format = DropFileListFormat();
    Received first, second;
    first.result = data->GetData(&format, &first.medium);
    second.result = data->GetData(&format, &second.medium);
    ASSERT_EQ(first.result, S_OK);
    ASSERT_EQ(second.result, S_OK);
    EXPECT_EQ(first.medium.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
    EXPECT_EQ(first.medium.pUnkForRelease, nullptr);
    EXPECT_NE(first.medium.hGlobal, second.medium.hGlobal);
    // A receiver that frees its block leaves the next one whole.
    ReleaseStgMedium(&first.medium);
    first.result = E_FAIL;
    EXPECT_EQ(ReadDropFileList(second.medium.hGlobal), kTwoFiles);
    EXPECT_EQ(DroppedPaths(*data), kTwoFiles);
}

TEST(FileDropDataTest, AnswersOnlyTheFormatItHolds) {
    Ref<FileDropData> data = FileDropData::ForFiles(kTwoFiles);
    ASSERT_TRUE(data);
    struct Case {
        FORMATETC format;
        HRESULT expected;
    };
    const Case cases[] = {
        {{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}, S_OK},
        {{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL | TYMED_ISTREAM}, S_OK},
        {{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}, DV_E_FORMATETC},
        {{CF_HDROP, nullptr, DVASPECT_ICON, -1, TYMED_HGLOBAL}, DV_E_FORMATETC},
        {{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM}, DV_E_FORMATETC},
    };
    for (const Case& c : cases) {
        FORMATETC format = c.format;
        EXPECT_EQ(data->QueryGetData(&format), c.expected) << format.cfFormat << " " << format.tymed;
        Received got;
        got.result = data->GetData(&format, &got.medium);
        EXPECT_EQ(got.result, c.expected);
    }
}

TEST(FileDropDataTest, ListsItsFormatAndRefusesWhatItDoesNotSupport) {
    Ref<FileDropData> data = FileDropData::ForFiles(kTwoFiles);
    ASSERT_TRUE(data);
    IEnumFORMATETC* formats = nullptr;
    ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &formats), S_OK);
    FORMATETC listed[2] = {};
    ULONG count = 0;
    formats->Next(2, listed, &count);
    formats->Release();
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(listed[0].cfFormat, CF_HDROP);
    EXPECT_EQ(listed[0].tymed, static_cast<DWORD>(TYMED_HGLOBAL));

    EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, &formats), E_NOTIMPL);
    FORMATETC format = DropFileListFormat();
    STGMEDIUM medium = {};
    EXPECT_EQ(data->GetDataHere(&format, &medium), DV_E_FORMATETC);
    EXPECT_EQ(data->SetData(&format, &medium, FALSE), E_NOTIMPL);
    FORMATETC canonical = {};
    EXPECT_EQ(data->GetCanonicalFormatEtc(&format, &canonical), E_NOTIMPL);
    DWORD connection = 0;
    EXPECT_EQ(data->DAdvise(&format, 0, nullptr, &connection), OLE_E_ADVISENOTSUPPORTED);
    EXPECT_EQ(data->DUnadvise(0), OLE_E_ADVISENOTSUPPORTED);
    IEnumSTATDATA* advises = nullptr;
    EXPECT_EQ(data->EnumDAdvise(&advises), OLE_E_ADVISENOTSUPPORTED);
}

TEST(FileDropDataTest, QueriedInterfacesKeepItAliveUntilTheirRelease) {
    Ref<FileDropData> data = FileDropData::ForFiles(kTwoFiles);
    ASSERT_TRUE(data);
    IUnknown* unknown = nullptr;
    ASSERT_EQ(data->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    IDropTarget* wrong = nullptr;
    EXPECT_EQ(data->QueryInterface(IID_IDropTarget, reinterpret_cast<void**>(&wrong)), E_NOINTERFACE);
    EXPECT_EQ(wrong, nullptr);
    IDataObject* raw = data.Detach();
    EXPECT_EQ(raw->Release(), 1u);  // the one the query added is left
    EXPECT_EQ(unknown->Release(), 0u);
}

TEST(FileDropSourceTest, DropsOnReleaseCancelsOnEscapeAndGoesOnOtherwise) {
    struct Case {
        BOOL escape;
        DWORD keys;
        HRESULT expected;
    };
    const Case cases[] = {
        {FALSE, MK_LBUTTON, S_OK},
        {FALSE, MK_LBUTTON | MK_SHIFT, S_OK},
        {TRUE, MK_LBUTTON, DRAGDROP_S_CANCEL},
        {FALSE, 0, DRAGDROP_S_DROP},
        {TRUE, 0, DRAGDROP_S_DROP},
        {FALSE, MK_CONTROL, DRAGDROP_S_DROP},
    };
    Ref<FileDropSource> source = Ref<FileDropSource>::Adopt(new FileDropSource);
    for (const Case& c : cases)
        EXPECT_EQ(source->QueryContinueDrag(c.escape, c.keys), c.expected) << c.escape << " " << c.keys;
    EXPECT_EQ(source->GiveFeedback(DROPEFFECT_COPY), DRAGDROP_S_USEDEFAULTCURSORS);
}

// A source told "moved" deletes its originals; the view only refers to files, so it answers
// copy, or link where that is all the source offers, and never move.
TEST(DropEffectTest, ADropIsACopyOrALinkNeverAMove) {
    const DWORD both = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    struct Case {
        DWORD keys;
        DWORD allowed;
        DWORD expected;
    };
    const Case cases[] = {
        {0, both, DROPEFFECT_COPY},
        {MK_CONTROL, both, DROPEFFECT_COPY},
        {MK_SHIFT, both, DROPEFFECT_COPY},
        {MK_CONTROL | MK_SHIFT, both, DROPEFFECT_COPY},
        {MK_CONTROL, DROPEFFECT_MOVE, DROPEFFECT_NONE},
        {MK_SHIFT, DROPEFFECT_MOVE, DROPEFFECT_NONE},
        {MK_SHIFT, DROPEFFECT_COPY, DROPEFFECT_COPY},
        {0, DROPEFFECT_MOVE, DROPEFFECT_NONE},
        {0, DROPEFFECT_LINK, DROPEFFECT_LINK},
        {MK_SHIFT, DROPEFFECT_MOVE | DROPEFFECT_LINK, DROPEFFECT_LINK},
        {MK_SHIFT, DROPEFFECT_NONE, DROPEFFECT_NONE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseDropEffect(c.keys, c.allowed), c.expected) << c.keys << " " << c.allowed;
}

TEST(DropEffectTest, ScrollsOneLineOnlyWithinFifteenPixelsOfAnEdge) {
    struct Case {
        int y;
        int expected;
    };
    // A pane from 100 to 300.
    const Case cases[] = {{99, 0}, {100, -1}, {114, -1}, {115, 0}, {200, 0}, {284, 0}, {285, 1}, {299, 1}, {300, 0}};
    for (const Case& c : cases) EXPECT_EQ(EdgeScrollStep(c.y, 100, 300), c.expected) << c.y;
}

}  // namespace
