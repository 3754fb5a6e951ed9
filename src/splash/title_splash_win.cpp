#include "splash/title_splash_win.h"

#include <windows.h>

#include "splash/title_form_win.h"
#include "splash/title_rules.h"
#include "toolkit/application_win.h"

namespace kembo {

namespace {
constexpr int32_t kSplashEffect = 137;
constexpr Color kCaptionRed = 255;
}  // namespace

TitleSplash::TitleSplash(Application& app, Program& program) : app_(app), program_(program) {}

TitleSplash::~TitleSplash() { CloseTitleSplash(); }

void TitleSplash::ShowTitleSplash(bool commandLineHasParameters) {
    const int32_t wait = program_.settings.val_titlewait;
    if (!SplashWanted(commandLineHasParameters, wait, program_.state)) return;

    form_ = std::make_unique<Ttitle4_f1>(app_);
    Ttitle4_f1& splash = *form_;
    splash.moduleInstance = app_.Instance();
    splash.picture1Name = "title1bmp";
    splash.mask1Name = "title1bmp_mask";
    splash.picture2Name = "title2bmp";
    splash.mask2Name = "title2bmp_mask";
    splash.effectNumber = kSplashEffect;
    splash.captionText = program_.paths.userName;
    splash.captionColor = kCaptionRed;
    splash.screenWidth = program_.paths.screenWidth;
    splash.screenHeight = program_.paths.screenHeight;

    splash.PrepareFirstPicture();
    splash.Show();
    program_.state.splashShowing = true;
    splash.Repaint();
    // As read from the file: the cap applies only to the second wait.
    Sleep(static_cast<DWORD>(wait));
    splash.RunTransition();
}

void TitleSplash::CloseTitleSplash() {
    if (!program_.state.splashShowing) return;
    program_.state.splashShowing = false;
    if (form_) {
        form_->Close();
        form_->Update();
    }
    form_.reset();
}

}  // namespace kembo
