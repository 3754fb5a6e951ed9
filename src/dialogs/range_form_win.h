#pragma once
// Tsetgrngf_f9: the display-range window. It shows a picture, reduced by the opener's zoom, and
// lets the user mark the rectangle of it that the frame shows; the state machine of
// dialogs/range_selector.h decides, this window applies.
#include <memory>
#include <string>

#include "dialogs/range_selector.h"
#include "toolkit/image_win.h"
#include "toolkit/menu_win.h"
#include "toolkit/modal_win.h"
#include "toolkit/scrolling_form_win.h"

namespace kembo {

class TGraphic;
class TPicture;

class Tsetgrngf_f9 : public ScrollingForm, private RangeView {
public:
    static constexpr int kDesignWidth = 389;
    static constexpr int kDesignHeight = 287;

    // Creates the hidden window and runs FormCreate.
    explicit Tsetgrngf_f9(Application& app);
    ~Tsetgrngf_f9() override;

    // The opener's bounds for the window. Only the size counts, as the window centres itself on
    // the screen at each showing; a width or height of 0 or less keeps the current one.
    void SetOpenerBounds(int left, int top, int width, int height);

    // Preparing a showing, in this order.
    void SetTitle(const std::string& title) { selector_.SetTitle(title); }
    void SetZoom(long double zoomX, long double zoomY) { selector_.SetZoom(zoomX, zoomY); }
    // Builds the display image from the picture; raises PictureError when the image would be
    // too large to make (the window keeps the image it had).
    void SetPicture(const TGraphic& picture);
    void SetPicture(const TPicture& picture);
    void SetRatioRule(RatioKind kind, long double a, long double b) { selector_.SetRatioRule(kind, a, b); }
    void SetInitialRange(const Rect& range) { selector_.SetInitialRange(range); }

    // Centred on the screen, runs modally until a popup command (OK or Cancel) or the close box
    // (Cancel) ends it. The owner is disabled meanwhile (nullptr: the active window).
    ModalResult ShowModal(HWND owner = nullptr);
    // The frame in picture pixels; (0, 0, 0, 0) after OK or Cancel without a frame.
    Rect GetSelection() const { return selector_.GetSelection(); }

    const RangeSelector& Selector() const { return selector_; }
    // The display image, nullptr before the first picture.
    const Image* DisplayImage() const { return image_.get(); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void FormDestroy();
    void BuildMenu();
    void ImageMouseDown(MouseButton button, int x, int y);
    void ImageMouseMove(int x, int y);
    void ImageMouseUp();
    void pm1_okClick();
    void pm1_cancelClick();
    void pm1_clear_rngClick();
    void pm1_set_allrangeClick();

    // RangeView
    void InvertFrame(const Rect& imageRect) override;
    void SetCursorShape(RangeCursor cursor) override;
    void BeginMoveCursor() override;
    void EndMoveCursor() override;
    Viewport VisibleArea() const override;
    void ScrollImageBy(int32_t dx, int32_t dy) override { ScrollBy(dx, dy); }
    void ShowCaption(const std::string& text) override { SetCaption(text); }

    RangeSelector selector_{*this};
    std::unique_ptr<Image> image_;
    PopupMenu pm1_;
    Cursor savedScreenCursor_ = Cursor::Default;
};

}  // namespace kembo
