#include "loading/file_system.h"

#include <algorithm>
#include <set>

#include "base/name_rules.h"

namespace kembo {

void ListFolderFiles(FileSystem& files, const std::string& folder, std::vector<std::string>& list) {
    const std::string prefix = IncludeTrailingSeparator(folder);
    for (const FileSystem::Entry& entry : files.List(prefix + "*.*")) {
        if (entry.isFolder) continue;
        list.push_back(files.FullPath(prefix + entry.name));
    }
}

void ListFolderTree(FileSystem& files, const std::string& folder, std::vector<std::string>& list) {
    std::set<std::string> seen;
    const auto firstVisit = [&](const std::string& path) {
        return seen.insert(files.FolderIdentity(path).value_or(path)).second;
    };
    // Full paths with a trailing separator; a stack, not recursion, so that no depth is too deep.
    std::vector<std::string> pending{IncludeTrailingSeparator(files.FullPath(IncludeTrailingSeparator(folder)))};
    firstVisit(pending.back());
    while (!pending.empty()) {
        const std::string prefix = std::move(pending.back());
        pending.pop_back();
        const std::size_t firstSubfolder = pending.size();
        for (const FileSystem::Entry& entry : files.List(prefix + "*.*")) {
            if (!entry.isFolder) {
                list.push_back(prefix + entry.name);
            } else if (entry.name != "." && entry.name != ".." && !entry.isReparsePoint) {
                std::string path = prefix + entry.name + "\\";
                if (firstVisit(path)) pending.push_back(std::move(path));
            }
        }
        // The first subfolder listed is read next.
        std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(firstSubfolder), pending.end());
    }
}

}  // namespace kembo
