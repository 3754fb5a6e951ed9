#include "window/slideshow.h"

#include <algorithm>

#include "base/catalog.h"
#include "base/errors.h"
#include "loading/file_system.h"

namespace kembo {

bool SlideShow::Reload(Settings& settings, FileSystem& files) {
    if (!settings.flag_SlideShow) return true;
    list_.clear();
    if (settings.flag_SSSubDir) {
        ListFolderTree(files, settings.SlideShowDir, list_);
    } else {
        ListFolderFiles(files, settings.SlideShowDir, list_);
    }
    if (list_.empty()) {
        settings.flag_SlideShow = false;
        return false;
    }
    lastShown_.clear();
    if (settings.flag_SSRandom) NewRound();
    return true;
}

std::string SlideShow::Advance(Settings& settings, const std::function<void(std::string&)>& compose) {
    ++index_;
    for (;;) {
        if (index_ < 0 || static_cast<std::size_t>(index_) >= list_.size()) {
            // Past the end a new round begins; a restart begins the round Reload shuffled.
            if (index_ >= 0 && settings.flag_SSRandom) NewRound();
            index_ = 0;
        }
        if (list_.empty()) break;
        std::string name = list_[static_cast<std::size_t>(index_)];
        compose(name);
        if (!name.empty()) {
            lastShown_ = name;
            return name;
        }
        list_.erase(list_.begin() + index_);
        if (list_.empty()) break;
    }
    settings.flag_SlideShow = false;
    RaiseMessage(Text(TextId::NothingShowableInFolder));
}

void SlideShow::NewRound() {
    std::shuffle(list_.begin(), list_.end(), random_);
    // The round must not begin with the picture the last one ended on: it trades places with
    // another one.
    if (list_.size() >= 2 && list_.front() == lastShown_) {
        const auto other = std::uniform_int_distribution<std::size_t>(1, list_.size() - 1)(random_);
        std::swap(list_.front(), list_[other]);
    }
}

uint32_t SlideShow::IntervalMs(int32_t seconds) {
    const int64_t ms = static_cast<int64_t>(seconds) * 1000;
    if (ms <= 0) return 0;
    return static_cast<uint32_t>(std::min<int64_t>(ms, 0x7FFFFFFF));
}

}  // namespace kembo
