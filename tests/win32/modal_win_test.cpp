// Modal showing against the real window manager: what ends the nested loop, the owner disabled
// meanwhile and enabled before the form hides, a quit passed on, errors still reported.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <thread>
#include <vector>

#include "base/errors.h"
#include "message_box_probe.h"
#include "toolkit/application_win.h"
#include "toolkit/form_win.h"
#include "toolkit/modal_win.h"
#include "toolkit/text_win.h"

namespace kembo {
namespace {

constexpr UINT kRunMessage = WM_APP + 1;

// A form that runs whatever a test posts to it, and notes the owner's state when it hides.
class ProbeForm : public Form {
public:
    ProbeForm(Application& app, const wchar_t* name) : Form(app, name) {
        CreateHandle(WS_OVERLAPPEDWINDOW, 0, 50, 50, 200, 150);
    }
    // Queues a step for the nested loop.
    void Post(std::function<void()> step) {
        steps_.push_back(std::move(step));
        PostMessageW(Handle(), kRunMessage, steps_.size() - 1, 0);
    }
    HWND watchedOwner = nullptr;
    int hides = 0;
    bool ownerEnabledAtHide = false;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kRunMessage) {
            steps_.at(wParam)();
            return 0;
        }
        if (msg == WM_SHOWWINDOW && !wParam) {
            ++hides;
            ownerEnabledAtHide = watchedOwner && IsWindowEnabled(watchedOwner);
        }
        return DefaultHandler(msg, wParam, lParam);
    }

private:
    std::vector<std::function<void()>> steps_;
};

struct ModalFixture : ::testing::Test {
    Application app{GetModuleHandleW(nullptr)};
    ProbeForm main{app, L"TModalMain"};
    ProbeForm dialog{app, L"TModalDialog"};
    void SetUp() override { main.Show(); }
};

TEST_F(ModalFixture, AResultEndsTheLoopAndTheOwnerIsEnabledBeforeTheFormHides) {
    dialog.watchedOwner = main.Handle();
    bool ownerEnabledMeanwhile = true;
    bool shownMeanwhile = false;
    dialog.Post([&] {
        ownerEnabledMeanwhile = IsWindowEnabled(main.Handle());
        shownMeanwhile = dialog.Visible() && dialog.Modal();
        dialog.SetModalResult(ModalResult::Ok);
    });
    EXPECT_EQ(ShowModal(dialog, main.Handle()), ModalResult::Ok);
    EXPECT_FALSE(ownerEnabledMeanwhile);
    EXPECT_TRUE(shownMeanwhile);
    EXPECT_EQ(dialog.hides, 1);
    EXPECT_TRUE(dialog.ownerEnabledAtHide);
    EXPECT_TRUE(IsWindowEnabled(main.Handle()));
    EXPECT_FALSE(dialog.Visible());
    EXPECT_FALSE(dialog.Modal());
    EXPECT_EQ(dialog.GetModalResult(), ModalResult::Ok);
    // A second showing starts without a result.
    dialog.Post([&] { dialog.SetModalResult(ModalResult::Abort); });
    EXPECT_EQ(ShowModal(dialog, main.Handle()), ModalResult::Abort);
}

TEST_F(ModalFixture, TheCloseBoxGivesCancelAndKeepsTheWindow) {
    PostMessageW(dialog.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(ShowModal(dialog, main.Handle()), ModalResult::Cancel);
    EXPECT_TRUE(IsWindow(dialog.Handle()));
    EXPECT_FALSE(app.Terminated());
}

TEST_F(ModalFixture, NestedShowingsDisableTheActiveWindowInTurn) {
    ProbeForm inner(app, L"TModalInner");
    inner.watchedOwner = dialog.Handle();
    bool mainEnabledInside = true, dialogEnabledInside = true;
    ModalResult innerResult = ModalResult::None;
    dialog.Post([&] {
        inner.Post([&] {
            mainEnabledInside = IsWindowEnabled(main.Handle());
            dialogEnabledInside = IsWindowEnabled(dialog.Handle());
            inner.SetModalResult(ModalResult::Ok);
        });
        innerResult = ShowModal(inner);  // the owner is the active window: the dialog
        dialog.SetModalResult(ModalResult::Cancel);
    });
    EXPECT_EQ(ShowModal(dialog), ModalResult::Cancel);
    EXPECT_EQ(innerResult, ModalResult::Ok);
    EXPECT_FALSE(mainEnabledInside);
    EXPECT_FALSE(dialogEnabledInside);
    EXPECT_TRUE(inner.ownerEnabledAtHide);
    EXPECT_TRUE(IsWindowEnabled(main.Handle()));
    EXPECT_TRUE(IsWindowEnabled(dialog.Handle()));
}

TEST_F(ModalFixture, AfterTheApplicationWindowWasActiveTheMainFormIsTheOwner) {
    ShowWindow(app.Handle(), SW_SHOW);
    SetActiveWindow(app.Handle());
    bool mainEnabledMeanwhile = true;
    dialog.Post([&] {
        mainEnabledMeanwhile = IsWindowEnabled(main.Handle());
        dialog.SetModalResult(ModalResult::Ok);
    });
    EXPECT_EQ(ShowModal(dialog), ModalResult::Ok);
    EXPECT_FALSE(mainEnabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(app.Handle()));
}

TEST_F(ModalFixture, AQuitEndsTheShowingWithCancelAndStaysQueued) {
    PostQuitMessage(7);
    EXPECT_EQ(ShowModal(dialog, main.Handle()), ModalResult::Cancel);
    EXPECT_TRUE(app.Terminated());
    EXPECT_TRUE(IsWindowEnabled(main.Handle()));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(ModalFixture, HandlerErrorsAreReportedAndTheShowingGoesOn) {
    app.SetTitle("KEMBO");
    dialog.Post([] { throw Error("範囲を読めません"); });
    dialog.Post([&] { dialog.SetModalResult(ModalResult::Ok); });
    testing::SeenBox seen;
    std::thread answer = testing::AnswerMessageBox(seen);
    const ModalResult result = ShowModal(dialog, main.Handle());
    answer.join();
    EXPECT_EQ(result, ModalResult::Ok);
    ASSERT_TRUE(seen.Found());
    EXPECT_EQ(Narrow(seen.text), "範囲を読めません.");
}

TEST_F(ModalFixture, AVisibleFormCannotBeShownModally) {
    dialog.Show();
    EXPECT_THROW(ShowModal(dialog, main.Handle()), Error);
    EXPECT_TRUE(IsWindowEnabled(main.Handle()));
}

}  // namespace
}  // namespace kembo
