#pragma once
// Tabs with pages. Each page is a window of its own over the tabs' display area, on which the
// controls of that page sit; only the active page is shown.
#include <string>
#include <vector>

#include "toolkit/controls_win.h"

namespace kembo {

class PageControl : public Control {
public:
    PageControl(HWND parent, int id, const Bounds& bounds);
    ~PageControl() override;

    // Adds a tab; its page is the parent for the controls shown under it.
    HWND AddPage(const std::string& caption);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    HWND Page(int index) const { return pages_.at(static_cast<size_t>(index)); }
    int ActivePage() const;
    void SetActivePage(int index);

    void SetFont(HFONT font) override;
    void Place(const Bounds& bounds, int dpi) override;
    LRESULT Notify(const NMHDR& header) override;

private:
    void PlacePages();

    std::vector<HWND> pages_;
};

}  // namespace kembo
