#pragma once
// A popup menu with submenus, separators ("-") and check items. The menu is built afresh each
// time it opens, so captions and check marks are always current; a chosen item arrives as
// WM_COMMAND at the owner window, which hands it to Dispatch.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kembo {

class PopupMenu {
public:
    struct Item {
        std::string name;
        std::string caption;
        std::string hint;
        bool checked = false;
        std::function<void()> onClick;
        std::vector<std::unique_ptr<Item>> items;  // a submenu when not empty
        UINT id = 0;
        bool IsSeparator() const { return caption == "-"; }
    };

    // Items are numbered in the order they are added, from firstId on.
    explicit PopupMenu(UINT firstId = 100) : nextId_(firstId) {}

    // Adds an item to the top level (parent nullptr) or to a submenu.
    Item& Add(Item* parent, std::string name, std::string caption, std::function<void()> onClick = {},
              std::string hint = {});
    Item* Find(const std::string& name);

    // Opens the menu at a screen point; the owner receives WM_COMMAND for the chosen item.
    void Popup(HWND owner, int x, int y);
    // Runs the item with this command id; false when the id is not one of the menu's.
    bool Dispatch(UINT id);

private:
    HMENU Build(const std::vector<std::unique_ptr<Item>>& items) const;
    Item* FindIn(std::vector<std::unique_ptr<Item>>& items, const std::function<bool(const Item&)>& match);

    std::vector<std::unique_ptr<Item>> items_;
    UINT nextId_;
};

}  // namespace kembo
