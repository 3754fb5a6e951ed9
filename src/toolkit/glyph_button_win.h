#pragma once
// A push button with a small picture left of its caption. The picture comes from a bitmap that
// holds its images side by side, each as high as the bitmap and square: the first for the
// normal button, the second (when there is one) for the disabled button; one colour of the
// bitmap is drawn transparent.
#include <windows.h>
#include <commctrl.h>

#include "toolkit/controls_win.h"
#include "toolkit/handles_win.h"
#include "toolkit/lazy_libraries_win.h"

namespace kembo {

struct ImageListTraits {
    static HIMAGELIST Invalid() { return nullptr; }
    static void Close(HIMAGELIST h) { lazy::ImageList_Destroy(h); }
};
using ImageList = Owned<HIMAGELIST, ImageListTraits>;

class GlyphButton : public Button {
public:
    GlyphButton(HWND parent, int id, const std::string& caption, const Bounds& bounds, bool isDefault = false);
    ~GlyphButton() override;
    // The glyph, margin pixels (designed at 96 DPI) from the left edge; nothing when the bitmap
    // is null.
    void SetGlyph(HBITMAP bitmap, COLORREF transparent, int margin);
    void Place(const Bounds& bounds, int dpi) override;
    int GlyphCount() const { return glyph_ ? lazy::ImageList_GetImageCount(glyph_.Get()) : 0; }

private:
    void ShowGlyph();

    ImageList glyph_;
    int margin_ = 0;
    int dpi_ = 96;
};

}  // namespace kembo
