// Resource ids of the stand-in host's own dialogs and bitmaps.
#pragma once

#define kIdFileInfoDialog 300
#define kIdFileInfoPath 1000
#define kIdFileInfoTags 1001
