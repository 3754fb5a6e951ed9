#include "toolkit/menu_win.h"

#include "toolkit/text_win.h"

namespace kembo {

PopupMenu::Item& PopupMenu::Add(Item* parent, std::string name, std::string caption,
                                std::function<void()> onClick, std::string hint) {
    auto item = std::make_unique<Item>();
    item->name = std::move(name);
    item->caption = std::move(caption);
    item->hint = std::move(hint);
    item->onClick = std::move(onClick);
    item->id = nextId_++;
    Item& added = *item;
    (parent ? parent->items : items_).push_back(std::move(item));
    return added;
}

PopupMenu::Item* PopupMenu::FindIn(std::vector<std::unique_ptr<Item>>& items,
                                   const std::function<bool(const Item&)>& match) {
    for (auto& item : items) {
        if (match(*item)) return item.get();
        if (Item* found = FindIn(item->items, match)) return found;
    }
    return nullptr;
}

PopupMenu::Item* PopupMenu::Find(const std::string& name) {
    return FindIn(items_, [&](const Item& item) { return item.name == name; });
}

HMENU PopupMenu::Build(const std::vector<std::unique_ptr<Item>>& items) const {
    HMENU menu = CreatePopupMenu();
    for (const auto& item : items) {
        if (item->IsSeparator()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else if (!item->items.empty()) {
            AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(Build(item->items)),
                        Wide(item->caption).c_str());
        } else {
            AppendMenuW(menu, MF_STRING | (item->checked ? MF_CHECKED : MF_UNCHECKED), item->id,
                        Wide(item->caption).c_str());
        }
    }
    return menu;
}

void PopupMenu::Popup(HWND owner, int x, int y) {
    HMENU menu = Build(items_);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
    // Lets the menu close properly when it was opened from the notification area.
    PostMessageW(owner, WM_NULL, 0, 0);
    DestroyMenu(menu);  // submenus go with it
}

bool PopupMenu::Dispatch(UINT id) {
    Item* item = FindIn(items_, [&](const Item& i) { return i.id == id && i.items.empty() && !i.IsSeparator(); });
    if (!item) return false;
    if (item->onClick) item->onClick();
    return true;
}

}  // namespace kembo
