// The import plug-in's bitmap: rows of every decoder layout converted, pictures turned by their
// orientation into a bottom-up bitmap, the host's size limits, and the texts it reports.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "kembowic/dib.h"
#include "kembowic/plugin_texts.h"
#include "kembowic/pixel_rows.h"

namespace kembowic {
namespace {

std::vector<uint8_t> Convert(PixelLayout layout, const std::vector<uint8_t>& src, uint32_t width) {
    std::vector<uint8_t> out(width * static_cast<uint32_t>(OutputBits(layout) / 8));
    ConvertRow(layout, src.data(), width, out.data());
    return out;
}

std::vector<uint8_t> Le16s(std::initializer_list<uint16_t> values) {
    std::vector<uint8_t> bytes;
    for (uint16_t v : values) bytes.insert(bytes.end(), {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)});
    return bytes;
}

TEST(KembowicRows, TransparencyIsLaidOverWhite) {
    // Blue-green-red-alpha: opaque, half, none.
    EXPECT_EQ(Convert(PixelLayout::Bgra32, {10, 20, 30, 255, 0, 0, 0, 128, 9, 9, 9, 0}, 3),
              (std::vector<uint8_t>{10, 20, 30, 127, 127, 127, 255, 255, 255}));
    // Premultiplied: the same half-transparent black, and half-transparent red (128 premultiplied).
    EXPECT_EQ(Convert(PixelLayout::Pbgra32, {0, 0, 0, 128, 0, 0, 128, 128}, 2), (std::vector<uint8_t>{127, 127, 127, 127, 127, 255}));
    EXPECT_EQ(Convert(PixelLayout::Bgr32, {1, 2, 3, 99}, 1), (std::vector<uint8_t>{1, 2, 3}));
    // 16 bits: red 0xFFFF at alpha 0x8000 over white stays red, the others half way.
    EXPECT_EQ(Convert(PixelLayout::Rgba64, Le16s({0xFFFF, 0, 0, 0x8000}), 1), (std::vector<uint8_t>{127, 127, 255}));
}

TEST(KembowicRows, SixteenBitsAreRoundedNotCut) {
    // 0x12F0 = 18.87 × 257; 0x00C0 = 0.75 × 257; 0x807F = 127.996 × 257; 0x017F = 1.49 × 257.
    EXPECT_EQ(Convert(PixelLayout::Rgb48, Le16s({0x12F0, 0x00C0, 0x807F, 0x017F, 0xFFFF, 0}), 2),
              (std::vector<uint8_t>{128, 1, 19, 0, 255, 1}));
    EXPECT_EQ(Convert(PixelLayout::Gray16, Le16s({0x12F0, 0x0080, 0x0081}), 3), (std::vector<uint8_t>{19, 0, 1}));
}

TEST(KembowicRows, CmykInksBecomeColours) {
    // No ink is white, full black is black, cyan alone takes out red, half black halves all.
    EXPECT_EQ(Convert(PixelLayout::Cmyk32, {0, 0, 0, 0, 0, 0, 0, 255, 255, 0, 0, 0, 0, 0, 0, 128}, 4),
              (std::vector<uint8_t>{255, 255, 255, 0, 0, 0, 255, 255, 0, 127, 127, 127}));
    EXPECT_EQ(Convert(PixelLayout::Cmyk32, {0, 127, 255, 0}, 1), (std::vector<uint8_t>{0, 128, 255}));
}

TEST(KembowicRows, PackedIndicesAndGreysSpreadToBytes) {
    EXPECT_EQ(Convert(PixelLayout::Indexed1, {0b10110000}, 4), (std::vector<uint8_t>{1, 0, 1, 1}));
    EXPECT_EQ(Convert(PixelLayout::Indexed2, {0b00011011, 0b11000000}, 5), (std::vector<uint8_t>{0, 1, 2, 3, 3}));
    EXPECT_EQ(Convert(PixelLayout::Gray4, {0x0F, 0xA0}, 3), (std::vector<uint8_t>{0, 15, 10}));
    const std::vector<uint8_t> greys = OutputPalette(PixelLayout::Gray2, {});
    ASSERT_EQ(greys.size(), 16u);
    EXPECT_EQ(std::vector<uint8_t>(greys.begin() + 4, greys.begin() + 8), (std::vector<uint8_t>{85, 85, 85, 0}));
    EXPECT_EQ(OutputPalette(PixelLayout::Gray16, {}).size(), 256u * 4);
    // Palette colours over white; indices beyond the decoder's colours point at black, not past the table.
    const std::vector<uint8_t> colours = OutputPalette(PixelLayout::Indexed2, std::vector<uint32_t>{0xFF102030, 0x00ABCDEF, 0x80000000});
    EXPECT_EQ(colours, (std::vector<uint8_t>{0x30, 0x20, 0x10, 0, 255, 255, 255, 0, 127, 127, 127, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(OutputPalette(PixelLayout::Bgr24, {}).empty());
    EXPECT_EQ(OutputBits(PixelLayout::Indexed4), 8);
    EXPECT_EQ(OutputBits(PixelLayout::Rgba64), 24);
}

// A stored 3 × 2 picture of one-byte pixels 1 2 3 / 4 5 6 placed with each orientation; the
// bitmap read back from its top row down, row padding dropped.
std::vector<std::vector<uint8_t>> Placed(int orientation) {
    const auto plan = PlanDib(Size{3, 2}, orientation, PixelLayout::Indexed8);
    std::vector<uint8_t> pixels(plan->pixelBytes, 0xEE);
    DibCanvas canvas(*plan, pixels.data());
    const uint8_t rows[2][3] = {{1, 2, 3}, {4, 5, 6}};
    for (uint32_t y = 0; y < 2; ++y) {
        if (uint8_t* direct = canvas.DirectRow(y)) {
            std::copy_n(rows[y], 3, direct);
        } else {
            canvas.PutRow(y, rows[y]);
        }
    }
    std::vector<std::vector<uint8_t>> shown;
    for (uint32_t row = plan->shown.height; row-- > 0;) {
        const uint8_t* p = pixels.data() + row * plan->stride;
        shown.emplace_back(p, p + plan->shown.width);
    }
    return shown;
}

TEST(KembowicBitmap, EachOrientationStandsThePictureUpright) {
    using Rows = std::vector<std::vector<uint8_t>>;
    EXPECT_EQ(Placed(1), (Rows{{1, 2, 3}, {4, 5, 6}}));
    EXPECT_EQ(Placed(2), (Rows{{3, 2, 1}, {6, 5, 4}}));
    EXPECT_EQ(Placed(3), (Rows{{6, 5, 4}, {3, 2, 1}}));
    EXPECT_EQ(Placed(4), (Rows{{4, 5, 6}, {1, 2, 3}}));
    EXPECT_EQ(Placed(5), (Rows{{1, 4}, {2, 5}, {3, 6}}));
    EXPECT_EQ(Placed(6), (Rows{{4, 1}, {5, 2}, {6, 3}}));  // a quarter clockwise
    EXPECT_EQ(Placed(7), (Rows{{6, 3}, {5, 2}, {4, 1}}));
    EXPECT_EQ(Placed(8), (Rows{{3, 6}, {2, 5}, {1, 4}}));  // a quarter anticlockwise
}

TEST(KembowicBitmap, TwentyFourBitPixelsMoveWhole) {
    const auto plan = PlanDib(Size{2, 1}, 6, PixelLayout::Bgr24);
    ASSERT_EQ(plan->shown, (Size{1, 2}));
    ASSERT_EQ(plan->stride, 4u);
    std::vector<uint8_t> pixels(plan->pixelBytes, 0);
    DibCanvas canvas(*plan, pixels.data());
    EXPECT_EQ(canvas.DirectRow(0), nullptr);
    const std::array<uint8_t, 6> row{1, 2, 3, 4, 5, 6};
    canvas.PutRow(0, row.data());
    // Bottom row first: the second stored pixel ends at the bottom.
    EXPECT_EQ(pixels, (std::vector<uint8_t>{4, 5, 6, 0, 1, 2, 3, 0}));
}

TEST(KembowicBitmap, HostLimitsAndHeader) {
    EXPECT_TRUE(PlanDib(Size{65535, 1}, 1, PixelLayout::Bgr24).has_value());
    EXPECT_FALSE(PlanDib(Size{65536, 1}, 1, PixelLayout::Bgr24).has_value());
    EXPECT_FALSE(PlanDib(Size{1, 65536}, 6, PixelLayout::Bgr24).has_value());
    EXPECT_FALSE(PlanDib(Size{0, 5}, 1, PixelLayout::Bgr24).has_value());
    // The 24-bit store decides even for an 8-bit bitmap: the host widens it.
    EXPECT_TRUE(PlanDib(Size{9000, 9000}, 1, PixelLayout::Bgr24).has_value());
    EXPECT_FALSE(PlanDib(Size{10000, 9000}, 1, PixelLayout::Indexed8).has_value());

    const auto plan = PlanDib(Size{5, 3}, 8, PixelLayout::Gray8);
    const std::vector<uint8_t> header = InfoHeader(*plan, OutputPalette(PixelLayout::Gray8, {}));
    ASSERT_EQ(header.size(), 40u + 1024);
    const auto le32 = [&](std::size_t at) { return header[at] | header[at + 1] << 8 | header[at + 2] << 16 | header[at + 3] << 24; };
    EXPECT_EQ(le32(0), 40);
    EXPECT_EQ(le32(4), 3);  // turned: 3 wide
    EXPECT_EQ(le32(8), 5);  // positive: bottom-up
    EXPECT_EQ(header[14], 8);
    EXPECT_EQ(le32(20), 5 * 4);
    EXPECT_EQ(le32(32), 256);
}

TEST(KembowicTexts, PatternsAndInfoTexts) {
    EXPECT_EQ(PatternFromExtensions(".jpg,.jpeg,.jpe"), "*.jpg;*.jpeg;*.jpe");
    EXPECT_EQ(PatternFromExtensions(".JPG;.jpeg; .jpg"), "*.jpg;*.jpeg");
    EXPECT_EQ(PatternFromExtensions(".bmp,.dib,.rle"), "");
    EXPECT_EQ(PatternFromExtensions(".ico,.tga,.*,"), "*.tga");
    EXPECT_EQ(DescriptionOf(Format::Jpeg, "JPEG Decoder"), "JPEG picture");
    EXPECT_EQ(DescriptionOf(Format::Unknown, "TGA Decoder"), "TGA picture");

    const std::vector<FormatText> formats{{"*.jpg", "JPEG picture"}, {"*.png", "PNG picture"}};
    EXPECT_EQ(InfoText(0, formats), "00IN");
    EXPECT_NE(InfoText(1, formats)->find("KEMBO"), std::string::npos);
    EXPECT_EQ(InfoText(4, formats), "*.png");
    EXPECT_EQ(InfoText(5, formats), "PNG picture");
    EXPECT_EQ(InfoText(6, formats), std::nullopt);
    EXPECT_EQ(InfoText(-1, formats), std::nullopt);

    char buffer[8];
    EXPECT_EQ(CopyToBuffer("PNG picture", buffer, 8), 7);
    EXPECT_STREQ(buffer, "PNG pic");
    EXPECT_EQ(CopyToBuffer("x", buffer, 0), 0);
    EXPECT_EQ(CopyToBuffer("x", nullptr, 8), 0);
}

}  // namespace
}  // namespace kembowic
