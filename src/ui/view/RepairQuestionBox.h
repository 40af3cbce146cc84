// The repair's four-button question: a system message box whose buttons are renamed
// "I feel lucky", "Yes", "No" and "Cancel" before it first shows.
#pragma once

#include <string>

#include "playlists/PlaylistRepair.h"

// Shows the box on the calling thread (title "Confirm", topmost, no owner) and answers the
// button pressed. Escape and the close box answer Cancel; Enter answers Yes.
RepairAnswer AskRepairQuestion(const std::wstring& question);
