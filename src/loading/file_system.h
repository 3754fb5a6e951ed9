#pragma once
// The file operations picture loading needs; the Windows adapter lives in toolkit/.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kembo {

class FileSystem {
public:
    struct Entry {
        std::string name;
        bool isFolder = false;
        bool hidden = false;
        bool isReparsePoint = false;  // a link or junction: not entered when folders are walked
    };
    // What tells one version of a file from another: its size and its last-write time (in the
    // system's own units).
    struct Stamp {
        uint64_t size = 0;
        uint64_t lastWriteTime = 0;
        bool operator==(const Stamp&) const = default;
    };

    virtual ~FileSystem() = default;
    // True for an existing file (not a folder).
    virtual bool FileExists(const std::string& path) = 0;
    // The stamp of an existing file (not a folder); nothing when there is none.
    virtual std::optional<Stamp> FileStamp(const std::string& path) = 0;
    // The whole file, read while other writers are kept out. Throws Error when the file cannot
    // be opened or read, or is larger than maxBytes.
    virtual std::vector<uint8_t> ReadWholeFile(const std::string& path, std::size_t maxBytes) = 0;
    // The entries matching a pattern ("C:\dir\*.*"), every attribute kind included, in the
    // order the file system gives them ("." and ".." included when it gives them).
    virtual std::vector<Entry> List(const std::string& pattern) = 0;
    // The absolute form of a path, resolved against the current folder.
    virtual std::string FullPath(const std::string& path) = 0;
    // What tells one folder from another whatever path leads to it (volume and file index);
    // nothing when the system cannot tell, and the full path stands for the folder instead.
    virtual std::optional<std::string> FolderIdentity(const std::string& /*path*/) { return std::nullopt; }
};

// Appends the full paths of the files (not folders) of one folder, in the file system's order.
// An empty folder text means the root folder of the current drive.
void ListFolderFiles(FileSystem& files, const std::string& folder, std::vector<std::string>& list);

// The same for the folder and its subfolders at any depth: each folder's files in the file
// system's order, then each of its subfolders' in turn. Links and junctions are not entered and a
// folder reached a second time is read once, so that a loop ends.
void ListFolderTree(FileSystem& files, const std::string& folder, std::vector<std::string>& list);

}  // namespace kembo
