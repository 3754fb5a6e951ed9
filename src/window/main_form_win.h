#pragma once
// Tmainf_f1: the picture frame, a borderless window owned by the application window.
#include "core/program.h"
#include "toolkit/form_win.h"

namespace kembo {

class Tmainf_f1 : public Form {
public:
    Tmainf_f1(Application& app, Program& program);
    ~Tmainf_f1() override;

    // Creates the (hidden) window and runs FormCreate; an error there is reported and the
    // window stays.
    void Create();

    // Makes the window match the settings: caps, defaults, then top, left, width, height.
    void ApplyWindowSettings();
    // Copies the window's rectangle into the settings.
    void CaptureWindowRect();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool CanClose() override;
    void OnClose() override;

private:
    struct Guards {
        bool formCreate = false;
        bool formShow = false;
        bool formResize = false;
        bool formPaint = false;
        bool formDestroy = false;
        bool formClose = false;
        bool formCloseQuery = false;
        bool endSession = false;
        // Lasting marks: once closing has begun, resizing no longer recomposes.
        bool closeQueryStarted = false;
        bool closeStarted = false;
        bool destroyStarted = false;
    };

    void FormCreate();
    void FormResize();
    void FormPaint();
    void FormDestroy();
    void EndSession();

    Program& program_;
    Guards guards_;
};

}  // namespace kembo
