// What the smart playlist dialog hands the view when the user accepts it: the display name
// and the condition text, sent with the command that creates the root.
#pragma once

#include <string>

#include "base/RefCounted.h"

struct QueryDialogResult : RefCounted {
    QueryDialogResult(std::wstring name, std::wstring query) : name(std::move(name)), query(std::move(query)) {}
    std::wstring name;
    std::wstring query;
};
