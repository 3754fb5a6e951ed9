// The BMP reader and writer on files built in memory: the rules BMP Suite leaves open, and
// hostile headers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>

#include "base/errors.h"
#include "image/bmp_reader.h"
#include "image/bmp_writer.h"

namespace kembo {
namespace {

constexpr Bgr kBlack{0, 0, 0}, kRed{0, 0, 255}, kGreen{0, 255, 0}, kBlue{255, 0, 0};

void Put(std::vector<uint8_t>& out, std::size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}
uint32_t Get32(const std::vector<uint8_t>& in, std::size_t at) {
    return in[at] | (in[at + 1] << 8) | (in[at + 2] << 16) | (static_cast<uint32_t>(in[at + 3]) << 24);
}

// A BMP file put together field by field, so each test can break one thing.
struct Bmp {
    uint32_t headerSize = 40;
    int32_t width = 1, height = 1;
    uint16_t bits = 24;
    uint32_t compression = 0, colorsUsed = 0;
    std::vector<uint32_t> masks{};  // inside a header of 52 bytes or more, else after it
    std::vector<Bgr> palette{};     // 3-byte entries after a 12-byte header, else 4
    std::size_t gap = 0;
    std::vector<uint8_t> pixels{};  // as stored
    std::optional<uint32_t> offBits{};

    std::vector<uint8_t> Dib() const {
        std::vector<uint8_t> d(std::max<uint32_t>(headerSize, 40), 0);
        Put(d, 0, headerSize, 4);
        if (headerSize == 12) {
            Put(d, 4, static_cast<uint32_t>(width), 2);
            Put(d, 6, static_cast<uint32_t>(height), 2);
            Put(d, 8, 1, 2);
            Put(d, 10, bits, 2);
        } else {
            Put(d, 4, static_cast<uint32_t>(width), 4);
            Put(d, 8, static_cast<uint32_t>(height), 4);
            Put(d, 12, 1, 2);
            Put(d, 14, bits, 2);
            if (headerSize >= 20) Put(d, 16, compression, 4);
            if (headerSize >= 36) Put(d, 32, colorsUsed, 4);
        }
        d.resize(headerSize);
        for (std::size_t i = 0; i < masks.size(); ++i) {
            if (headerSize >= 52) {
                Put(d, 40 + 4 * i, masks[i], 4);
            } else {
                d.resize(d.size() + 4);
                Put(d, d.size() - 4, masks[i], 4);
            }
        }
        for (const Bgr& c : palette) {
            d.insert(d.end(), {c.b, c.g, c.r});
            if (headerSize != 12) d.push_back(0);
        }
        d.resize(d.size() + gap);
        return d;
    }
    std::vector<uint8_t> File() const {
        const auto dib = Dib();
        std::vector<uint8_t> f(14, 0);
        f[0] = 'B';
        f[1] = 'M';
        Put(f, 10, offBits.value_or(static_cast<uint32_t>(14 + dib.size())), 4);
        f.insert(f.end(), dib.begin(), dib.end());
        f.insert(f.end(), pixels.begin(), pixels.end());
        Put(f, 2, static_cast<uint32_t>(f.size()), 4);
        return f;
    }
};

// Stored rows, each padded to 4 bytes.
std::vector<uint8_t> Rows(std::initializer_list<std::vector<uint8_t>> rows) {
    std::vector<uint8_t> out;
    for (const auto& row : rows) {
        out.insert(out.end(), row.begin(), row.end());
        out.resize((out.size() + 3) & ~std::size_t{3});
    }
    return out;
}

std::vector<Bgr> Row(const PixelBuffer& p, int y) {
    std::vector<Bgr> row;
    for (int x = 0; x < p.Width(); ++x) row.push_back(p.Pixel(x, y));
    return row;
}

TEST(BmpWriter, RoundTripsEveryRowPaddingAndWritesZeroPadding) {
    for (int width = 1; width <= 5; ++width) {
        PixelBuffer pixels(width, 3);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < width; ++x) pixels.SetPixel(x, y, Bgr{uint8_t(x * 40), uint8_t(y * 70), uint8_t(x + y)});
            std::memset(pixels.Row(y) + width * 3, 0xAA, pixels.Stride() - width * 3);
        }
        const auto file = WriteBmp24(pixels);
        ASSERT_EQ(file.size(), 54 + pixels.Stride() * 3) << width;
        EXPECT_EQ(Get32(file, 2), file.size());
        EXPECT_EQ(Get32(file, 10), 54u);
        for (std::size_t y = 0; y < 3; ++y) {
            for (std::size_t at = width * 3; at < pixels.Stride(); ++at) EXPECT_EQ(file[54 + y * pixels.Stride() + at], 0);
        }
        const BmpImage back = ReadBmp(file);
        for (int y = 0; y < 3; ++y) EXPECT_EQ(Row(back.pixels, y), Row(pixels, y)) << width << " x 3, row " << y;
        EXPECT_EQ(back.bitsPerPixel, 24);
        EXPECT_TRUE(back.palette.empty());
    }
    EXPECT_THROW(WriteBmp24(PixelBuffer()), PictureError);
}

