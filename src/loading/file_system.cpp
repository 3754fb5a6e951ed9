#include "loading/file_system.h"

#include "base/name_rules.h"

namespace kembo {

void ListFolderFiles(FileSystem& files, const std::string& folder, std::vector<std::string>& list) {
    const std::string prefix = IncludeTrailingSeparator(folder);
    for (const FileSystem::Entry& entry : files.List(prefix + "*.*")) {
        if (entry.isFolder) continue;
        list.push_back(files.FullPath(prefix + entry.name));
    }
}

}  // namespace kembo
