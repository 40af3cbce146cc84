// What the list and the tree ask of the view controller: the rows shown, the selected node, the
// sort key in effect, the options and the skin colours. The controller implements it.
#pragma once

#include <string>

#include "base/RefCounted.h"
#include "db/FileRecord.h"
#include "db/RowList.h"
#include "db/TreeNode.h"
#include "host/SkinColors.h"
#include "settings/MainViewOptions.h"

class DropCollector;

class ViewModel {
public:
    virtual ~ViewModel() = default;

    // Taken under the view lock; the caller works on its own reference. Null past the end.
    virtual Ref<FileRecord> RowAt(int index) = 0;
    virtual Ref<RowList> CurrentRows() = 0;
    // The node of the tree's selected item, or null (also for "My Library").
    virtual Ref<TreeNode> SelectedNode() = 0;
    // The view-wide default sort key (key "Sort"), saved at shutdown.
    virtual int DefaultSortKey() const = 0;
    virtual void SetDefaultSortKey(int key) = 0;
    // Shows the rows sorted by key (the default key when 0) in place of the shown ones, asks for
    // the tags of the rows now in sight and answers the new list; null when nothing is shown.
    virtual Ref<RowList> SortShownRows(int key) = 0;

    virtual const MainViewOptions& Options() const = 0;
    virtual const SkinColors& Colors() const = 0;
    // The file the host is playing, as last reported.
    virtual std::wstring PlayingPath() const = 0;
    // Gathers what is dropped onto a playlist away from this thread; null where nothing can,
    // and such drops are then refused.
    virtual DropCollector* DropCollection() { return nullptr; }
};