TEST(BmpReader, ShowsTheRowsATruncatedFileHoldsAndRefusesOneWithNone) {
    Bmp bmp{.width = 2, .height = 3};
    bmp.pixels = Rows({{0, 0, 255, 0, 0, 255}, {0, 255, 0, 0, 255, 0}, {255, 0, 0, 255, 0, 0}});
    const auto full = bmp.File();
    auto cut = [&](std::size_t bytes) { return std::vector<uint8_t>(full.begin(), full.end() - bytes); };

    const BmpImage noPadding = ReadBmp(cut(2));  // the last row's padding is not needed
    EXPECT_EQ(Row(noPadding.pixels, 0), (std::vector{kBlue, kBlue}));

    const BmpImage twoRows = ReadBmp(cut(5));  // bottom-up: the top row is missing
    EXPECT_EQ(Row(twoRows.pixels, 0), (std::vector{kBlack, kBlack}));
    EXPECT_EQ(Row(twoRows.pixels, 1), (std::vector{kGreen, kGreen}));
    EXPECT_EQ(Row(twoRows.pixels, 2), (std::vector{kRed, kRed}));

    bmp.height = -3;  // top-down: the bottom row is missing
    const auto topDown = bmp.File();
    const BmpImage topRows = ReadBmp(std::span(topDown).first(topDown.size() - 5));
    EXPECT_EQ(Row(topRows.pixels, 0), (std::vector{kRed, kRed}));
    EXPECT_EQ(Row(topRows.pixels, 2), (std::vector{kBlack, kBlack}));

    EXPECT_THROW(ReadBmp(cut(24 - 5)), PictureError);  // 5 of the 6 bytes of the first row
}

TEST(BmpReader, PlacesThePixelsByTheOffsetWhenItIsSane) {
    Bmp bmp{.width = 3, .height = 1, .bits = 8, .colorsUsed = 3};
    bmp.palette = {kRed, kGreen, kBlue};
    bmp.pixels = Rows({{2, 1, 0}});
    const std::vector expected{kBlue, kGreen, kRed};

    bmp.gap = 7;  // a gap after the colour table
    EXPECT_EQ(Row(ReadBmp(bmp.File()).pixels, 0), expected);

    bmp.gap = 0;
    for (uint32_t insane : {0u, 14u, 40u}) {  // into the headers: the pixels follow the table
        bmp.offBits = insane;
        EXPECT_EQ(Row(ReadBmp(bmp.File()).pixels, 0), expected) << insane;
    }

    bmp.offBits.reset();  // 256 entries declared, one present: the rest read as black
    bmp.colorsUsed = 0;
    bmp.palette = {kRed};
    bmp.pixels = Rows({{0, 1, 2}});
    const BmpImage cutTable = ReadBmp(bmp.File());
    EXPECT_EQ(cutTable.palette, std::vector<Color>{0x0000FF});
    EXPECT_EQ(Row(cutTable.pixels, 0), (std::vector{kRed, kBlack, kBlack}));

    for (uint32_t beyond : {100u, 0xFFFFFFFFu}) {
        bmp.offBits = beyond;
        EXPECT_THROW(ReadBmp(bmp.File()), PictureError) << beyond;
    }
}

