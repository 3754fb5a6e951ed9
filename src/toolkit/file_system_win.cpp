#include "toolkit/file_system_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "base/catalog.h"
#include "base/errors.h"
#include "toolkit/handles_win.h"
#include "toolkit/text_win.h"

namespace kembo {

bool WinFileSystem::FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<FileSystem::Stamp> WinFileSystem::FileStamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return std::nullopt;
    }
    const auto join = [](DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; };
    return Stamp{join(data.nFileSizeHigh, data.nFileSizeLow),
                 join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
}

std::vector<uint8_t> WinFileSystem::ReadWholeFile(const std::string& path, std::size_t maxBytes) {
    // Other readers may share the file; writers are kept out while it is read.
    KernelHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN,
                                  nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        file.Release();
        throw Error(Text(TextId::FileNotOpened, path));
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size)) throw Error(Text(TextId::FileNotRead, path));
    if (static_cast<uint64_t>(size.QuadPart) > maxBytes)
        throw Error(Text(TextId::FileTooLarge, path));
    std::vector<uint8_t> data(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < data.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, 1u << 24));
        if (!ReadFile(file.Get(), data.data() + done, want, &got, nullptr))
            throw Error(Text(TextId::FileNotRead, path));
        if (got == 0) break;  // the file shrank meanwhile
        done += got;
    }
    data.resize(done);
    return data;
}

std::vector<FileSystem::Entry> WinFileSystem::List(const std::string& pattern) {
    std::vector<Entry> entries;
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW(Wide(pattern).c_str(), &data));
    if (!find) return entries;
    do {
        entries.push_back(Entry{Narrow(data.cFileName), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                                (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0,
                                (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
    } while (FindNextFileW(find.Get(), &data));
    return entries;
}

std::string WinFileSystem::FullPath(const std::string& path) {
    const std::wstring wide = Wide(path);
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::vector<wchar_t> buffer(needed + 1);
    const DWORD length = GetFullPathNameW(wide.c_str(), needed + 1, buffer.data(), nullptr);
    if (length == 0 || length > needed) return path;
    return Narrow(std::wstring_view(buffer.data(), length));
}

std::optional<std::string> WinFileSystem::FolderIdentity(const std::string& path) {
    // A folder opens only with backup semantics; reading its attributes needs no access right.
    KernelHandle folder(CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (folder.Get() == INVALID_HANDLE_VALUE) {
        folder.Release();
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(folder.Get(), &info)) return std::nullopt;
    char identity[32];
    std::snprintf(identity, sizeof identity, "%08lx:%08lx%08lx", static_cast<unsigned long>(info.dwVolumeSerialNumber),
                  static_cast<unsigned long>(info.nFileIndexHigh), static_cast<unsigned long>(info.nFileIndexLow));
    return std::string(identity);
}

}  // namespace kembo
