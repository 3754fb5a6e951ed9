#pragma once
// The file operations picture loading needs; the Windows adapter lives in toolkit/.
#include <cstdint>
#include <string>
#include <vector>

namespace kembo {

class FileSystem {
public:
    struct Entry {
        std::string name;
        bool isFolder = false;
        bool hidden = false;
    };

    virtual ~FileSystem() = default;
    // True for an existing file (not a folder).
    virtual bool FileExists(const std::string& path) = 0;
    // The whole file, read while other writers are kept out. Throws Error when the file cannot
    // be opened or read, or is larger than maxBytes.
    virtual std::vector<uint8_t> ReadWholeFile(const std::string& path, std::size_t maxBytes) = 0;
    // The entries matching a pattern ("C:\dir\*.*"), every attribute kind included, in the
    // order the file system gives them ("." and ".." included when it gives them).
    virtual std::vector<Entry> List(const std::string& pattern) = 0;
    // The absolute form of a path, resolved against the current folder.
    virtual std::string FullPath(const std::string& path) = 0;
};

// Appends the full paths of the files (not folders) of one folder, in the file system's order.
// An empty folder text means the root folder of the current drive.
void ListFolderFiles(FileSystem& files, const std::string& folder, std::vector<std::string>& list);

}  // namespace kembo
