#include "window/slideshow.h"

#include <algorithm>

#include "base/catalog.h"
#include "base/errors.h"
#include "loading/file_system.h"

namespace kembo {

bool SlideShow::Reload(Settings& settings, FileSystem& files) {
    if (!settings.flag_SlideShow) return true;
    list_.clear();
    ListFolderFiles(files, settings.SlideShowDir, list_);
    if (list_.empty()) {
        settings.flag_SlideShow = false;
        return false;
    }
    return true;
}

std::string SlideShow::Advance(Settings& settings, const std::function<void(std::string&)>& compose) {
    ++index_;
    for (;;) {
        if (index_ < 0 || static_cast<std::size_t>(index_) >= list_.size()) index_ = 0;
        if (list_.empty()) break;
        std::string name = list_[static_cast<std::size_t>(index_)];
        compose(name);
        if (!name.empty()) return name;
        list_.erase(list_.begin() + index_);
        if (list_.empty()) break;
    }
    settings.flag_SlideShow = false;
    RaiseMessage(Text(TextId::NothingShowableInFolder));
}

uint32_t SlideShow::IntervalMs(int32_t seconds) {
    const int64_t ms = static_cast<int64_t>(seconds) * 1000;
    if (ms <= 0) return 0;
    return static_cast<uint32_t>(std::min<int64_t>(ms, 0x7FFFFFFF));
}

}  // namespace kembo
