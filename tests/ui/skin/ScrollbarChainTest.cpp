// The redirected scroll imports among other plugins that patch the same entries of the common
// controls, before us and after us: their patches keep working on both sides of ours, what
// they kept of ours leads to the platform once we let go, and the skinned bars go only onto
// controls whose calls the redirection reaches.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <vector>

#include "BarsFixture.h"
#include "ui/skin/ScrollbarRedirect.h"
#include "ui/skin/SkinScrollbars.h"

namespace {

using namespace bars_test;
using namespace skinbars;

using SetScrollInfoFn = int(WINAPI*)(HWND, int, LPCSCROLLINFO, BOOL);

// Another plugin's patch, made as such plugins make it: straight into the entry, keeping
// what the entry held and calling on to it.
SetScrollInfoFn otherKept = nullptr;
int otherCalls = 0;

int WINAPI OtherSetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw) {
    ++otherCalls;
    return otherKept(window, bar, info, redraw);
}

void** ImportSlot(HMODULE module, const char* dll, const char* function) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress); d->Name; ++d) {
        if (_stricmp(reinterpret_cast<char*>(base + d->Name), dll) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + (d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

void* WriteSlot(void** slot, void* value) {
    DWORD old = 0;
    VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old);
    void* previous = *slot;
    *slot = value;
    VirtualProtect(slot, sizeof(void*), old, &old);
    return previous;
}

HMODULE ServingModule(HWND window) {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(GetClassLongPtrW(window, GCLP_WNDPROC)), &module);
    return module;
}

int PlatformMax(HWND window) {
    SCROLLINFO info = {sizeof(info), SIF_RANGE};
    ::GetScrollInfo(window, SB_VERT, &info);
    return info.nMax;
}

class ScrollbarChainTest : public testing::Test {
protected:
    void SetUp() override {
        owner = CreateOwner(ownerState, 30, 30, 500, 300);
        plain = CreateRowList(owner, 1, 0, 0, 200, 200, 0);
        slot = ImportSlot(ServingModule(plain), "USER32.DLL", "SetScrollInfo");
        ASSERT_NE(slot, nullptr) << "the list's module imports the platform's SetScrollInfo";
        otherCalls = 0;
    }
    void TearDown() override { DestroyWindow(owner); }

    OwnerState ownerState;
    HWND owner = nullptr;
    HWND plain = nullptr;
    void** slot = nullptr;
};

// A plugin that patched after us keeps its patch when we give the entries back; the entry it
// kept, ours, then leads to the platform even for a window that still has the skinned bars;
// and when it quits and puts that entry back, the controls still scroll.
TEST_F(ScrollbarChainTest, APatchMadeAfterOursOutlivesOursAndWhatItKeptLeadsToThePlatform) {
    HWND skinned = CreateRowList(owner, 2, 250, 0, 200, 200, 0);
    {
        ScrollbarRedirect redirect;
        ASSERT_TRUE(redirect.Attach(skinned));
        otherKept = reinterpret_cast<SetScrollInfoFn>(WriteSlot(slot, reinterpret_cast<void*>(&OtherSetScrollInfo)));
    }
    EXPECT_EQ(*slot, reinterpret_cast<void*>(&OtherSetScrollInfo)) << "the other plugin's patch stays";
    ListView_SetItemCountEx(plain, 200, 0);
    EXPECT_GT(otherCalls, 0) << "the list's calls still reach the other plugin";
    EXPECT_EQ(PlatformMax(plain), 199) << "and go on to the platform";

    SCROLLINFO info = {sizeof(info), SIF_RANGE, 0, 50};
    otherKept(skinned, SB_VERT, &info, FALSE);
    EXPECT_EQ(PlatformMax(skinned), 50) << "what it kept is the platform's function, not the bars'";

    WriteSlot(slot, reinterpret_cast<void*>(otherKept));
    ListView_SetItemCountEx(plain, 300, 0);
    EXPECT_EQ(PlatformMax(plain), 299) << "the entry it put back still reaches the platform";
}

// A plugin that patched before us still hears of every window that has no skinned bars while
// we are redirected, and has its patch back afterwards; the skinned bars go only onto controls
// whose calls reach them.
TEST_F(ScrollbarChainTest, APatchMadeBeforeOursStillHearsOfOtherWindowsAndBarsGoOnlyWhereRedirected) {
    otherKept = reinterpret_cast<SetScrollInfoFn>(WriteSlot(slot, reinterpret_cast<void*>(&OtherSetScrollInfo)));
    HWND skinned = CreateRowList(owner, 2, 250, 0, 200, 200, 0);
    {
        ScrollbarRedirect none(std::vector<HMODULE>{});
        EXPECT_FALSE(none.Attach(skinned)) << "no redirection, no bars";
        EXPECT_FALSE(IsAttached(skinned));

        ScrollbarRedirect redirect;
        ASSERT_TRUE(redirect.Attach(skinned));
        otherCalls = 0;
        ListView_SetItemCountEx(plain, 200, 0);
        EXPECT_GT(otherCalls, 0) << "a window without the bars reaches the earlier patch";
        EXPECT_EQ(PlatformMax(plain), 199);

        otherCalls = 0;
        ListView_SetItemCountEx(skinned, 120, 0);
        int min = 0, max = 0;
        skinbars::GetScrollRange(skinned, SB_VERT, &min, &max);
        EXPECT_EQ(max, 119) << "the skinned list's calls reach its bars";
        EXPECT_EQ(otherCalls, 0);
    }
    EXPECT_EQ(*slot, reinterpret_cast<void*>(&OtherSetScrollInfo)) << "the earlier patch is back";
    WriteSlot(slot, reinterpret_cast<void*>(otherKept));
}

}  // namespace
