// Single owners of image lists and icons: a control never destroys the image list it is
// given, so its owner must, and every loaded icon is destroyed once it has been copied in.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "base/Unique.h"

struct ImageListFree { void operator()(HIMAGELIST list) const { ImageList_Destroy(list); } };
struct DestroyIconFree { void operator()(HICON icon) const { DestroyIcon(icon); } };

using UniqueImageList = Unique<HIMAGELIST, ImageListFree>;
using UniqueIcon = Unique<HICON, DestroyIconFree>;
