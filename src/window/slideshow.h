#pragma once
// The slideshow's list and position: the files of one folder (and of its subfolders, when asked)
// in the order the file system gives them, or in a new random order each round; a file that
// cannot be shown is dropped the first time it comes up.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/settings.h"
#include "window/transition.h"

namespace kembo {

class FileSystem;

class SlideShow {
public:
    explicit SlideShow(uint32_t seed = std::random_device{}()) : random_(seed) {}

    // In slideshow mode: lists SlideShowDir (with flag_SSSubDir its whole tree) anew and, with
    // flag_SSRandom, shuffles it for the first round. False when that found no file; the mode is
    // then switched off and the caller tells the user TextId::NoFilesInFolder.
    bool Reload(Settings& settings, FileSystem& files);
    // Starts again before the first file.
    void Restart() { index_ = -1; }

    // Moves to the next file that compose() can show and returns its name; with flag_SSRandom
    // each round past the first is shuffled anew and never starts with the file shown last.
    // compose(name) leaves name as it is when the file is missing (it keeps its place), and
    // empties it when the file cannot be shown (it is dropped). With nothing left the mode is switched off and
    // Error(TextId::NothingShowableInFolder) raised.
    std::string Advance(Settings& settings, const std::function<void(std::string&)>& compose);

    const std::vector<std::string>& List() const { return list_; }
    int32_t Index() const { return index_; }

    // Timer interval for a change time in seconds; 0 (no ticks) for a time of 0 or less.
    static uint32_t IntervalMs(int32_t seconds);

    // The slideshow's generator, for the other random choices of a change too.
    SlideRandom& Random() { return random_; }

private:
    void NewRound();

    std::vector<std::string> list_;
    int32_t index_ = -1;
    std::string lastShown_;
    SlideRandom random_;
};

}  // namespace kembo
