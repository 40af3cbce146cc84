// Which skin colour paints which part of the view's dialog: its controls, its free area, its
// button texts and the lines along its panes.
#pragma once

enum DialogColorIndex : int {
    kSkinControlBackground = 0,  // edits, list boxes and buttons
    kSkinControlText = 1,        // everything but static texts
    kSkinDialogBackground = 2,   // the dialog's free area and its static texts
    kSkinButtonText = 3,         // owner-drawn buttons
    kSkinStaticText = 4,
    kSkinBorderLine = 5,
};