TEST(BmpReader, ReadsAPackedDibWithOrWithoutAPixelOffset) {
    Bmp bmp{.width = 2, .height = 1, .bits = 1, .gap = 4};
    bmp.palette = {kRed, kBlue};
    auto dib = bmp.Dib();
    const auto pixels = Rows({{0x40}});
    dib.insert(dib.end(), pixels.begin(), pixels.end());
    EXPECT_EQ(Row(ReadDib(dib, 40 + 8 + 4).pixels, 0), (std::vector{kRed, kBlue}));
    EXPECT_EQ(Row(ReadDib(dib).pixels, 0), (std::vector{kRed, kRed}));  // the gap read as pixels
}

TEST(BmpReader, ReadsTwoBitPixels) {
    Bmp bmp{.width = 5, .height = 1, .bits = 2};
    bmp.palette = {kBlack, kRed, kGreen, kBlue};
    bmp.pixels = Rows({{0b00011011, 0b10000000}});
    const BmpImage image = ReadBmp(bmp.File());
    EXPECT_EQ(Row(image.pixels, 0), (std::vector{kBlack, kRed, kGreen, kBlue, kGreen}));
    EXPECT_EQ(image.palette.size(), 4u);
}

TEST(BmpReader, ScalesBitfieldsOfAnyWidthToTheNearestValue) {
    const struct {
        uint16_t bits;
        std::vector<uint32_t> masks;
        uint32_t pixel;
        Bgr expected;
    } cases[] = {
        {16, {0xF000, 0x0F00, 0x00F0}, 0x8F30, {51, 255, 136}},  // 4 bits: 3, 15 and 8 of 15
        {16, {0x0001, 0x0000, 0xFFFE}, 0x4001, {64, 0, 255}},   // 1 bit, none, 15 bits (8192 of 32767)
        {32, {0xFFC00000, 0x003FF000, 0x00000FFF}, 0x803FF800, {128, 255, 128}},  // 512 of 1023, 2048 of 4095
        {32, {0x000000FF, 0x0000FF00, 0x00FF0000}, 0x00112233, {0x11, 0x22, 0x33}},  // bytes in RGB order
    };
    for (const auto& c : cases) {
        Bmp bmp{.width = 1, .height = 1, .bits = c.bits, .compression = 3, .masks = c.masks};
        bmp.pixels = Rows({{uint8_t(c.pixel), uint8_t(c.pixel >> 8), uint8_t(c.pixel >> 16), uint8_t(c.pixel >> 24)}});
        EXPECT_EQ(ReadBmp(bmp.File()).pixels.Pixel(0, 0), c.expected) << std::hex << c.pixel;
    }
}

TEST(BmpReader, FindsTheMasksWhereEachHeaderKeepsThem) {
    const std::vector<uint32_t> rgb565{0xF800, 0x07E0, 0x001F};
    const struct {
        uint32_t headerSize, compression;
        std::vector<uint32_t> masks;
    } cases[] = {
        {40, 3, rgb565}, {40, 6, {0xF800, 0x07E0, 0x001F, 0}},  // 12 or 16 bytes after the header
        {52, 3, rgb565}, {56, 3, rgb565}, {108, 3, rgb565}, {124, 6, rgb565},
        {124, 0, {0x001F, 0x07E0, 0xF800}},  // BI_RGB ignores them: 5-5-5
    };
    for (const auto& c : cases) {
        Bmp bmp{.headerSize = c.headerSize, .width = 1, .height = 1, .bits = 16, .compression = c.compression, .masks = c.masks};
        bmp.pixels = Rows({{0x1F, 0xF8}});  // 565: red 31, green 0, blue 31; 555: red 30, green 0, blue 31
        const Bgr expected = c.compression == 0 ? Bgr{255, 0, 247} : Bgr{255, 0, 255};
        EXPECT_EQ(ReadBmp(bmp.File()).pixels.Pixel(0, 0), expected) << c.headerSize << "/" << c.compression;
    }
}

