// Listing a slideshow's folder tree of 100,000 files (100 folders of 1,000, one more level of
// 10 folders between), against copying the same 100,000 paths into a list: what the listing
// adds to the file system's own work. The file system here answers from memory, so the figure is
// the listing's own share of the moment the window waits when the mode is set up.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

#include "loading/file_system.h"

namespace {

using kembo::FileSystem;

class TreeInMemory : public FileSystem {
public:
    TreeInMemory() {
        auto& top = folders_["C:\\pics\\"];
        for (int a = 0; a < 10; ++a) {
            const std::string group = "year" + std::to_string(2000 + a);
            top.push_back(Entry{group, true});
            auto& groupEntries = folders_["C:\\pics\\" + group + "\\"];
            for (int b = 0; b < 10; ++b) {
                const std::string folder = "month" + std::to_string(b);
                groupEntries.push_back(Entry{folder, true});
                auto& files = folders_["C:\\pics\\" + group + "\\" + folder + "\\"];
                for (int c = 0; c < 1000; ++c) {
                    files.push_back(Entry{"picture" + std::to_string(c) + ".jpg", false});
                    paths_.push_back("C:\\pics\\" + group + "\\" + folder + "\\" + files.back().name);
                }
            }
        }
    }
    bool FileExists(const std::string&) override { return false; }
    std::optional<Stamp> FileStamp(const std::string&) override { return std::nullopt; }
    std::vector<uint8_t> ReadWholeFile(const std::string&, std::size_t) override { return {}; }
    std::vector<Entry> List(const std::string& pattern) override {
        const auto it = folders_.find(pattern.substr(0, pattern.size() - 3));
        return it == folders_.end() ? std::vector<Entry>{} : it->second;
    }
    std::string FullPath(const std::string& path) override { return path; }
    const std::vector<std::string>& Paths() const { return paths_; }

private:
    std::map<std::string, std::vector<Entry>> folders_;
    std::vector<std::string> paths_;
};

TreeInMemory& Tree() {
    static TreeInMemory tree;
    return tree;
}

void ListHundredThousandFiles(benchmark::State& state) {
    Tree();  // made before the clock runs
    for (auto _ : state) {
        std::vector<std::string> list;
        kembo::ListFolderTree(Tree(), "C:\\pics", list);
        benchmark::DoNotOptimize(list.data());
        if (list.size() != 100000) state.SkipWithError("wrong count");
    }
}

// The peer: the listing's result made by copying the paths, and the entries the file system
// hands over copied too (List returns them by value).
void CopyHundredThousandPaths(benchmark::State& state) {
    Tree();
    for (auto _ : state) {
        std::vector<std::string> list;
        for (int folder = 0; folder < 100; ++folder) {
            std::vector<FileSystem::Entry> entries = Tree().List("C:\\pics\\year200" + std::to_string(folder / 10) +
                                                                 "\\month" + std::to_string(folder % 10) + "\\*.*");
            benchmark::DoNotOptimize(entries.data());
        }
        for (const std::string& path : Tree().Paths()) list.push_back(path);
        benchmark::DoNotOptimize(list.data());
    }
}

BENCHMARK(CopyHundredThousandPaths)->Unit(benchmark::kMillisecond);
BENCHMARK(ListHundredThousandFiles)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
