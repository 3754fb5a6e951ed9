#pragma once
// The base of every window of the program. Its window class name is the form's class name,
// so tools and tests find a form with FindWindowW(L"Tmainf_f1", ...).
#include <windows.h>

#include <string>

#include "toolkit/cursor_win.h"

namespace kembo {

class Application;
class Form;

// The result of a form shown modally (toolkit/modal_win.h); None while it runs.
enum class ModalResult { None, Ok, Cancel, Abort };
ModalResult ShowModal(Form& form, HWND owner);

// Whether a form may become the application's main form (the first such form created does).
// A form shown before the main one, such as a splash, never does.
enum class FormRole { MayBeMain, NeverMain };

class Form {
public:
    Form(Application& app, std::wstring className, FormRole role = FormRole::MayBeMain);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    Application& App() const { return app_; }
    HWND Handle() const { return handle_; }

    std::string Caption() const;
    void SetCaption(const std::string& caption);

    // Screen rectangle of the window; each setter is one change of its own.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int left);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);
    // All four in one change: one resize instead of several.
    void SetBounds(int left, int top, int width, int height);
    int ClientWidth() const;
    int ClientHeight() const;

    // The cursor over the client area; Default leaves it to the window class. A screen-wide
    // cursor, while set, wins over it.
    Cursor WindowCursor() const { return cursor_; }
    void SetWindowCursor(Cursor cursor);

    bool Visible() const;
    void Show();
    void Hide();
    void Invalidate();
    // Paints whatever needs it now, without waiting for the queue.
    void Update();
    // Asks the form to close, as the user would.
    void Close();

    // A result other than None ends the form's modal showing; closing it gives Cancel.
    ModalResult GetModalResult() const { return modalResult_; }
    void SetModalResult(ModalResult result);
    bool Modal() const { return modal_; }

protected:
    // Creates the window (hidden, owned by the application window).
    void CreateHandle(DWORD style, DWORD exStyle, int left, int top, int width, int height);
    // Every message goes here; the default is DefWindowProc and the close rule below.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_CLOSE: when CanClose agrees, OnClose runs; the main form then ends the message loop,
    // a form shown modally ends with Cancel, another form hides.
    virtual bool CanClose() { return true; }
    virtual void OnClose() {}
    HBRUSH backgroundBrush_ = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    RECT WindowRect() const;

    Application& app_;
    std::wstring className_;
    HWND handle_ = nullptr;
    ModalResult modalResult_ = ModalResult::None;
    bool modal_ = false;
    Cursor cursor_ = Cursor::Default;
    friend ModalResult ShowModal(Form& form, HWND owner);
};

}  // namespace kembo
