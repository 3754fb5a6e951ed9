#pragma once
#include "loading/file_system.h"

namespace kembo {

class WinFileSystem : public FileSystem {
public:
    bool FileExists(const std::string& path) override;
    std::optional<Stamp> FileStamp(const std::string& path) override;
    std::vector<uint8_t> ReadWholeFile(const std::string& path, std::size_t maxBytes) override;
    std::vector<Entry> List(const std::string& pattern) override;
    std::string FullPath(const std::string& path) override;
    std::optional<std::string> FolderIdentity(const std::string& path) override;
};

}  // namespace kembo
