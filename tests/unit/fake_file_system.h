#pragma once
// An in-memory file system: files with contents, folders, and the listing order as added.
#include <map>
#include <string>
#include <vector>

#include "base/errors.h"
#include "loading/file_system.h"

namespace kembo::test {

class FakeFileSystem : public FileSystem {
public:
    std::string currentFolder = "C:\\work\\";
    std::map<std::string, std::vector<uint8_t>> files;
    // Folder (with trailing '\') → entries in the order the "file system" returns them.
    std::map<std::string, std::vector<Entry>> folders;
    std::vector<std::string> listed;  // patterns asked for
    std::map<std::string, uint64_t> writeTimes;  // 0 when not set
    std::map<std::string, int> reads;            // whole-file reads of each path
    // Folder path (with trailing '\\') → the identity of the folder it leads to; unset: none.
    std::map<std::string, std::string> identities;

    void AddFile(const std::string& folder, const std::string& name, std::vector<uint8_t> data = {}) {
        files[folder + name] = std::move(data);
        folders[folder].push_back(Entry{name, false});
    }

    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    std::optional<Stamp> FileStamp(const std::string& path) override {
        const auto it = files.find(path);
        if (it == files.end()) return std::nullopt;
        return Stamp{it->second.size(), writeTimes.count(path) ? writeTimes.at(path) : 0};
    }
    std::vector<uint8_t> ReadWholeFile(const std::string& path, std::size_t maxBytes) override {
        ++reads[path];
        const auto it = files.find(path);
        if (it == files.end()) throw Error("ファイル " + path + " を開けません");
        if (it->second.size() > maxBytes) throw Error("too large");
        return it->second;
    }
    std::vector<Entry> List(const std::string& pattern) override {
        listed.push_back(pattern);
        const std::string folder = pattern.substr(0, pattern.rfind('\\') + 1);
        const auto it = folders.find(folder);
        return it == folders.end() ? std::vector<Entry>{} : it->second;
    }
    std::optional<std::string> FolderIdentity(const std::string& path) override {
        const auto it = identities.find(path);
        if (it == identities.end()) return std::nullopt;
        return it->second;
    }
    std::string FullPath(const std::string& path) override {
        if (path.size() >= 2 && path[1] == ':') return path;
        if (!path.empty() && path[0] == '\\') return currentFolder.substr(0, 2) + path;
        return currentFolder + path;
    }
};

}  // namespace kembo::test
