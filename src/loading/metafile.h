#pragma once
// The metafile picture: an enhanced metafile, or a Windows metafile with the placeable header.
// Checked and measured here and kept whole; the Windows side plays it when it is drawn.
#include <vector>

#include "loading/graphic.h"

namespace kembo {

class TMetafile : public TGraphic {
public:
    static const PictureClass& StaticClass();
    explicit TMetafile(FileSystem& files) : TGraphic(files) {}

    const PictureClass& Class() const override { return StaticClass(); }
    // In screen pixels at 96 pixels per inch.
    int32_t Width() const override { return width_; }
    int32_t Height() const override { return height_; }
    void LoadFromStream(std::span<const uint8_t> data) override;

    bool Enhanced() const { return enhanced_; }
    // The whole file for an enhanced metafile; the records after the placeable header else.
    const std::vector<uint8_t>& Data() const { return data_; }

private:
    std::vector<uint8_t> data_;
    bool enhanced_ = false;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

}  // namespace kembo
