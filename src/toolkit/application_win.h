#pragma once
// The application object: title, icon, the hidden top-level window that owns every form
// (and carries the taskbar button), the message loop and the report of uncaught errors.
#include <windows.h>

#include <exception>
#include <string>

namespace kembo {

class Form;

class Application {
public:
    explicit Application(HINSTANCE instance);
    ~Application();
    // The application of the running program (the newest one made), or nullptr.
    static Application* Current();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    HINSTANCE Instance() const { return instance_; }
    HWND Handle() const { return handle_; }
    HICON Icon() const { return icon_; }

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);

    // Common controls; called once before the first form is created.
    void Initialize();

    // The first form created becomes the main form; closing it ends the loop.
    void RegisterForm(Form& form);
    void UnregisterForm(Form& form);
    Form* MainForm() const { return mainForm_; }

    // Shows the main form and dispatches messages until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Dispatches what is waiting in the queue and returns.
    void ProcessMessages();
    // Waits for one message and dispatches it, for nested loops. When it is WM_QUIT, leaves it in
    // the queue for the outer loop, marks the application terminated and returns false.
    bool WaitAndDispatch();

    // The error box for an error nobody caught while a message was handled.
    void HandleException(const std::exception& error);
    void HandleUnknownException();
    void ShowErrorBox(const std::string& message);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool DispatchOne(const MSG& msg);

    HINSTANCE instance_;
    HWND handle_ = nullptr;
    HICON icon_ = nullptr;
    std::string title_;
    Form* mainForm_ = nullptr;
    bool terminated_ = false;
};

}  // namespace kembo
