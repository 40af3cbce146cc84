// The colours the dialog's controls get from the skin, and the one brush slot behind them.
#include <gtest/gtest.h>

#include <windows.h>

#include "SkinCanvas.h"
#include "base/GuiObjects.h"
#include "host/SkinColors.h"
#include "ui/skin/SkinBrushSlot.h"
#include "ui/skin/SkinPaint.h"

namespace {

COLORREF BrushColor(LRESULT brush) {
    LOGBRUSH description = {};
    if (!GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof(description), &description)) return CLR_INVALID;
    return description.lbColor;
}

struct ControlColorCase {
    UINT message;
    COLORREF background;
    COLORREF text;
};

// Static texts sit on the dialog's colour with their own text colour; every other control
// has the field colour and the common text colour.
const ControlColorCase kCases[] = {
    {WM_CTLCOLOREDIT, kTestControlBackground, kTestControlText},
    {WM_CTLCOLORLISTBOX, kTestControlBackground, kTestControlText},
    {WM_CTLCOLORBTN, kTestControlBackground, kTestControlText},
    {WM_CTLCOLORSTATIC, kTestDialogBackground, kTestStaticText},
    {WM_CTLCOLORDLG, kTestDialogBackground, kTestControlText},
};

TEST(ControlColorTest, EachKindOfControlGetsItsSkinColours) {
    SkinColors colors;
    colors.ReadFrom(MakeTestSkin());
    SkinBrushSlot brushes;
    SkinCanvas canvas(4, 4, 0);
    for (const ControlColorCase& c : kCases) {
        LRESULT brush = SkinPaint(colors, brushes, nullptr, c.message, reinterpret_cast<WPARAM>(canvas.dc()), 0);
        ASSERT_NE(brush, 0) << c.message;
        EXPECT_EQ(BrushColor(brush), c.background) << c.message;
        EXPECT_EQ(GetBkColor(canvas.dc()), c.background) << c.message;
        EXPECT_EQ(GetTextColor(canvas.dc()), c.text) << c.message;
    }
}

TEST(ControlColorTest, OtherMessagesAreLeftToTheDialog) {
    SkinColors colors;
    colors.ReadFrom(MakeTestSkin());
    SkinBrushSlot brushes;
    SkinCanvas canvas(4, 4, 0);
    for (UINT message : {static_cast<UINT>(WM_CTLCOLORSCROLLBAR), static_cast<UINT>(WM_CTLCOLORMSGBOX),
                         static_cast<UINT>(WM_PAINT), static_cast<UINT>(WM_ERASEBKGND)})
        EXPECT_EQ(SkinPaint(colors, brushes, nullptr, message, reinterpret_cast<WPARAM>(canvas.dc()), 0), 0) << message;
    EXPECT_EQ(brushes.Current(), nullptr);
}

// Controls ask on every paint; each answer replaces the brush of the one before, and the last
// one goes with the slot.
TEST(ControlColorTest, TheSlotHoldsOneBrushHoweverOftenControlsAsk) {
    SkinColors colors;
    colors.ReadFrom(MakeTestSkin());
    SkinCanvas canvas(4, 4, 0);
    DWORD before = CountGuiObjects().gdi;
    {
        SkinBrushSlot brushes;
        LRESULT first = SkinPaint(colors, brushes, nullptr, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(canvas.dc()), 0);
        for (int i = 0; i < 1000; ++i)
            SkinPaint(colors, brushes, nullptr, i % 2 ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                      reinterpret_cast<WPARAM>(canvas.dc()), 0);
        EXPECT_EQ(CountGuiObjects().gdi, before + 1);
        if (reinterpret_cast<HBRUSH>(first) != brushes.Current())
            EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(first)), 0u) << "the first brush was deleted";
    }
    EXPECT_EQ(CountGuiObjects().gdi, before);
}

}  // namespace
