// Which of the chosen paths go to the recycle bin: taken once, before the user is asked, so
// that what is sent is what was chosen, whatever the view shows by the time of the answer.
#pragma once

#include <string>
#include <vector>

struct RecycleList {
    std::wstring paths;   // each followed by a NUL, the whole by one more, as the shell reads it
    int count = 0;
    int tooLong = 0;      // left where they are: the shell would cut each into another path
};

// Every path once (compared without regard to case), never a URL, and none longer than the
// shell's limit, which is counted instead.
RecycleList CollectRecyclePaths(const std::vector<std::wstring>& chosen);
