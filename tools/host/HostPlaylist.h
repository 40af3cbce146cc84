// The host's playlist: the model behind the playlist requests and the playlist editor window
// that shows it, takes inserted files and reports its selection.
#pragma once

#include <windows.h>

#include "logic/PlaylistModel.h"

PlaylistModel& ThePlaylist();
HWND CreatePlaylistEditor(HINSTANCE instance, HWND owner);
// Shows the model's entries again after a change.
void RefreshPlaylistEditor();
// The editor's context menu; the plugin adds its "Send to" entry to it when it opens.
HMENU PlaylistEditorMenu();

LRESULT OnClearPlaylist(WPARAM);
LRESULT OnPlaylistLength(WPARAM);
LRESULT OnPlaylistPosition(WPARAM);
LRESULT OnSetPlaylistPosition(WPARAM index);
LRESULT OnPlaylistEntryPath(WPARAM index);
LRESULT OnEnqueueFile(WPARAM record);
LRESULT OnGetShuffle(WPARAM);
LRESULT OnSetShuffle(WPARAM on);
LRESULT OnGetWindow(WPARAM which);
