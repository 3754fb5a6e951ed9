#pragma once
// A local-memory block being filled for the host: freed unless handed over.
#include <windows.h>

#include <cstddef>
#include <utility>

namespace kembowic {

class LocalBlock {
public:
    LocalBlock() = default;
    // A movable block of size bytes, locked; empty when the system has no room.
    explicit LocalBlock(std::size_t size) {
        handle_ = LocalAlloc(LMEM_MOVEABLE, size);
        if (handle_) data_ = static_cast<unsigned char*>(LocalLock(handle_));
        if (!data_) Release();
    }
    ~LocalBlock() { Release(); }
    LocalBlock(LocalBlock&& other) noexcept
        : handle_(std::exchange(other.handle_, nullptr)), data_(std::exchange(other.data_, nullptr)) {}
    LocalBlock& operator=(LocalBlock&& other) noexcept {
        if (this != &other) {
            Release();
            handle_ = std::exchange(other.handle_, nullptr);
            data_ = std::exchange(other.data_, nullptr);
        }
        return *this;
    }
    LocalBlock(const LocalBlock&) = delete;
    LocalBlock& operator=(const LocalBlock&) = delete;

    explicit operator bool() const { return data_ != nullptr; }
    unsigned char* Data() const { return data_; }
    // Unlocks the block and gives up ownership: the host frees it.
    HLOCAL HandOver() {
        if (data_) LocalUnlock(handle_);
        data_ = nullptr;
        return std::exchange(handle_, nullptr);
    }

private:
    void Release() {
        if (data_) LocalUnlock(handle_);
        if (handle_) LocalFree(handle_);
        handle_ = nullptr;
        data_ = nullptr;
    }
    HLOCAL handle_ = nullptr;
    unsigned char* data_ = nullptr;
};

}  // namespace kembowic
