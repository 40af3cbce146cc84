// The plugin's entry in the host's two menus: inserted afresh at every opening (never doubled),
// or, with the modern skin, the host's own entry for the frame relabelled.
#pragma once

#include <windows.h>

struct MenuEntryContext {
    UINT commandId;
    bool frameVisible;
    bool modernSkin;
};

void UpdateMainMenuEntry(HMENU menu, const MenuEntryContext& context);
void UpdateSecondMenuEntry(HMENU menu, const MenuEntryContext& context);