TEST(BmpReader, RleSkippedPixelsTakeIndexZeroAndRunsStayInside) {
    Bmp bmp{.width = 4, .height = 3, .bits = 8, .compression = 1, .colorsUsed = 3};
    bmp.palette = {kRed, kGreen, kBlue};
    // Row 0: two green, end of line; delta to (2, 2); one blue; end of bitmap.
    bmp.pixels = {2, 1, 0, 0, 0, 2, 2, 1, 1, 2, 0, 1};
    BmpImage image = ReadBmp(bmp.File());
    EXPECT_EQ(Row(image.pixels, 2), (std::vector{kGreen, kGreen, kRed, kRed}));
    EXPECT_EQ(Row(image.pixels, 1), (std::vector{kRed, kRed, kRed, kRed}));
    EXPECT_EQ(Row(image.pixels, 0), (std::vector{kRed, kRed, kBlue, kRed}));

    // A run past the row end is clipped, not wrapped; a delta below the picture ends it.
    bmp.pixels = {10, 1, 0, 0, 2, 2, 0, 2, 0, 200, 1, 1};
    image = ReadBmp(bmp.File());
    EXPECT_EQ(Row(image.pixels, 2), (std::vector{kGreen, kGreen, kGreen, kGreen}));
    EXPECT_EQ(Row(image.pixels, 1), (std::vector{kBlue, kBlue, kRed, kRed}));
    EXPECT_EQ(Row(image.pixels, 0), (std::vector{kRed, kRed, kRed, kRed}));

    // A stream cut inside an absolute run keeps the pixels it has.
    bmp.pixels = {0, 0, 0, 0, 0, 5, 1, 2};
    EXPECT_EQ(Row(ReadBmp(bmp.File()).pixels, 0), (std::vector{kGreen, kBlue, kRed, kRed}));

    Bmp rle4{.width = 5, .height = 1, .bits = 4, .compression = 2};
    for (uint8_t i = 0; i < 16; ++i) rle4.palette.push_back(Bgr{i, i, i});
    rle4.pixels = {0, 3, 0x12, 0x30, 2, 0x45, 0, 1};  // absolute 1 2 3, then a run 4 5
    const BmpImage four = ReadBmp(rle4.File());
    EXPECT_EQ(Row(four.pixels, 0), (std::vector<Bgr>{{1, 1, 1}, {2, 2, 2}, {3, 3, 3}, {4, 4, 4}, {5, 5, 5}}));
}

TEST(BmpReader, IndicesBeyondTheColourTableAreBlack) {
    Bmp bmp{.width = 3, .height = 1, .bits = 8, .colorsUsed = 2};
    bmp.palette = {kRed, kGreen};
    bmp.pixels = Rows({{1, 200, 0}});
    const BmpImage image = ReadBmp(bmp.File());
    EXPECT_EQ(Row(image.pixels, 0), (std::vector{kGreen, kBlack, kRed}));
    EXPECT_EQ(image.palette.size(), 2u);
}

TEST(BmpReader, CutsAHugeColourCountAtThePixels) {
    Bmp bmp{.width = 2, .height = 1, .bits = 8, .colorsUsed = 0xFFFFFFFF};
    bmp.palette = {kRed, kGreen};
    bmp.pixels = Rows({{1, 0}});
    const BmpImage image = ReadBmp(bmp.File());
    EXPECT_EQ(Row(image.pixels, 0), (std::vector{kGreen, kRed}));
    EXPECT_THROW(ReadDib(bmp.Dib()), PictureError);  // no offset: the table runs past the end
}

