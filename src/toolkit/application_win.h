#pragma once
// The application object: title, icon, the hidden top-level window that owns every form
// (and carries the taskbar button), the message loop and the report of uncaught errors.
#include <windows.h>

#include <exception>
#include <functional>
#include <map>
#include <string>
#include <utility>

#include "toolkit/handles_win.h"

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
    // The program's icon at the size a DPI asks for: a window's small icon (caption,
    // notification area) or its large one (task switching); made once per size.
    enum class IconSize { Small, Large };
    HICON IconForDpi(int dpi, IconSize size);
    // Gives a window the program's icons at the DPI of its monitor.
    void SetWindowIcons(HWND window, int dpi);

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);

    // Common controls; called once before the first form is created.
    void Initialize();

    // The first form created becomes the main form; closing it ends the loop.
    void RegisterForm(Form& form);
    void UnregisterForm(Form& form);
    Form* MainForm() const { return mainForm_; }

    // Shows and paints the main form, runs whenShown (work the first sight of the window need
    // not wait for), and dispatches messages until Terminate.
    void Run(const std::function<void()>& whenShown = {});
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
    std::map<int, IconHandle> sizedIcons_;
    std::string title_;
    Form* mainForm_ = nullptr;
    bool terminated_ = false;
};

// Runs f for a caller in the system (a window procedure, a timer, a COM method), where no
// exception may arrive: whatever f throws is reported through app (nobody, when there is none).
template <typename F>
void RunReporting(Application* app, F&& f) {
    try {
        std::forward<F>(f)();
    } catch (const std::exception& error) {
        if (app) app->HandleException(error);
    } catch (...) {
        if (app) app->HandleUnknownException();
    }
}

// The same for f with a result: fallback when f throws.
template <typename R, typename F>
R RunReporting(Application* app, R fallback, F&& f) {
    R result = fallback;
    RunReporting(app, [&] { result = std::forward<F>(f)(); });
    return result;
}

}  // namespace kembo
