#pragma once
// The icon picture. The file is checked here and kept whole; the Windows side turns it into
// an icon when it has to be drawn.
#include <vector>

#include "loading/graphic.h"

namespace kembo {

class TIcon : public TGraphic {
public:
    static const PictureClass& StaticClass();
    explicit TIcon(FileSystem& files) : TGraphic(files) {}

    const PictureClass& Class() const override { return StaticClass(); }
    // The size of the first image of the icon file.
    int32_t Width() const override { return width_; }
    int32_t Height() const override { return height_; }
    void LoadFromStream(std::span<const uint8_t> data) override;

    const std::vector<uint8_t>& Data() const { return data_; }

private:
    std::vector<uint8_t> data_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

}  // namespace kembo
