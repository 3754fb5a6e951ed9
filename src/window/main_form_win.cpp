#include "window/main_form_win.h"

#include "toolkit/application_win.h"
#include "window/handler_guard.h"

namespace kembo {

namespace {
constexpr int kTitleWaitCap = 10000;
constexpr int kDefaultWidth = 400;
constexpr int kDefaultHeight = 300;
}  // namespace

Tmainf_f1::Tmainf_f1(Application& app, Program& program)
    : Form(app, L"Tmainf_f1"), program_(program) {}

Tmainf_f1::~Tmainf_f1() = default;

void Tmainf_f1::Create() {
    CreateHandle(WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, kDefaultWidth, kDefaultHeight);
    try {
        FormCreate();
    } catch (const std::exception& error) {
        App().HandleException(error);
    }
}

void Tmainf_f1::FormCreate() {
    guards_ = Guards{};
    HandlerGuard guard(guards_.formCreate);
    if (!guard) return;
    SetCaption(App().Title());
}

void Tmainf_f1::ApplyWindowSettings() {
    Settings& s = program_.settings;
    if (s.val_titlewait > kTitleWaitCap) s.val_titlewait = kTitleWaitCap;
    if (s.width <= 0) s.width = kDefaultWidth;
    if (s.height <= 0) s.height = kDefaultHeight;
    SetTop(s.top);
    SetLeft(s.left);
    SetWidth(s.width);
    SetHeight(s.height);
}

void Tmainf_f1::CaptureWindowRect() {
    Settings& s = program_.settings;
    s.top = Top();
    s.left = Left();
    s.width = Width();
    s.height = Height();
}

void Tmainf_f1::FormResize() {
    if (guards_.closeQueryStarted || guards_.closeStarted || guards_.destroyStarted) return;
    HandlerGuard guard(guards_.formResize);
    if (!guard) return;
    Invalidate();
}

void Tmainf_f1::FormPaint() {
    HandlerGuard guard(guards_.formPaint);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    if (guard) FillRect(dc, &ps.rcPaint, backgroundBrush_);
    EndPaint(Handle(), &ps);
}

void Tmainf_f1::FormDestroy() {
    guards_.destroyStarted = true;
    HandlerGuard guard(guards_.formDestroy);
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
}

LRESULT Tmainf_f1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        FormResize();
        return 0;
    case WM_PAINT:
        FormPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the paint handler covers the whole window
    case WM_ENDSESSION:
        EndSession();
        return 0;
    case WM_DESTROY:
        FormDestroy();
        return 0;
    default:
        return DefaultHandler(message, wParam, lParam);
    }
}

}  // namespace kembo
