#pragma once
// Ttitle4_f1: the borderless, always-on-top title splash of the start. It shows the first
// title picture laid over the screen behind it, plays one transition to the second and stays
// on that until start-up closes it; the logon user's name stands in its bottom-left corner.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "base/colour.h"
#include "image/pixel_buffer.h"
#include "toolkit/form_win.h"
#include "toolkit/handles_win.h"

namespace kembo {

class AMTEffect1;

class Ttitle4_f1 : public Form {
public:
    // Reads what the screen shows in a rectangle; nullopt when it cannot be read.
    using ScreenReader = std::function<std::optional<PixelBuffer>(int left, int top, int width, int height)>;

    // FormCreate: hidden, stay-on-top, with its caption font. Never the application's main form.
    explicit Ttitle4_f1(Application& app, ScreenReader readScreen = nullptr);
    ~Ttitle4_f1() override;

    // Set by the creator before PrepareFirstPicture.
    HINSTANCE moduleInstance = nullptr;
    std::string picture1Name, mask1Name, picture2Name, mask2Name;
    int32_t effectNumber = 0;
    std::string captionText;
    Color captionColor = 0;
    // The screen size the effect presets are sized from (read once at start-up).
    int32_t screenWidth = 0, screenHeight = 0;

    // Places the splash, reads the screen it will cover and composes the first picture over it.
    void PrepareFirstPicture();
    // Paints the window now (after Show: picture and caption).
    void Repaint();
    // Composes the second picture over what the screen shows now and plays the transition to
    // it, painting every frame at once; returns when the effect has finished.
    void RunTransition();

    const PixelBuffer& FirstComposite() const { return firstComposite_; }
    const PixelBuffer& SecondComposite() const { return secondComposite_; }
    const PixelBuffer& DisplayBitmap() const { return displayBitmap_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // A resource bitmap in 24 bits; raises "LoadBitMap err" when it is missing.
    PixelBuffer LoadResourceBitmap(const std::string& name) const;
    // In the middle of the opening monitor's work area at that size (the first title picture's).
    void PlaceCentred(int32_t width, int32_t height);
    // The caption's font, and its place, at a DPI.
    void MakeFont(int dpi);
    void PlaceCaption();
    void FormShow();
    void FormPaint();
    // The transition's step callback: shows each frame at once and pauses between frames.
    int32_t StepCallback(AMTEffect1& engine);
    // Keeps the application's messages flowing for that long; never sleeps.
    void WaitWithMessages(int32_t milliseconds);

    ScreenReader readScreen_;
    GdiObject font_;
    int fontHeight_ = 0;
    PixelBuffer firstComposite_, secondComposite_, displayBitmap_;
    // The caption label: painted with the window, covered by the transition's frames.
    bool captionVisible_ = false;
    int captionLeft_ = 0, captionTop_ = 0;
};

}  // namespace kembo
