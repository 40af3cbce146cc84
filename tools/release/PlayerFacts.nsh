; What the installer knows of the player it installs into: its name, its program, the class of
; its main window and where it records its folder. Kept here alone so that the installer and
; its test agree.
!define PLAYER_NAME "Winamp"
!define PLAYER_EXE "winamp.exe"
!define PLAYER_WINDOW_CLASS "Winamp v1.x"
!define PLAYER_KEY "Software\Winamp"
!define PLAYER_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Winamp"
