#pragma once
// A move-only owner of one COM interface reference: released exactly once.
#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace kembo {

template <typename Interface>
class ComRef {
public:
    ComRef() = default;
    // Takes over a reference the caller holds.
    explicit ComRef(Interface* object) : object_(object) {}
    ~ComRef() { Reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) {
            Reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }

    Interface* Get() const { return object_; }
    Interface* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    void Reset() {
        if (object_) std::exchange(object_, nullptr)->Release();
    }
    // For calls that hand a reference back through a pointer.
    void** Receive() {
        Reset();
        return reinterpret_cast<void**>(&object_);
    }

private:
    Interface* object_ = nullptr;
};

}  // namespace kembo
