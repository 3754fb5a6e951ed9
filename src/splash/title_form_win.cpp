#include "splash/title_form_win.h"

#include "base/errors.h"
#include "splash/effect_engine.h"
#include "splash/title_rules.h"
#include "toolkit/application_win.h"
#include "toolkit/dpi.h"
#include "toolkit/dpi_win.h"
#include "toolkit/draw_win.h"
#include "toolkit/gdi_pixels_win.h"
#include "toolkit/monitors_win.h"
#include "toolkit/text_win.h"

namespace kembo {

namespace {
constexpr int kFontHeight = -13;
constexpr int32_t kFramePauseMs = 5;
}  // namespace

Ttitle4_f1::Ttitle4_f1(Application& app, ScreenReader readScreen)
    : Form(app, L"Ttitle4_f1", FormRole::NeverMain),
      readScreen_(readScreen ? std::move(readScreen) : ScreenReader(CaptureScreenPixels)) {
    // Made on the monitor it opens on, so that its caption's font is of that monitor's DPI.
    const Rect area = OpeningWorkArea(App());
    CreateHandle(WS_POPUP, WS_EX_TOPMOST, area.left, area.top, 0, 0);
    SetCaption("title4_f1");
    MakeFont(WindowDpi(Handle()));
}

void Ttitle4_f1::MakeFont(int dpi) {
    fontHeight_ = FontHeightForDpi(kFontHeight, dpi);
    font_.Reset(CreateFontW(fontHeight_, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"System"));
}

void Ttitle4_f1::PlaceCaption() {
    const Point place = CaptionLabelPlace(Height(), fontHeight_);
    captionLeft_ = place.x;
    captionTop_ = place.y;
}

Ttitle4_f1::~Ttitle4_f1() = default;

PixelBuffer Ttitle4_f1::LoadResourceBitmap(const std::string& name) const {
    std::optional<PixelBuffer> pixels = LoadBitmapPixels(moduleInstance, name);
    if (!pixels) throw Error("LoadBitMap err");
    return std::move(*pixels);
}

void Ttitle4_f1::PlaceCentred(int32_t width, int32_t height) {
    const Point place = CentredIn(OpeningWorkArea(App()), width, height);
    SetTop(place.y);
    SetLeft(place.x);
    SetWidth(width);
    SetHeight(height);
}

void Ttitle4_f1::PrepareFirstPicture() {
    const PixelBuffer picture = LoadResourceBitmap(picture1Name);
    // Placed first, so that the screen is read where the splash will stand.
    PlaceCentred(picture.Width(), picture.Height());
    const std::optional<PixelBuffer> capture = readScreen_(Left(), Top(), picture.Width(), picture.Height());
    const Mask mask = MonochromeOf(LoadResourceBitmap(mask1Name));
    firstComposite_ = ComposeTitle(picture.Width(), picture.Height(), capture, picture, mask);
    secondComposite_ = PixelBuffer(picture.Width(), picture.Height());
    displayBitmap_ = firstComposite_;
}

void Ttitle4_f1::Repaint() {
    Invalidate();
    Update();
    // Start-up sleeps next: the picture must be on the screen before.
    PresentDrawing();
}

void Ttitle4_f1::RunTransition() {
    if (displayBitmap_.Empty()) return;  // nothing was prepared
    const PixelBuffer picture = LoadResourceBitmap(picture2Name);
    const Mask mask = MonochromeOf(LoadResourceBitmap(mask2Name));
    // The splash is on the screen now: the capture holds the first picture as shown. The
    // second picture is cut at the first one's size.
    const std::optional<PixelBuffer> capture = readScreen_(Left(), Top(), picture.Width(), picture.Height());
    secondComposite_ = ComposeTitle(displayBitmap_.Width(), displayBitmap_.Height(), capture, picture, mask);

    AMTEffect1 engine([] { return static_cast<uint32_t>(GetTickCount()); });
    engine.newPicture = &secondComposite_;
    engine.oldPicture = &firstComposite_;
    engine.output = &displayBitmap_;
    engine.onStep = [this](AMTEffect1& e) { return StepCallback(e); };
    engine.SelectEffect(effectNumber, screenWidth, screenHeight);
    engine.Run();
}

int32_t Ttitle4_f1::StepCallback(AMTEffect1& engine) {
    if (engine.state == kRunning || engine.state == kFinished) {
        // Straight onto the window: each frame shows at once, over the caption too.
        DrawPixelsNow(Handle(), displayBitmap_);
        // The last frame is followed by no pause but by start-up's work and wait.
        PresentDrawing();
    }
    if (engine.state == kRunning) {
        if (engine.interval != 0) {
            App().ProcessMessages();
        } else {
            WaitWithMessages(kFramePauseMs);
        }
    }
    return 0;
}

void Ttitle4_f1::WaitWithMessages(int32_t milliseconds) {
    const uint32_t start = GetTickCount();
    while (StillWaiting(start, GetTickCount(), milliseconds)) App().ProcessMessages();
}

void Ttitle4_f1::FormShow() {
    // The first composite has the first picture's size.
    PlaceCentred(firstComposite_.Width(), firstComposite_.Height());
    PlaceCaption();
    captionVisible_ = true;
}

void Ttitle4_f1::FormPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    DrawPixels(dc, 0, 0, displayBitmap_);
    if (captionVisible_ && !captionText.empty()) {
        SelectGuard font(dc, font_.Get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, captionColor);
        // The whole name as it is: one line, unclipped, an "&" shown as itself.
        const std::wstring text = Wide(captionText);
        RECT at{captionLeft_, captionTop_, captionLeft_, captionTop_};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &at, DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP);
    }
    // Whatever the picture does not cover.
    ExcludeClipRect(dc, 0, 0, displayBitmap_.Width(), displayBitmap_.Height());
    FillRect(dc, &ps.rcPaint, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    EndPaint(Handle(), &ps);
}

LRESULT Ttitle4_f1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        FormPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the paint handler covers the whole window
    case WM_SHOWWINDOW:
        if (wParam) FormShow();
        break;
    case kDpiChangedMessage:
        // The pictures keep their pixels and the window its place over the screen they were
        // composed on; the caption takes the new DPI's font.
        MakeFont(HIWORD(wParam));
        PlaceCaption();
        Invalidate();
        return 0;
    case WM_SYSCOMMAND:
        // Neither Alt+F4 nor the system menu closes the splash.
        if (RefusesSystemCommand(static_cast<uint32_t>(wParam))) return 0;
        break;
    default:
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

}  // namespace kembo
