#pragma once
// Re-entry guard of an event handler: the handler runs only if its flag was clear, and the flag
// is set while it runs.
namespace kembo {

class HandlerGuard {
public:
    explicit HandlerGuard(bool& flag) : flag_(flag), entered_(!flag) {
        if (entered_) flag_ = true;
    }
    ~HandlerGuard() {
        if (entered_) flag_ = false;
    }
    HandlerGuard(const HandlerGuard&) = delete;
    HandlerGuard& operator=(const HandlerGuard&) = delete;
    explicit operator bool() const { return entered_; }

private:
    bool& flag_;
    bool entered_;
};

}  // namespace kembo
