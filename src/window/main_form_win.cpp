#include "window/main_form_win.h"

#include "base/catalog.h"
#include "base/errors.h"
#include "base/numbers.h"
#include "core/message_boxes_win.h"
#include "core/settings.h"
#include "image/pixel_ops.h"
#include "loading/picture_formats.h"
#include "loading/plugin_broker.h"
#include "toolkit/application_win.h"
#include "toolkit/dpi_win.h"
#include "toolkit/draw_win.h"
#include "toolkit/monitors_win.h"
#include "window/frame_rules.h"
#include "window/handler_guard.h"

namespace kembo {

namespace {
constexpr int kTitleWaitCap = 10000;
constexpr int kDefaultWidth = 400;
constexpr int kDefaultHeight = 300;
}  // namespace

Tmainf_f1::Tmainf_f1(Application& app, Program& program)
    : Form(app, L"Tmainf_f1"), program_(program), tm_SlideShow(app), tm_Transition(app) {
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    tm_SlideShow.OnTimer = [this] { tm_SlideShowTimer(); };
    tm_Transition.OnTimer = [this] { tm_TransitionTimer(); };
    BuildMenu();
}

Tmainf_f1::~Tmainf_f1() {
    if (trayAdded_) RemoveTrayIcon();
}

void Tmainf_f1::Create() {
    // Created empty: taking the stored size is then a size change, which composes the picture.
    CreateHandle(WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0, 0);
    RunReporting(&App(), [this] { FormCreate(); });
}

PictureSource Tmainf_f1::Source() const { return PictureSource{PictureFormats::Global(), program_.files}; }

void Tmainf_f1::FormCreate() {
    guards_ = Guards{};
    HandlerGuard guard(guards_.formCreate);
    if (!guard) return;
    SetCaption(App().Title());
    CreatePlugins();
    RebuildBackBuffer();
    ApplyShowSettings();
    program_.rangeWindowBounds = Bounds{Left(), Top(), Width(), Height()};
}

void Tmainf_f1::CreatePlugins() {
    const SystemPorts& p = program_.ports;
    plugins = std::make_unique<TSPIs>(
        SpiHostPorts{p.modules, p.memory, p.ansi, p.files, p.registry, p.folders, PictureFormats::Global(), p.broker},
        program_.paths.programFolder);
    if (p.broker) p.broker->SetTimeout(static_cast<uint32_t>(program_.settings.val_spitimeout));
    plugins->OnPictureRegister = [](TSPIs&, TInSPI&, const std::string&, const std::string&, const PictureClass*&) {};
    if (program_.settings.val_usespi == 1) plugins->Loaded();
}

void Tmainf_f1::ApplyShowSettings() {
    showHint_ = program_.settings.flag_use_hins1;
    // New settings may read the same file differently (the plug-ins may have changed).
    keptPicture_.Release();
    ReloadSlideList();
    slideShow_.Restart();
    AdvanceSlide();
}

void Tmainf_f1::ReloadSlideList() {
    Settings& s = program_.settings;
    if (s.flag_SlideShow) {
        if (!slideShow_.Reload(s, program_.files)) ShowError(Text(TextId::NoFilesInFolder));
        tm_SlideShow.SetInterval(SlideShow::IntervalMs(s.val_SSChangeTime));
    }
    tm_SlideShow.SetEnabled(s.flag_SlideShow);
    if (program_.ports.broker) program_.ports.broker->SetReadingsFollow(s.flag_SlideShow);
}

void Tmainf_f1::AdvanceSlide() {
    AdvanceSlideBy([this](std::string& name) { ComposeWhole(name); });
}

void Tmainf_f1::AdvanceSlideBy(const std::function<void(std::string&)>& compose) {
    Settings& s = program_.settings;
    if (!s.flag_SlideShow) {
        currentFile_ = s.fn_bgg;
        return;
    }
    try {
        currentFile_ = slideShow_.Advance(s, compose);
    } catch (const Abort&) {
        throw;  // the change is skipped; the slideshow goes on
    } catch (const Error&) {
        // The mode has switched itself off: no more ticks are needed.
        tm_SlideShow.SetEnabled(false);
        throw;
    }
}

void Tmainf_f1::tm_SlideShowTimer() {
    HandlerGuard guard(guards_.slideShowTimer);
    if (guard) ChangeSlide();
}

void Tmainf_f1::ChangeSlide() {
    AdvanceWithTransition();
    Invalidate();
}

void Tmainf_f1::ApplyWindowSettings() {
    Settings& s = program_.settings;
    if (s.val_titlewait > kTitleWaitCap) s.val_titlewait = kTitleWaitCap;
    if (s.width <= 0) s.width = kDefaultWidth;
    if (s.height <= 0) s.height = kDefaultHeight;
    // Stored for monitors that may be gone: brought back onto one when none shows any of it.
    const Rect stored{s.left, s.top, Saturate32(int64_t{s.left} + s.width), Saturate32(int64_t{s.top} + s.height)};
    const Rect placed = PlaceOnMonitors(stored, CurrentMonitors());
    // In one move: each step would resize the window and compose its picture again.
    SetBounds(placed.left, placed.top, static_cast<int>(placed.Width()), static_cast<int>(placed.Height()));
    if (PopupMenu::Item* pin = pm1_.Find("pm1_rearp")) pin->checked = s.pos == 3;
    // A hidden window (at the start) takes its place when it shows: FormShow applies the mode.
    if (Visible()) ApplyZOrder();
}

void Tmainf_f1::CaptureWindowRect() {
    Settings& s = program_.settings;
    s.top = Top();
    s.left = Left();
    s.width = Width();
    s.height = Height();
}

void Tmainf_f1::RebuildBackBuffer() {
    EndTransition();
    try {
        backBuffer_.Reshape(ClientWidth(), ClientHeight());
    } catch (const std::exception&) {
        // A window too large for a picture in memory (a settings file can ask for one) shows
        // its background colour only.
        backBuffer_ = PixelBuffer();
    }
    FillAll(backBuffer_, ToBgr(GetSysColor(COLOR_BTNFACE)));
}

CompositionParams Tmainf_f1::BackgroundParams() const {
    const Settings& s = program_.settings;
    return CompositionParams{s.val_fpossx, s.val_fpossy, s.val_fposex, s.val_fposey, s.val_ecf, s.braito, s.backcolor};
}

CompositionParams Tmainf_f1::WholeParams() const {
    const Settings& s = program_.settings;
    return CompositionParams{-1, -1, -1, -1, s.val_ecf, s.braito, s.backcolor};
}

void Tmainf_f1::ShowCurrentPicture() {
    // The picture shown already: unless its file has changed, the kept one is the same. Drawing
    // it here too would only double the repaint that follows (a size change's largest cost).
    EndTransition();
    const auto reading = PictureReading::keptIfSameFile;
    if (program_.settings.flag_SlideShow) {
        keptPicture_.Compose(backBuffer_, currentFile_, WholeParams(), Source(), reading);
    } else {
        keptPicture_.Compose(backBuffer_, program_.settings.fn_bgg, BackgroundParams(), Source(), reading);
    }
}

void Tmainf_f1::ComposeWhole(std::string& path) {
    EndTransition();
    if (keptPicture_.Compose(backBuffer_, path, WholeParams(), Source(), PictureReading::fromFile))
        DrawPixelsNow(Handle(), backBuffer_);
}

void Tmainf_f1::FormShow() {
    HandlerGuard guard(guards_.formShow);
    if (guard) ApplyZOrder();
}

void Tmainf_f1::FormResize() {
    if (guards_.closeQueryStarted || guards_.closeStarted || guards_.destroyStarted) return;
    HandlerGuard guard(guards_.formResize);
    if (!guard) return;
    RebuildBackBuffer();
    // An empty window has nothing to show: no file is read for it.
    if (!backBuffer_.Empty()) ShowCurrentPicture();
    Invalidate();
}

void Tmainf_f1::FormPaint() {
    HandlerGuard guard(guards_.formPaint);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    if (guard) {
        DrawPixels(dc, 0, 0, transition_ ? transition_->frame : backBuffer_);
        // Whatever the back buffer does not cover (only when it could not be made).
        ExcludeClipRect(dc, 0, 0, backBuffer_.Width(), backBuffer_.Height());
        FillRect(dc, &ps.rcPaint, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    }
    EndPaint(Handle(), &ps);
}

void Tmainf_f1::FormDestroy() {
    guards_.destroyStarted = true;
    HandlerGuard guard(guards_.formDestroy);
    if (!guard) return;
    EndTransition();
    backBuffer_ = PixelBuffer();
    keptPicture_.Release();
}

void Tmainf_f1::FormMouseDown(UINT button) {
    HandlerGuard guard(guards_.formMouseDown);
    if (!guard || button != WM_LBUTTONDOWN || !ZOrderFor(program_.settings.pos).canDrag) return;
    // Hand the drag to the system's own move loop, as if the caption had been grabbed.
    ReleaseCapture();
    SendMessageW(Handle(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

void Tmainf_f1::EndSession() {
    HandlerGuard guard(guards_.endSession);
    if (!guard) return;
    CaptureWindowRect();
    SaveSettings(program_.settings, program_.Storage());
}

bool Tmainf_f1::CanClose() {
    guards_.closeQueryStarted = true;
    HandlerGuard guard(guards_.formCloseQuery);
    return true;
}

void Tmainf_f1::OnClose() {
    guards_.closeStarted = true;
    HandlerGuard guard(guards_.formClose);
    // The menu's own loop would hold the program until the user closed the menu.
    if (menuOpen_) EndMenu();
}

LRESULT Tmainf_f1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (EndsTransition(message, lParam)) EndTransition();
    switch (message) {
    case WM_SIZE:
        FormResize();
        return 0;
    case WM_PAINT:
        FormPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the paint handler covers the whole window
    case WM_SHOWWINDOW:
        if (wParam) FormShow();
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // a quick second press drags as well
        FormMouseDown(WM_LBUTTONDOWN);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        FormMouseDown(message);
        return 0;
    case WM_CONTEXTMENU: {
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        // From the keyboard (the menu key, Shift+F10): at the window's corner, not wherever
        // the mouse happens to be.
        if (lParam == -1) at = POINT{Left(), Top()};
        OpenMenuAt(at.x, at.y);
        return 0;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && pm1_.Dispatch(LOWORD(wParam))) return 0;
        break;
    case WM_NCHITTEST:
        return EdgeHitTest(lParam);
    case WM_WINDOWPOSCHANGING:
        LockZOrder(*reinterpret_cast<WINDOWPOS*>(lParam));
        return 0;
    case WM_ENDSESSION:
        EndSession();
        return 0;
    case WM_DISPLAYCHANGE:
        KeepOnMonitors();
        break;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETWORKAREA) KeepOnMonitors();
        break;
    case kGetDpiScaledSizeMessage: {
        // A frame shows pixels, not layout: its size stays the same at any DPI.
        auto& size = *reinterpret_cast<SIZE*>(lParam);
        size = SIZE{Width(), Height()};
        return TRUE;
    }
    case kDpiChangedMessage:
        KeepSizeAtNewDpi(*reinterpret_cast<const RECT*>(lParam));
        return 0;
    case kTrayMessage:
        TrayCallback(lParam);
        return 0;
    case WM_DESTROY:
        FormDestroy();
        return 0;
    default:
        if (message == taskbarCreated_ && taskbarCreated_ != 0) {
            // A new taskbar has no icons: put ours back so the program stays reachable.
            if (trayAdded_) AddTrayIcon();
            return 0;
        }
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

}  // namespace kembo
