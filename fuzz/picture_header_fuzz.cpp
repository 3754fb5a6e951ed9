// The icon and metafile readers take outside files too: no crash, no read outside the data.
#include <cstddef>
#include <cstdint>
#include <span>

#include "base/errors.h"
#include "loading/file_system.h"
#include "loading/icon.h"
#include "loading/metafile.h"

namespace {
class NoFiles : public kembo::FileSystem {
public:
    bool FileExists(const std::string&) override { return false; }
    std::optional<Stamp> FileStamp(const std::string&) override { return std::nullopt; }
    std::vector<uint8_t> ReadWholeFile(const std::string&, std::size_t) override { return {}; }
    std::vector<Entry> List(const std::string&) override { return {}; }
    std::string FullPath(const std::string& path) override { return path; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    NoFiles files;
    const std::span<const uint8_t> bytes(data, size);
    try {
        kembo::TIcon icon(files);
        icon.LoadFromStream(bytes);
    } catch (const kembo::Error&) {
    }
    try {
        kembo::TMetafile metafile(files);
        metafile.LoadFromStream(bytes);
    } catch (const kembo::Error&) {
    }
    return 0;
}
