#include "toolkit/page_control_win.h"

#include <commctrl.h>

#include "toolkit/text_win.h"

namespace kembo {

namespace {
constexpr wchar_t kPageClass[] = L"TTabSheet";
}  // namespace

PageControl::PageControl(HWND parent, int id, const Bounds& bounds) : Control(parent, id) {
    // Clipped by its pages, which lie over it.
    AddWindow(WC_TABCONTROLW, "", WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0, bounds, id);
}

PageControl::~PageControl() {
    for (HWND page : pages_) DestroyWindow(page);
}

HWND PageControl::AddPage(const std::string& caption) {
    std::wstring text = Wide(caption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageW(Handle(), TCM_INSERTITEMW, pages_.size(), reinterpret_cast<LPARAM>(&item));
    // A control parent, so that the dialog keys step into the controls of the page; it paints
    // under its controls too, since a group box leaves its inside to the window below.
    const wchar_t* pageClass =
        ControlWindowClass(kPageClass, &ContainerWindowProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    const HWND page = CreateWindowExW(WS_EX_CONTROLPARENT, pageClass, text.c_str(),
                                      WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, Parent(), nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
    pages_.push_back(page);
    PlacePages();
    SetActivePage(ActivePage());
    return page;
}

void PageControl::PlacePages() {
    RECT area{};
    GetClientRect(Handle(), &area);
    SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    MapWindowPoints(Handle(), Parent(), reinterpret_cast<POINT*>(&area), 2);
    for (HWND page : pages_) {
        SetWindowPos(page, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOACTIVATE);
    }
}

int PageControl::ActivePage() const { return static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0)); }

void PageControl::SetActivePage(int index) {
    SendMessageW(Handle(), TCM_SETCURSEL, index, 0);
    const int active = ActivePage();
    for (int i = 0; i < PageCount(); ++i) ShowWindow(Page(i), i == active ? SW_SHOWNA : SW_HIDE);
}

void PageControl::Place(const Bounds& bounds, int dpi) {
    Control::Place(bounds, dpi);
    PlacePages();
}

void PageControl::SetFont(HFONT font) {
    Control::SetFont(font);
    PlacePages();  // the tabs' height follows the font
}

LRESULT PageControl::Notify(const NMHDR& header) {
    if (header.code == TCN_SELCHANGE) SetActivePage(ActivePage());
    return 0;
}

}  // namespace kembo
