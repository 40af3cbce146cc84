// Ids of the string-table entries.
#pragma once

enum StringId : unsigned {
    kStrLanguageName = 1000,
    kStrProductName = 1001,
    kStrMyLibrary = 1002,
};
