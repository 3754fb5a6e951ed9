#pragma once
// TPicture: holds at most one picture object and replaces it only by one that loaded.
#include <functional>
#include <memory>
#include <string>

#include "loading/graphic.h"

namespace kembo {

class PictureFormats;

class TPicture {
public:
    TPicture(PictureFormats& formats, FileSystem& files) : formats_(formats), files_(files) {}

    // Picks the class by the file name's extension and loads the file with it. Errors
    // propagate; the current picture then stays as it was.
    void LoadFromFile(const std::string& fileName);

    TGraphic* Graphic() const { return graphic_.get(); }
    int32_t Width() const { return graphic_ ? graphic_->Width() : 0; }
    int32_t Height() const { return graphic_ ? graphic_->Height() : 0; }

    // Progress of the picture being loaded, passed on from it.
    ProgressHandler OnProgress;
    std::function<void()> OnChange;

private:
    PictureFormats& formats_;
    FileSystem& files_;
    std::unique_ptr<TGraphic> graphic_;
};

}  // namespace kembo
