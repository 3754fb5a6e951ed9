#pragma once
// OLE for the GUI thread: plug-ins that use COM expect it to be set up before they are loaded.
namespace kembo {

class OleSession {
public:
    OleSession();
    ~OleSession();
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    // False when OleInitialize failed (for instance, the thread is already in the multithreaded
    // apartment); the program goes on without it.
    bool Active() const { return active_; }

private:
    bool active_;
};

}  // namespace kembo
