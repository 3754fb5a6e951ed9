#pragma once
// An image control: a child window that shows a bitmap of its own, which the program may draw
// into, and which controls sitting on it may show behind them (WM_PRINTCLIENT). It holds the
// mouse capture while a button is down, so that positions outside it keep arriving, and shows
// its parent's cursor.
#include <windows.h>

#include <functional>

#include "base/geometry.h"
#include "toolkit/controls_win.h"
#include "image/pixel_buffer.h"

namespace kembo {

class Application;

enum class MouseButton { Left, Right, Middle };

class Image {
public:
    // A visible child of parent at (x, y), as large as its bitmap.
    Image(Application& app, HWND parent, int x, int y, PixelBuffer bitmap);
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    HWND Handle() const { return handle_; }
    // The bitmap the control shows; after drawing into it, Invalidate the changed part.
    PixelBuffer& Bitmap() { return bitmap_; }
    const PixelBuffer& Bitmap() const { return bitmap_; }
    void Invalidate(const Rect& area);
    // Moves the control and gives it a bitmap of the new size (its pixels to be drawn anew).
    void Place(const Bounds& bounds);
    // Paints what is invalid now.
    void Update();

    // Positions in the control's pixels, negative or beyond its size while captured.
    std::function<void(MouseButton button, int x, int y)> OnMouseDown;
    std::function<void(int x, int y)> OnMouseMove;
    std::function<void(MouseButton button, int x, int y)> OnMouseUp;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void ButtonDown(MouseButton button, LPARAM lParam);
    void ButtonUp(MouseButton button, LPARAM lParam);
    void CaptureLost();

    Application& app_;
    HWND handle_ = nullptr;
    PixelBuffer bitmap_;
    unsigned held_ = 0;  // bits of the buttons down, by MouseButton
    POINT last_{};
};

}  // namespace kembo
