// Message-box answers to the database layer's questions.
#include "db/UserPrompt.h"

#include <windows.h>

bool MessageBoxPrompt::AskYesNo(const std::wstring& caption, const std::wstring& text) {
    return MessageBoxW(nullptr, text.c_str(), caption.c_str(),
                       MB_YESNO | MB_ICONINFORMATION | MB_TOPMOST | MB_TASKMODAL) == IDYES;
}
