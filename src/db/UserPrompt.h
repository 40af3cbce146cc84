// The questions the database layer asks the user, behind an interface so that tests can
// answer them and nothing waits for a person in an automated run.
#pragma once

#include <string>

class UserPrompt {
public:
    virtual ~UserPrompt() = default;
    // A Yes/No question; true for Yes.
    virtual bool AskYesNo(const std::wstring& caption, const std::wstring& text) = 0;
};

// Asks with a top-most, task-modal message box with the information icon and no owner.
class MessageBoxPrompt : public UserPrompt {
public:
    bool AskYesNo(const std::wstring& caption, const std::wstring& text) override;
};