TEST(BmpReader, RefusesHostileOrUnsupportedHeadersForTheRightReason) {
    const char* kBroken = "壊れています";
    const char* kUnsupported = "対応していません";
    const char* kSize = "サイズが正しくありません";
    const char* kLarge = "大きすぎます";
    const struct {
        const char* name;
        const char* reason;
        std::function<void(Bmp&)> change;
    } cases[] = {
        {"width 0", kSize, [](Bmp& b) { b.width = 0; }},
        {"negative width", kSize, [](Bmp& b) { b.width = -4; }},
        {"height 0", kSize, [](Bmp& b) { b.height = 0; }},
        {"smallest height", kLarge, [](Bmp& b) { b.height = INT32_MIN; }},
        {"width beyond the limit", kLarge, [](Bmp& b) { b.width = PixelBuffer::kMaxSide + 1; }},
        {"beyond the store limit", kLarge, [](Bmp& b) { b.width = b.height = PixelBuffer::kMaxSide; }},
        {"huge, top-down", kLarge, [](Bmp& b) { b.width = 3000000, b.height = -2000000; }},
        {"header size 66", kUnsupported, [](Bmp& b) { b.headerSize = 66; }},
        {"header size 8", kUnsupported, [](Bmp& b) { b.headerSize = 8; }},
        {"0 bits", kUnsupported, [](Bmp& b) { b.bits = 0; }},
        {"3 bits", kUnsupported, [](Bmp& b) { b.bits = 3; }},
        {"64 bits", kUnsupported, [](Bmp& b) { b.bits = 64; }},
        {"30000 bits", kUnsupported, [](Bmp& b) { b.bits = 30000; }},
        {"JPEG", kUnsupported, [](Bmp& b) { b.compression = 4; }},
        {"PNG", kUnsupported, [](Bmp& b) { b.compression = 5; }},
        {"unknown compression", kUnsupported, [](Bmp& b) { b.compression = 7; }},
        {"OS/2 Huffman", kUnsupported, [](Bmp& b) { b.headerSize = 64, b.bits = 1, b.compression = 3; }},
        {"OS/2 RLE24", kUnsupported, [](Bmp& b) { b.headerSize = 64, b.compression = 4; }},
        {"RLE8 at 4 bits", kUnsupported, [](Bmp& b) { b.bits = 4, b.compression = 1; }},
        {"RLE top-down", kUnsupported, [](Bmp& b) { b.bits = 8, b.compression = 1, b.height = -1; }},
        {"bitfields at 24 bits", kUnsupported, [](Bmp& b) { b.compression = 3, b.masks = {0xFF0000, 0xFF00, 0xFF}; }},
        {"masks cut off", kBroken, [](Bmp& b) { b.bits = 32, b.compression = 3, b.pixels.clear(); }},
        {"offset past the end", kBroken, [](Bmp& b) { b.offBits = 1u << 30; }},
        {"no pixels", kBroken, [](Bmp& b) { b.pixels.clear(); }},
    };
    for (const auto& c : cases) {
        Bmp bmp{.width = 1, .height = 1};
        bmp.pixels = Rows({{1, 2, 3}});
        c.change(bmp);
        try {
            ReadBmp(bmp.File());
            ADD_FAILURE() << c.name << ": read";
        } catch (const PictureError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << c.name << ": " << e.what();
        }
    }
    const auto v5 = Bmp{.headerSize = 124}.File();
    EXPECT_THROW(ReadBmp(std::span(v5).first(14 + 100)), PictureError) << "header past the end";
    for (const char* text : {"", "B", "BA", "MB0000000000000000000000", "BM0000"}) {
        const std::string s(text);
        EXPECT_THROW(ReadBmp(std::span(reinterpret_cast<const uint8_t*>(s.data()), s.size())), PictureError) << text;
    }
}

}  // namespace
}  // namespace kembo
