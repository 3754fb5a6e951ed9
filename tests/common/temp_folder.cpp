#include "temp_folder.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace kembo::testing {

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, base);
    static unsigned counter = 0;
    for (;;) {
        std::wstringstream name;
        name << base << L"kembo-test-" << GetCurrentProcessId() << L"-" << GetTickCount() << L"-"
             << ++counter << L"\\";
        path_ = name.str();
        if (CreateDirectoryW(path_.c_str(), nullptr)) return;
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("no temporary folder");
    }
}

TempFolder::~TempFolder() { RemoveTree(path_); }

void RemoveTree(const std::wstring& path) {
    std::wstring folder = path;
    if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = folder + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

std::string ReadWholeFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::wstring FolderFromEnvironment(const wchar_t* variable) {
    const wchar_t* value = _wgetenv(variable);
    if (!value || !*value) throw std::runtime_error("a test folder variable is not set");
    std::wstring path = value;
    if (path.front() == L'/') path = L"Z:" + path;  // Wine maps the Unix root to Z:
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    if (path.back() != L'\\') path += L'\\';
    return path;
}

void SetLastWriteTime(const std::wstring& path, uint64_t time) {
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open a file to set its time");
    const FILETIME t{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    const BOOL done = SetFileTime(file, nullptr, nullptr, &t);
    CloseHandle(file);
    if (!done) throw std::runtime_error("cannot set a file's time");
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace kembo::testing
