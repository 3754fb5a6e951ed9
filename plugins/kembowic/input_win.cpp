#include "input_win.h"

#include <algorithm>

namespace kembowic {
namespace {

// More than any picture the host takes could need.
constexpr uint64_t kLargestFile = uint64_t{1} << 30;

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

bool ReadAll(HANDLE file, uint8_t* to, std::size_t count) {
    while (count > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 24));
        DWORD got = 0;
        if (!ReadFile(file, to, chunk, &got, nullptr) || got == 0) return false;
        to += got;
        count -= got;
    }
    return true;
}

}  // namespace

SpiResult InputData::Load(const char* buffer, int32_t length, uint32_t flag) {
    if (!buffer) return SpiResult::InternalError;
    switch (InputOf(flag)) {
        case InputKind::Memory:
            if (length <= 0) return SpiResult::UnknownFormat;
            bytes_ = {reinterpret_cast<const uint8_t*>(buffer), static_cast<std::size_t>(length)};
            return SpiResult::Success;
        case InputKind::File: return LoadFile(buffer, length);
        default: return SpiResult::NotImplemented;
    }
}

SpiResult InputData::LoadFile(const char* name, int32_t offset) {
    const FileHandle file(CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file.Valid() || !GetFileSizeEx(file.Get(), &size)) return SpiResult::FileReadError;
    if (offset < 0 || offset > size.QuadPart) return SpiResult::FileReadError;
    const uint64_t count = static_cast<uint64_t>(size.QuadPart) - static_cast<uint64_t>(offset);
    if (count == 0) return SpiResult::UnknownFormat;
    if (count > kLargestFile) return SpiResult::NoMemory;
    LARGE_INTEGER start{};
    start.QuadPart = offset;
    if (!SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN)) return SpiResult::FileReadError;
    owned_.resize(static_cast<std::size_t>(count));
    if (!ReadAll(file.Get(), owned_.data(), owned_.size())) return SpiResult::FileReadError;
    bytes_ = owned_;
    return SpiResult::Success;
}

std::vector<uint8_t> ReadHead(HANDLE file) {
    LARGE_INTEGER here{};
    const LARGE_INTEGER none{};
    if (!SetFilePointerEx(file, none, &here, FILE_CURRENT)) return {};
    std::vector<uint8_t> head(kHeaderBytes);
    DWORD got = 0;
    if (!ReadFile(file, head.data(), static_cast<DWORD>(head.size()), &got, nullptr)) got = 0;
    head.resize(got);
    SetFilePointerEx(file, here, nullptr, FILE_BEGIN);
    return head;
}

}  // namespace kembowic
