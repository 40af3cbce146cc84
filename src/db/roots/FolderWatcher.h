// What a folder root needs of the threads that watch its folder for changes: to be told to
// stop and to be waited for.
#pragma once

#include "base/RefCounted.h"

class FolderWatcher : public RefCounted {
public:
    virtual void RequestStop() = 0;
    virtual void WaitForEnd() = 0;
};
