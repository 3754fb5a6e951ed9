// The import plug-in's judgement of a file before any decoder sees it: signatures, declared
// sizes, truncation and the Exif orientation, on small files written byte by byte.
#include <gtest/gtest.h>

#include <string>

#include "kembowic/examine.h"
#include "kembowic/orientation.h"
#include "kembowic/signature.h"

namespace kembowic {
namespace {

std::span<const uint8_t> Bytes(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }
std::string Be16(int v) { return {static_cast<char>(v >> 8), static_cast<char>(v)}; }
std::string Be32(uint32_t v) { return Be16(static_cast<int>(v >> 16)) + Be16(static_cast<int>(v & 0xFFFF)); }
std::string Le16(int v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }

std::string Segment(uint8_t marker, const std::string& payload) {
    return std::string("\xFF") + static_cast<char>(marker) + Be16(static_cast<int>(payload.size() + 2)) + payload;
}
// A TIFF structure with one directory entry: tag, SHORT, count 1, value.
std::string Tiff(bool bigEndian, uint16_t tag, uint16_t value) {
    const auto u16 = [&](int v) { return bigEndian ? Be16(v) : Le16(v); };
    const auto u32 = [&](uint32_t v) { return bigEndian ? Be32(v) : Le16(static_cast<int>(v & 0xFFFF)) + Le16(static_cast<int>(v >> 16)); };
    return std::string(bigEndian ? "MM" : "II") + u16(42) + u32(8) + u16(1) + u16(tag) + u16(3) + u32(1) + u16(value) +
           u16(0) + u32(0);
}
// A JPEG of the given segments: frame header (height, width), a scan whose data holds a stuffed
// 0xFF and a restart marker, and the end marker unless cut.
std::string Jpeg(const std::string& before, int width, int height, bool withEnd = true) {
    std::string jpeg = "\xFF\xD8" + before + Segment(0xC0, std::string("\x08", 1) + Be16(height) + Be16(width) + "\x01\x01\x11\x00");
    jpeg += Segment(0xDA, std::string("\x01\x01\x00\x00\x3F\x00", 6)) + std::string("\x12\xFF\x00\x34\xFF\xD0\x56", 7);
    return withEnd ? jpeg + "\xFF\xD9" : jpeg;
}
std::string Exif(const std::string& tiff) { return Segment(0xE1, std::string("Exif\0\0", 6) + tiff); }

std::string PngChunk(const std::string& type, const std::string& data) { return Be32(static_cast<uint32_t>(data.size())) + type + data + "CRC!"; }
std::string Png(uint32_t width, uint32_t height, const std::string& extra = "", bool withEnd = true) {
    std::string png = "\x89PNG\r\n\x1A\n" + PngChunk("IHDR", Be32(width) + Be32(height) + std::string("\x08\x02\0\0\0", 5)) + extra +
                      PngChunk("IDAT", "data");
    return withEnd ? png + PngChunk("IEND", "") : png;
}

// Screen w × h, one picture pw × ph after a comment extension; cut inside its data if asked.
std::string Gif(int w, int h, int pw, int ph, bool cut = false) {
    std::string gif = "GIF89a" + Le16(w) + Le16(h) + std::string("\x80\0\0", 3) + std::string(6, '\0');  // 2 colours
    gif += std::string("\x21\xFE\x03") + "abc" + std::string(1, '\0');
    gif += "\x2C" + Le16(0) + Le16(0) + Le16(pw) + Le16(ph) + std::string(1, '\0') + "\x02" + "\x02\x44\x01";
    return cut ? gif : gif + std::string(1, '\0') + ";";
}

TEST(KembowicSignature, KnowsTheFormatsByTheirFirstBytes) {
    EXPECT_EQ(Sniff(Bytes(Jpeg("", 1, 1))), Format::Jpeg);
    EXPECT_EQ(Sniff(Bytes(Png(1, 1))), Format::Png);
    EXPECT_EQ(Sniff(Bytes(Gif(1, 1, 1, 1))), Format::Gif);
    EXPECT_EQ(Sniff(Bytes(Tiff(false, 256, 1))), Format::Tiff);
    EXPECT_EQ(Sniff(Bytes(Tiff(true, 256, 1))), Format::Tiff);
    EXPECT_EQ(Sniff(Bytes(std::string("II\xBC\x01", 4))), Format::JpegXr);
    EXPECT_EQ(Sniff(Bytes(std::string("RIFF\0\0\0\0WEBPVP8 ", 16))), Format::WebP);
    EXPECT_EQ(Sniff(Bytes(std::string("\0\0\0\x18" "ftypheic", 12))), Format::Heif);
    EXPECT_EQ(Sniff(Bytes(std::string("\0\0\0\x18" "ftypmp42", 12))), Format::Unknown);
    EXPECT_EQ(Sniff(Bytes("\xFF\xD8")), Format::Unknown);  // too short to tell
    EXPECT_EQ(Sniff(Bytes("")), Format::Unknown);
    // BMP and icons stay with the host's own readers.
    EXPECT_EQ(Examine(Bytes("BM" + std::string(60, '\0'))).result, SpiResult::UnknownFormat);
    EXPECT_EQ(Examine(Bytes(std::string("\0\0\1\0\1\0", 6) + std::string(40, '\0'))).result, SpiResult::UnknownFormat);
    // Data no signature names is left to the decoders.
    EXPECT_EQ(Examine(Bytes("some other format")).result, SpiResult::Success);
}

TEST(KembowicSignature, DeclaredSizesAreFoundBehindOtherData) {
    EXPECT_EQ(DeclaredSize(Format::Jpeg, Bytes(Jpeg(Exif(Tiff(true, 274, 6)) + Segment(0xE2, "icc"), 640, 480))),
              (Size{640, 480}));
    EXPECT_EQ(DeclaredSize(Format::Png, Bytes(Png(70000, 3))), (Size{70000, 3}));
    // The larger of screen and picture, side by side.
    EXPECT_EQ(DeclaredSize(Format::Gif, Bytes(Gif(10, 500, 400, 20))), (Size{400, 500}));
    EXPECT_EQ(DeclaredSize(Format::Tiff, Bytes(Tiff(false, 257, 77))), std::nullopt);  // width missing
    const std::string both = "II" + Le16(42) + Le16(8) + Le16(0) + Le16(2) + Le16(256) + Le16(4) + Le16(1) + Le16(0) +
                             Le16(1000) + Le16(1) + Le16(257) + Le16(3) + Le16(1) + Le16(0) + Le16(99) + Le16(0);
    EXPECT_EQ(DeclaredSize(Format::Tiff, Bytes(both)), (Size{66536, 99}));
    EXPECT_EQ(DeclaredSize(Format::Jpeg, Bytes(std::string("\xFF\xD8\xFF\xC0\x00\x11\x08\x01", 8))), std::nullopt);

    EXPECT_EQ(Examine(Bytes(Png(65536, 1))).result, SpiResult::NoMemory);
    EXPECT_EQ(Examine(Bytes(Png(20000, 20000))).result, SpiResult::NoMemory);  // beyond the host's store
    EXPECT_EQ(Examine(Bytes(Png(65535, 1))).result, SpiResult::Success);
    EXPECT_EQ(Examine(Bytes(Png(0, 10))).result, SpiResult::BrokenData);
}

TEST(KembowicSignature, CutFilesAreTold) {
    EXPECT_TRUE(LooksComplete(Format::Jpeg, Bytes(Jpeg("", 8, 8))));
    EXPECT_FALSE(LooksComplete(Format::Jpeg, Bytes(Jpeg("", 8, 8, false))));
    // An end marker inside a segment (a thumbnail) does not end the file.
    const std::string thumbnail = Segment(0xE1, std::string("Exif\0\0\xFF\xD8\xFF\xD9", 10));
    EXPECT_FALSE(LooksComplete(Format::Jpeg, Bytes(Jpeg(thumbnail, 8, 8, false))));
    const std::string jpeg = Jpeg("", 8, 8);
    EXPECT_FALSE(LooksComplete(Format::Jpeg, Bytes(jpeg.substr(0, 12))));  // inside the frame header

    EXPECT_TRUE(LooksComplete(Format::Png, Bytes(Png(1, 1))));
    EXPECT_FALSE(LooksComplete(Format::Png, Bytes(Png(1, 1, "", false))));
    const std::string png = Png(1, 1);
    EXPECT_FALSE(LooksComplete(Format::Png, Bytes(png.substr(0, png.size() - 1))));

    EXPECT_TRUE(LooksComplete(Format::Gif, Bytes(Gif(2, 2, 2, 2))));
    EXPECT_FALSE(LooksComplete(Format::Gif, Bytes(Gif(2, 2, 2, 2, true))));
    EXPECT_EQ(Examine(Bytes(Png(1, 1, "", false))).result, SpiResult::BrokenData);
}

TEST(KembowicOrientation, ReadFromExifTiffAndPng) {
    EXPECT_EQ(FindOrientation(Format::Jpeg, Bytes(Jpeg(Exif(Tiff(true, 274, 6)), 8, 8))), 6);
    EXPECT_EQ(FindOrientation(Format::Jpeg, Bytes(Jpeg(Exif(Tiff(false, 274, 8)), 8, 8))), 8);
    // An XMP block in APP1 comes first; the Exif one after it counts.
    const std::string xmp = Segment(0xE1, "http://ns.adobe.com/xap/1.0/");
    EXPECT_EQ(FindOrientation(Format::Jpeg, Bytes(Jpeg(Segment(0xE0, "JFIF") + xmp + Exif(Tiff(true, 274, 3)), 8, 8))), 3);
    EXPECT_EQ(FindOrientation(Format::Jpeg, Bytes(Jpeg(Exif(Tiff(true, 274, 9)), 8, 8))), 1);   // no such orientation
    EXPECT_EQ(FindOrientation(Format::Jpeg, Bytes(Jpeg(Exif(Tiff(true, 275, 6)), 8, 8))), 1);   // another tag
    const std::string cut = Exif(Tiff(true, 274, 6));
    EXPECT_EQ(FindOrientation(Format::Jpeg, Bytes("\xFF\xD8" + cut.substr(0, cut.size() - 8))), 1);
    EXPECT_EQ(FindOrientation(Format::Tiff, Bytes(Tiff(false, 274, 5))), 5);
    EXPECT_EQ(FindOrientation(Format::Png, Bytes(Png(1, 1, PngChunk("eXIf", Tiff(true, 274, 7))))), 7);
    EXPECT_EQ(FindOrientation(Format::Gif, Bytes(Gif(1, 1, 1, 1))), 1);

    const std::string turned = Jpeg(Exif(Tiff(true, 274, 6)), 8, 8);
    EXPECT_EQ(Examine(Bytes(turned)).orientation, 6);
}

TEST(KembowicHeaderInfo, SizeAsItStandsAndDepthWithoutADecoder) {
    // One component (grey): 8 bits; turned a quarter: the sides trade places.
    const auto grey = InfoFromHeader(Examine(Bytes(Jpeg(Exif(Tiff(true, 274, 8)), 640, 480))));
    ASSERT_TRUE(grey.has_value());
    EXPECT_EQ(+grey->width, 480);  // copies: the record is packed
    EXPECT_EQ(+grey->height, 640);
    EXPECT_EQ(+grey->colorDepth, 8);
    EXPECT_EQ(+grey->infoText, 0u);
    std::string colour = Jpeg("", 8, 8);
    colour[colour.find("")] = '';  // three components
    EXPECT_EQ(DeclaredBits(Format::Jpeg, Bytes(colour)), 24);

    std::string png = Png(3, 2);
    EXPECT_EQ(+InfoFromHeader(Examine(Bytes(png)))->colorDepth, 24);
    png[25] = 3;  // palette
    EXPECT_EQ(DeclaredBits(Format::Png, Bytes(png)), 8);
    png[25] = 0;  // grey, and grey with a transparent level
    EXPECT_EQ(DeclaredBits(Format::Png, Bytes(png)), 8);
    png.insert(33, PngChunk("tRNS", "\0\0"));
    EXPECT_EQ(DeclaredBits(Format::Png, Bytes(png)), 24);
    // TIFF and formats unknown here are left to the decoder.
    EXPECT_FALSE(InfoFromHeader(Examine(Bytes(Tiff(false, 256, 9)))).has_value());
    EXPECT_FALSE(InfoFromHeader(Examine(Bytes("other"))).has_value());
}

}  // namespace
}  // namespace kembowic
