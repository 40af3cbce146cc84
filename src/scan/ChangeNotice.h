// One change on disk under a watched root, as the watchers report it.
#pragma once

#include <string>

#include "base/RefCounted.h"
#include "db/roots/Root.h"

enum class ChangeAction : int { kAdded = 1, kRemoved = 2, kModified = 3, kOldName = 4, kNewName = 5 };

struct ChangeNotice : RefCounted {
    ChangeNotice(std::wstring path, ChangeAction action, Ref<Root> root)
        : path(std::move(path)), action(action), root(std::move(root)) {}
    std::wstring path;  // the root's path joined with the changed entry's relative name
    ChangeAction action;
    Ref<Root> root;
};
