#pragma once
// Tmainf_f1: the picture frame, a borderless window owned by the application window. It shows
// backBuffer and nothing else, is dragged anywhere, resized by its edges, follows the z-order
// mode and carries the notification-area icon and the popup menu.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/program.h"
#include "image/pixel_buffer.h"
#include "loading/spis.h"
#include "splash/effect_engine.h"
#include "toolkit/form_win.h"
#include "toolkit/menu_win.h"
#include "toolkit/timer_win.h"
#include "window/composition.h"
#include "window/slideshow.h"
#include "window/transition.h"

namespace kembo {

class Tmainf_f1 : public Form {
public:
    // Notification-area callback message and icon identifier.
    static constexpr UINT kTrayMessage = 0x0C00;
    static constexpr UINT kTrayIconId = 1;

    Tmainf_f1(Application& app, Program& program);
    ~Tmainf_f1() override;

    // Creates the (hidden) window and runs FormCreate; an error there is reported and the
    // window stays.
    void Create();

    void ApplyWindowSettings();
    void CaptureWindowRect();
    void ApplyZOrder();
    void AddTrayIcon();
    void RemoveTrayIcon();
    // The icon again at the notification area's present DPI.
    void UpdateTrayIcon();
    // Composes the picture shown (from the kept one while its file is unchanged) without drawing
    // it: its callers repaint the whole window right after.
    void ShowCurrentPicture();
    // Read from the file, composed and drawn at once.
    void ComposeWhole(std::string& path);
    void RebuildBackBuffer();

    const PixelBuffer& BackBuffer() const { return backBuffer_; }
    const std::string& CurrentFile() const { return currentFile_; }

    // The slideshow: list the folder anew, move to the next showable file.
    void ReloadSlideList();
    void AdvanceSlide();
    // What each tick of the slideshow does: the next slide, with a transition when one is set.
    void ChangeSlide();

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
        bool formMouseDown = false;
        bool endSession = false;
        bool trayPopup = false;
        bool fileEnd = false;
        bool setupOption = false;
        bool setupMakeShortcut = false;
        bool setupLogon = false;
        bool rearp = false;
        bool adjustWidth = false;
        bool adjustHeight = false;
        bool helpContents = false;
        bool helpVersion = false;
        bool slideShowTimer = false;
        bool transitionTimer = false;
        // Lasting marks: once closing has begun, resizing no longer recomposes.
        bool closeQueryStarted = false;
        bool closeStarted = false;
        bool destroyStarted = false;
    };

    void FormCreate();
    void CreatePlugins();
    // The picture settings taken anew: the hint flag, the kept picture let go, the slideshow
    // from the start of its list anew (the first slide composed and drawn at once).
    void ApplyShowSettings();
    void FormShow();
    void FormResize();
    void FormPaint();
    void FormDestroy();
    void FormMouseDown(UINT button);
    void EndSession();
    void tm_SlideShowTimer();
    void AdvanceSlideBy(const std::function<void(std::string&)>& compose);

    // Transitions between slides (main_form_transition_win.cpp): the next slide is composed
    // into backBuffer and the engine draws the frames from what the window showed into a frame
    // of its own, one due step at each tick of tm_Transition. Anything that needs the window
    // or backBuffer ends it first, on the new picture.
    struct Transition {
        PixelBuffer from, frame;
        AMTEffect1 engine;
        TransitionPace pace;
        uint32_t startTick = 0;
    };
    void AdvanceWithTransition();
    void StartTransition(int32_t preset, uint32_t lengthMs, PixelBuffer shown);
    void ShowTransitionStep(int32_t step);
    void ScheduleTransitionStep();
    void tm_TransitionTimer();
    void EndTransition();
    // Messages before which a running transition ends: size and move, menus and commands,
    // mouse presses, the end of the session, closing.
    static bool EndsTransition(UINT message, LPARAM lParam);
    CompositionParams BackgroundParams() const;
    CompositionParams WholeParams() const;
    PictureSource Source() const;

    // Menu (main_form_menu_win.cpp).
    void BuildMenu();
    void OpenMenuAt(int x, int y);
    void pm1_file_endClick();
    void pm1_setup_optionClick();
    void pm1_setup_makescClick();
    void pm1_setup_logonClick();
    void pm1_rearpClick();
    void pm1_adjformsize_gtyClick();
    void pm1_adjformsize_gytClick();
    void pm1_help_contentsClick();
    void pm1_help_verinfoClick();
    // The size commands: the other side follows the display range's ratio.
    void AdjustWindowSide(bool& guardFlag, std::optional<int32_t> (*newSide)(const Settings&), int32_t Settings::*side);

    // Edges, z-order lock and the notification area (main_form_frame_win.cpp).
    LRESULT EdgeHitTest(LPARAM lParam) const;
    void LockZOrder(WINDOWPOS& pos) const;
    void TrayCallback(LPARAM lParam);
    // Brings the window back onto a monitor when the monitors have changed under it.
    void KeepOnMonitors();
    void KeepSizeAtNewDpi(const RECT& suggested);

    Program& program_;
    Guards guards_;
    PopupMenu pm1_;
    std::unique_ptr<TSPIs> plugins;
    PixelBuffer backBuffer_;
    KeptPicture keptPicture_;
    SlideShow slideShow_;
    Timer tm_SlideShow;
    Timer tm_Transition;
    std::unique_ptr<Transition> transition_;
    std::string currentFile_;
    bool showHint_ = true;
    bool trayAdded_ = false;
    // The popup menu is open: a close request ends it first.
    bool menuOpen_ = false;
    UINT taskbarCreated_ = 0;
};

}  // namespace kembo
