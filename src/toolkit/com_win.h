#pragma once
// A move-only owner of one COM interface reference (released exactly once), and COM for the
// length of a scope. Header only: the import plug-in uses them too.
#include <windows.h>
#include <objbase.h>
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
    // For calls that hand a reference back through a pointer: untyped (QueryInterface and the
    // like) or typed.
    void** Receive() {
        Reset();
        return reinterpret_cast<void**>(&object_);
    }
    Interface** Out() {
        Reset();
        return &object_;
    }

private:
    Interface* object_ = nullptr;
};

// Initialises COM on the caller's thread and undoes exactly what it did: a thread that
// initialised COM or OLE already (single-threaded) just gets its count raised and lowered again;
// a multithreaded thread is used as it is. Never made in DllMain, where the loader lock is held.
class ComScope {
public:
    ComScope() {
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        owned_ = SUCCEEDED(hr);                        // S_OK or S_FALSE: ours to balance
        usable_ = owned_ || hr == RPC_E_CHANGED_MODE;  // a multithreaded apartment serves as well
    }
    ~ComScope() {
        if (owned_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool Usable() const { return usable_; }

private:
    bool owned_ = false;
    bool usable_ = false;
};

}  // namespace kembo
