#pragma once
// COM for the length of one plug-in call, and owners for the interfaces used during it.
#include <windows.h>
#include <objbase.h>

#include <utility>

namespace kembowic {

// Each call that uses the imaging component initialises COM on the caller's thread and undoes
// exactly what it did: a host that initialised COM or OLE already (single-threaded) just gets
// its count raised and lowered again; a multithreaded thread is used as it is. Never done in
// DllMain, where the loader lock is held.
class ComScope {
public:
    ComScope() {
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        owned_ = SUCCEEDED(hr);                    // S_OK or S_FALSE: ours to balance
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

// Move-only owner of one interface reference.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* operator->() const { return p_; }
    T* Get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For a call that hands out a new reference.
    T** Out() {
        Reset();
        return &p_;
    }
    void Reset() {
        if (p_) std::exchange(p_, nullptr)->Release();
    }

private:
    T* p_ = nullptr;
};

}  // namespace kembowic
