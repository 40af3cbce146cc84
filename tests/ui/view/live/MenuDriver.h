// Drives the next popup menu this thread tracks the way a user's keys would: once the menu
// waits for input it is read item by item, then either cancelled or the wanted item is reached
// with Home, Down and Right and chosen with Enter. The system's own menu loop does the rest,
// so the view gets back exactly what a user's choice returns.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct SeenMenuItem {
    UINT id = 0;
    std::wstring caption;  // an owner-drawn item's caption is read from its item data
    bool separator = false;
    bool greyed = false;
    bool checked = false;
    bool isDefault = false;
    bool ownerDrawn = false;
    std::vector<SeenMenuItem> submenu;
};

class MenuDriver {
public:
    // choose: the code of the item to choose, in the menu or any submenu; 0 cancels.
    explicit MenuDriver(UINT choose = 0);
    ~MenuDriver();
    MenuDriver(const MenuDriver&) = delete;
    MenuDriver& operator=(const MenuDriver&) = delete;

    // The menu opened and was read.
    bool Seen() const { return seen_; }
    // It was closed again (chosen or cancelled).
    bool Closed() const { return closed_; }
    const std::vector<SeenMenuItem>& Items() const { return items_; }
    // The top-left corner of the menu's window on the screen.
    POINT Position() const { return position_; }
    // The sizes the menu's owner gave its owner-drawn items, in the order asked.
    const std::vector<SIZE>& MeasuredItems() const { return measured_; }
    // Owner-drawn items the owner was asked to draw.
    int DrawnItems() const { return drawn_; }
    // False when the item to choose was not in the menu, or was greyed.
    bool Chose() const { return chose_; }

private:
    static LRESULT CALLBACK BeforeSend(int code, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK AfterSend(int code, WPARAM wp, LPARAM lp);
    void OnIdle(HWND menuWindow);

    UINT choose_;
    HHOOK before_ = nullptr;
    HHOOK after_ = nullptr;
    HMENU menu_ = nullptr;
    bool seen_ = false;
    bool closed_ = false;
    bool chose_ = false;
    std::vector<SeenMenuItem> items_;
    POINT position_ = {};
    std::vector<SIZE> measured_;
    int drawn_ = 0;
};

// The item with this id among the items and their submenus, or null.
const SeenMenuItem* FindSeenItem(const std::vector<SeenMenuItem>& items, UINT id);
