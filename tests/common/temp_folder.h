#pragma once
// A fresh folder under the temporary folder, removed with everything in it at scope end.
#include <windows.h>

#include <cstdint>
#include <string>

namespace kembo::testing {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // With a trailing backslash.
    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + name; }

private:
    std::wstring path_;
};

std::string ReadWholeFile(const std::wstring& path);
void WriteWholeFile(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
// Sets a file's last-write time (100-ns units since 1601, as FILETIME counts).
void SetLastWriteTime(const std::wstring& path, uint64_t time);
void RemoveTree(const std::wstring& path);

// A Unix folder path from an environment variable (set by CTest) as Wine sees it: "Z:" in front,
// backslashes, a trailing backslash. Throws when the variable is not set.
std::wstring FolderFromEnvironment(const wchar_t* variable);

}  // namespace kembo::testing
