#pragma once
// The slideshow's list and position: the files of one folder in the order the file system
// gives them; a file that cannot be shown is dropped the first time it comes up.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/settings.h"

namespace kembo {

class FileSystem;

class SlideShow {
public:
    // In slideshow mode: lists SlideShowDir anew. False when that found no file; the mode is
    // then switched off and the caller tells the user TextId::NoFilesInFolder.
    bool Reload(Settings& settings, FileSystem& files);
    // Starts again before the first file.
    void Restart() { index_ = -1; }

    // Moves to the next file that compose() can show and returns its name. compose(name) leaves
    // name as it is when the file is missing (it keeps its place), and empties it when the file
    // cannot be shown (it is dropped). With nothing left the mode is switched off and
    // Error(TextId::NothingShowableInFolder) raised.
    std::string Advance(Settings& settings, const std::function<void(std::string&)>& compose);

    const std::vector<std::string>& List() const { return list_; }
    int32_t Index() const { return index_; }

    // Timer interval for a change time in seconds; 0 (no ticks) for a time of 0 or less.
    static uint32_t IntervalMs(int32_t seconds);

private:
    std::vector<std::string> list_;
    int32_t index_ = -1;
};

}  // namespace kembo
