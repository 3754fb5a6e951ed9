// The toolkit core against the real window manager: the error box for an uncaught error, in a
// form or in a control's handler, the form's class name and geometry, the timer, the common
// dialogs.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

#include "base/errors.h"
#include "message_box_probe.h"
#include "toolkit/application_win.h"
#include "toolkit/common_dialogs_win.h"
#include "toolkit/controls_win.h"
#include "toolkit/form_win.h"
#include "toolkit/text_win.h"
#include "toolkit/timer_win.h"

namespace kembo {
namespace {

constexpr UINT kThrowMessage = WM_APP + 1;

class ThrowingForm : public Form {
public:
    explicit ThrowingForm(Application& app) : Form(app, L"TThrowingForm") {
        CreateHandle(WS_POPUP, 0, 10, 20, 200, 100);
    }
    std::string message = "壁紙に書き込めません";

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kThrowMessage) {
            if (wParam == 1) throw Abort();
            throw Error(message);
        }
        return DefaultHandler(msg, wParam, lParam);
    }
};

using testing::AnswerMessageBox;
using testing::SeenBox;

TEST(ApplicationTest, UncaughtErrorShowsAnErrorBoxAndTheProgramGoesOn) {
    Application app(GetModuleHandleW(nullptr));
    app.SetTitle("KEMBO");
    ThrowingForm form(app);
    EXPECT_EQ(app.MainForm(), &form);

    SeenBox seen;
    std::thread answer = AnswerMessageBox(seen);
    SendMessageW(form.Handle(), kThrowMessage, 0, 0);
    answer.join();
    ASSERT_TRUE(seen.Found());
    EXPECT_EQ(Narrow(seen.caption), "KEMBO");
    EXPECT_EQ(Narrow(seen.text), "壁紙に書き込めません.");

    // The form still answers after the error.
    EXPECT_TRUE(IsWindow(form.Handle()));
    form.message = "Could not read (sample.bmp)";
    SeenBox second;
    answer = AnswerMessageBox(second);
    SendMessageW(form.Handle(), kThrowMessage, 0, 0);
    answer.join();
    EXPECT_EQ(Narrow(second.text), "Could not read (sample.bmp)");
}

TEST(ApplicationTest, SilentAbortShowsNothing) {
    Application app(GetModuleHandleW(nullptr));
    ThrowingForm form(app);
    SendMessageW(form.Handle(), kThrowMessage, 1, 0);
    EXPECT_FALSE(testing::FindMessageBox(GetCurrentProcessId()).Found());
}

