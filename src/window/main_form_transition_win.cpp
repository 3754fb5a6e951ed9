// Tmainf_f1: transitions between slides, driven by the window's own timer so that the window
// answers its messages between frames.
#include "base/errors.h"
#include "core/settings.h"
#include "splash/effect_steps.h"
#include "toolkit/draw_win.h"
#include "window/handler_guard.h"
#include "window/main_form_win.h"

namespace kembo {

void Tmainf_f1::AdvanceWithTransition() {
    EndTransition();
    const Settings& s = program_.settings;
    const int32_t preset = ChooseTransition(s.val_SSEffect, slideShow_.Random());
    const uint32_t length = TransitionLength(s.val_SSEffectTime, s.val_SSChangeTime);
    if (!s.flag_SlideShow || preset < 0 || length == 0 || backBuffer_.Empty()) {
        AdvanceSlide();
        return;
    }
    // What the window shows now is where the transition starts; the next slide is composed
    // into backBuffer without being drawn, and only a slide composed anew gets a transition.
    PixelBuffer shown = backBuffer_;
    bool composed = false;
    AdvanceSlideBy([&](std::string& name) {
        composed = keptPicture_.Compose(backBuffer_, name, WholeParams(), Source(), PictureReading::fromFile);
    });
    if (composed) StartTransition(preset, length, std::move(shown));
}

void Tmainf_f1::StartTransition(int32_t preset, uint32_t lengthMs, PixelBuffer shown) {
    try {
        auto t = std::make_unique<Transition>();
        t->from = std::move(shown);
        t->frame = PixelBuffer(backBuffer_.Width(), backBuffer_.Height());
        AMTEffect1& e = t->engine;
        e.oldPicture = &t->from;
        e.newPicture = &backBuffer_;
        e.output = &t->frame;
        // Sized from the window, as the splash sizes its effect from its picture.
        e.SelectEffect(preset, backBuffer_.Width(), backBuffer_.Height());
        const std::optional<int32_t> last = LastEffectStep(e);
        if (last && *last > 0 && e.Begin() > 0) {
            t->pace = TransitionPace{lengthMs, *last};
            t->startTick = SteadyTicks();
            transition_ = std::move(t);
            ShowTransitionStep(0);
            return;
        }
    } catch (const std::exception&) {
        // No memory for the frames: the change is a cut.
        transition_.reset();
    }
    DrawPixelsNow(Handle(), backBuffer_);
}

void Tmainf_f1::ShowTransitionStep(int32_t step) {
    Transition& t = *transition_;
    int32_t result = -1;
    try {
        result = t.engine.DrawStep(step);
    } catch (const std::exception&) {
        // A routine without the memory it needs: the rest of the transition is left out.
    }
    if (result <= 0 || step >= t.pace.lastStep) {
        // Whatever the routine's last frame holds, the transition ends on what a cut shows.
        EndTransition();
        DrawPixelsNow(Handle(), backBuffer_);
        return;
    }
    DrawPixelsNow(Handle(), t.frame);
    ScheduleTransitionStep();
}

void Tmainf_f1::ScheduleTransitionStep() {
    // Woken when the next step is due, not before: the window stays idle in between.
    const Transition& t = *transition_;
    const uint32_t elapsed = SteadyTicks() - t.startTick;
    const uint32_t due = t.pace.DueAt(t.engine.lastStep + 1);
    tm_Transition.SetInterval(due > elapsed ? due - elapsed : 1);
    tm_Transition.SetEnabled(true);
}

void Tmainf_f1::tm_TransitionTimer() {
    HandlerGuard guard(guards_.transitionTimer);
    if (!guard || !transition_) return;
    // Steps that fell due while the last frame was drawn are left out.
    const int32_t step = transition_->pace.StepAt(SteadyTicks() - transition_->startTick);
    if (step > transition_->engine.lastStep) {
        ShowTransitionStep(step);
    } else {
        ScheduleTransitionStep();
    }
}

void Tmainf_f1::EndTransition() {
    tm_Transition.SetEnabled(false);
    if (!transition_) return;
    transition_.reset();
    // The next paint shows backBuffer, the new picture.
    if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

bool Tmainf_f1::EndsTransition(UINT message, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
        case WM_ENTERSIZEMOVE:
        case WM_SYSCOMMAND:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_CONTEXTMENU:
        case WM_ENTERMENULOOP:
        case WM_INITMENUPOPUP:
        case WM_COMMAND:
        case WM_QUERYENDSESSION:
        case WM_ENDSESSION:
        case WM_CLOSE:
        case WM_DESTROY:
            return true;
        case kTrayMessage:
            return lParam == WM_RBUTTONDOWN;
        default:
            return false;
    }
}

}  // namespace kembo
