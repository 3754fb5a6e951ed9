#include "toolkit/modal_win.h"

#include "base/catalog.h"
#include "base/errors.h"
#include "toolkit/application_win.h"

namespace kembo {

namespace {

HWND TopLevelOwner(const Form& form, HWND owner) {
    if (!owner) owner = GetActiveWindow();
    // The application's own window is active after its menu in the notification area: the
    // form that menu belongs to is the main one.
    if ((!owner || owner == form.App().Handle()) && form.App().MainForm()) owner = form.App().MainForm()->Handle();
    if (!owner) return nullptr;
    owner = GetAncestor(owner, GA_ROOT);
    // Never the form itself, and never a window of another thread (a desktop that a pinned
    // window has been put on, for one).
    if (!owner || owner == form.Handle() || GetWindowThreadProcessId(owner, nullptr) != GetCurrentThreadId()) {
        return nullptr;
    }
    return owner;
}

}  // namespace

ModalResult ShowModal(Form& form, HWND owner) {
    if (!form.Handle() || form.Visible() || form.modal_) {
        throw Error(Text(TextId::WindowAlreadyShown));
    }
    Application& app = form.App();
    const HWND activeBefore = GetActiveWindow();
    const HWND top = TopLevelOwner(form, owner);

    // Ends the showing on every path: the owner first, so that hiding the form activates it.
    struct Session {
        Form& form;
        HWND top;
        HWND activeBefore;
        bool disabled;
        ~Session() {
            if (disabled) EnableWindow(top, TRUE);
            form.modal_ = false;
            if (form.Handle()) form.Hide();
            if (activeBefore && IsWindow(activeBefore) && IsWindowEnabled(activeBefore)) SetActiveWindow(activeBefore);
        }
    } session{form, top, activeBefore, false};

    form.modalResult_ = ModalResult::None;
    form.modal_ = true;
    // EnableWindow answers whether the window was disabled already; such an owner stays so.
    session.disabled = top && !EnableWindow(top, FALSE);
    form.Show();
    while (form.modalResult_ == ModalResult::None) {
        if (!form.Handle() || app.Terminated() || !app.WaitAndDispatch()) form.modalResult_ = ModalResult::Cancel;
    }
    return form.modalResult_;
}

}  // namespace kembo