// Handlers that throw what is no std::exception, reached through a container's reflected
// notification and through a control's own window hook: reported, never passed to the system.
TEST(ApplicationTest, AnyErrorInAControlHandlerShowsAnErrorBox) {
    Application app(GetModuleHandleW(nullptr));
    app.SetTitle("KEMBO");
    ThrowingForm form(app);
    const HWND panel = CreateWindowExW(0, ControlWindowClass(L"TThrowingPanel", &ContainerWindowProc), L"",
                                       WS_CHILD | WS_VISIBLE, 0, 0, 200, 100, form.Handle(), nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(panel, nullptr);
    Button button(panel, 1, "OK", Bounds{0, 0, 80, 24});
    button.OnClick = [] { throw 42; };
    Edit edit(panel, 2, Bounds{0, 30, 80, 24});
    edit.OnDoubleClick = [] { throw 42; };

    SeenBox clicked;
    std::thread answer = AnswerMessageBox(clicked);
    SendMessageW(panel, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(button.Handle()));
    answer.join();
    ASSERT_TRUE(clicked.Found());
    EXPECT_EQ(Narrow(clicked.text), "予期しないエラーが発生しました.");

    SeenBox doubleClicked;
    answer = AnswerMessageBox(doubleClicked);
    SendMessageW(edit.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    SendMessageW(edit.Handle(), WM_LBUTTONUP, 0, 0);
    answer.join();
    ASSERT_TRUE(doubleClicked.Found());
    EXPECT_EQ(Narrow(doubleClicked.text), "予期しないエラーが発生しました.");
    EXPECT_TRUE(IsWindow(edit.Handle()));
}

TEST(FormTest, ClassNameIsTheFormNameAndEachEdgeMovesAlone) {
    Application app(GetModuleHandleW(nullptr));
    ThrowingForm form(app);
    EXPECT_EQ(FindWindowW(L"TThrowingForm", nullptr), form.Handle());
    EXPECT_EQ(GetWindow(form.Handle(), GW_OWNER), app.Handle());
    EXPECT_EQ(form.Left(), 10);
    EXPECT_EQ(form.Top(), 20);
    form.SetTop(-300);
    form.SetLeft(-1920);
    form.SetWidth(640);
    form.SetHeight(480);
    EXPECT_EQ(form.Left(), -1920);
    EXPECT_EQ(form.Top(), -300);
    EXPECT_EQ(form.Width(), 640);
    EXPECT_EQ(form.Height(), 480);
}

TEST(FormTest, ClosingTheMainFormEndsTheLoop) {
    Application app(GetModuleHandleW(nullptr));
    ThrowingForm form(app);
    PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
    app.Run();  // returns once the close has been handled
    EXPECT_TRUE(app.Terminated());
    EXPECT_TRUE(IsWindow(form.Handle()));  // the window outlives the loop for the last save
}

// Counts what the start relies on: sizes, paints, and whether a posted message was handled.
class CountingForm : public Form {
public:
    explicit CountingForm(Application& app) : Form(app, L"TCountingForm") { CreateHandle(WS_POPUP, 0, 0, 0, 0, 0); }
    int sizes = 0;
    int paints = 0;
    bool posted = false;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_SIZE) ++sizes;
        if (msg == kThrowMessage) posted = true;
        if (msg == WM_PAINT) {
            ++paints;
            PAINTSTRUCT ps;
            BeginPaint(Handle(), &ps);
            EndPaint(Handle(), &ps);
            return 0;
        }
        return DefaultHandler(msg, wParam, lParam);
    }
};

// The frame's start: placed in one change, then shown and painted before the work that may
// wait, which runs before any message waiting in the queue.
TEST(FormTest, OneMoveSizesOnceAndRunPaintsBeforeTheDeferredWork) {
    Application app(GetModuleHandleW(nullptr));
    CountingForm form(app);
    const int sizesBefore = form.sizes;
    form.SetBounds(30, 40, 320, 240);
    EXPECT_EQ(form.sizes, sizesBefore + 1);
    EXPECT_EQ(form.Left(), 30);
    EXPECT_EQ(form.Height(), 240);

    PostMessageW(form.Handle(), kThrowMessage, 0, 0);
    bool ran = false;
    app.Run([&] {
        ran = true;
        EXPECT_TRUE(form.Visible());
        EXPECT_EQ(form.paints, 1);
        EXPECT_FALSE(form.posted);
        PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(form.posted);
    EXPECT_TRUE(app.Terminated());
}

TEST(TimerTest, FiresBetweenMessagesAndReportsErrors) {
    Application app(GetModuleHandleW(nullptr));
    ThrowingForm form(app);
    Timer timer(app);
    int ticks = 0;
    timer.OnTimer = [&] {
        if (++ticks == 3) {
            timer.SetEnabled(false);
            app.Terminate();
        }
    };
    timer.SetInterval(10);
    timer.SetEnabled(true);
    app.Run();
    EXPECT_EQ(ticks, 3);
}

// Their libraries load at the first dialog: each dialog opens, and a cancelled one chose nothing.
TEST(CommonDialogsTest, EachOpensAndCancelledChoosesNothing) {
    const std::function<bool()> dialogs[] = {
        [] {
            OpenPictureDialog dialog;
            dialog.filter = "Bitmap|*.bmp";
            return dialog.Execute(nullptr);
        },
        [] { return ColorDialog().Execute(nullptr); },
    };
    for (size_t i = 0; i < std::size(dialogs); ++i) {
        testing::SeenBox seen;
        std::thread cancel([&seen] {
            seen = testing::WaitForMessageBox(GetCurrentProcessId(), 10000);
            if (seen.Found()) PostMessageW(seen.window, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_FALSE(dialogs[i]()) << i;
        cancel.join();
        EXPECT_TRUE(seen.Found()) << i;
    }
}

}  // namespace
}  // namespace kembo
