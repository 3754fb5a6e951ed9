// The plug-in picture class: the order of readers, the calls made to a picture plug-in, the
// handles it hands back, progress, and how its bitmap becomes pixels.
#include <gtest/gtest.h>

#include <climits>
#include <deque>

#include "fake_plugin_ports.h"
#include "image/bmp_writer.h"
#include "loading/picture.h"
#include "loading/spi_bitmap.h"
#include "loading/spi_dib.h"
#include "loading/spi_errors.h"

namespace kembo {
namespace {

using test::FakePlugin;
using Bytes = std::vector<uint8_t>;

constexpr Bgr kRed{0, 0, 255}, kGreen{0, 255, 0}, kBlue{255, 0, 0}, kWhite{255, 255, 255}, kBlack{};
const char* const kUnsupported = "この形式の画像には対応していません";

void Put(Bytes& bytes, std::size_t at, uint32_t value, int size = 4) {
    for (int i = 0; i < size; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

Bytes InfoHeader(uint32_t size, int32_t width, int32_t height, uint16_t bits, uint32_t compression = 0,
                 uint32_t colorsUsed = 0) {
    Bytes header(size);
    Put(header, 0, size);
    Put(header, 4, static_cast<uint32_t>(width));
    Put(header, 8, static_cast<uint32_t>(height));
    Put(header, 12, 1, 2);
    Put(header, 14, bits, 2);
    Put(header, 16, compression);
    Put(header, 32, colorsUsed);
    return header;
}

Bytes Cut(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

Bytes With(Bytes bytes, std::initializer_list<uint32_t> dwords) {
    for (uint32_t value : dwords) {
        bytes.resize(bytes.size() + 4);
        Put(bytes, bytes.size() - 4, value);
    }
    return bytes;
}

// 2 x 2, 24 bits, bottom-up: blue green / red white from the bottom row up.
const Bytes kPixels24 = {255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0};

Bytes BmpFile(Bgr colour) {
    PixelBuffer pixels(3, 1);
    for (int x = 0; x < 3; ++x) pixels.SetPixel(x, 0, colour);
    return WriteBmp24(pixels);
}

std::vector<Bgr> PixelsOf(const TBitmap& bitmap) {
    std::vector<Bgr> pixels;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) pixels.push_back(bitmap.Pixels().Pixel(x, y));
    return pixels;
}

class SpiBitmapTest : public ::testing::Test {
protected:
    SpiBitmapTest() {
        StartSPIBitmap();
        picture.OnProgress = [this](TGraphic&, const ProgressInfo& info) {
            progress.emplace_back(info.stage, info.percent);
            if (listener) listener(info);
        };
    }
    ~SpiBitmapTest() override { SetSPIDefaultGraphicClass(nullptr); }

    // A picture plug-in added to the manager; until told otherwise it reads nothing.
    FakePlugin& NewPlugin(const std::string& name, std::vector<std::pair<std::string, std::string>> formats = {{"*.pic", "PIC"}}) {
        FakePlugin& plugin = plugins.emplace_back();
        plugin.formats = std::move(formats);
        host.modules.Install(name, plugin);
        spis.Add(CreatePlugin(host.PluginPorts(), name));
        return plugin;
    }
    // Makes the plug-in answer GetPicture with these blocks, allocated exactly to size.
    void Returns(FakePlugin& plugin, Bytes header, Bytes pixels) {
        plugin.getPicture = [this, header, pixels](const uint8_t*, int32_t, void** h, void** p, SpiProgressCallback,
                                                   intptr_t) {
            *h = host.memory.Alloc(header);
            *p = host.memory.Alloc(pixels);
            return 0;
        };
    }
    void ReadAsPic(const Bytes& data) { picture.LoadFromStreamWithName(data, "C:\\pics\\a.pic"); }
    bool AllHandlesFreed() const {
        return host.memory.Freed() == host.memory.Allocated() && host.memory.OpenLocks() == 0 &&
               host.memory.unknownCalls == 0;
    }

    std::deque<FakePlugin> plugins;
    test::FakePluginHost host;
    TSPIs spis{host.Ports(), "C:\\app\\"};
    TSPIBitmap picture{host.files};
    std::vector<std::pair<ProgressStage, int>> progress;
    std::function<void(const ProgressInfo&)> listener;
};

TEST_F(SpiBitmapTest, ShortDataIsOfferedPaddedTo2048BytesWithItsRealLength) {
    FakePlugin& plugin = NewPlugin("a.spi");
    Bytes seen;
    std::vector<int32_t> lengths;
    plugin.isSupported = [&](const char*, const uint8_t* data) {
        seen.assign(data, data + 2048);
        return 1;
    };
    plugin.getPictureInfo = [&](const uint8_t*, int32_t length, SpiPictureInfo* info) {
        lengths.push_back(length);
        info->width = 2;
        info->infoText = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(host.memory.Alloc("no zero at the end")));
        return 0;
    };
    Returns(plugin, InfoHeader(40, 2, 2, 24), kPixels24);
    const auto inner = plugin.getPicture;
    plugin.getPicture = [&](const uint8_t* d, int32_t length, void** h, void** p, SpiProgressCallback cb, intptr_t v) {
        lengths.push_back(length);
        return inner(d, length, h, p, cb, v);
    };
    const Bytes data(100, 0xAB);
    host.files.AddFile("C:\\pics\\", "a.pic", data);

    picture.LoadFromFile("C:\\pics\\a.pic");
    EXPECT_EQ(Bytes(seen.begin(), seen.begin() + 100), data);
    EXPECT_EQ(Bytes(seen.begin() + 100, seen.end()), Bytes(1948, 0));
    EXPECT_EQ(lengths, (std::vector<int32_t>{100, 100}));
    EXPECT_EQ(plugin.flags, (std::vector<uint32_t>{1, 1}));
    EXPECT_EQ(plugin.askedNames, (std::vector<std::string>{"C:\\pics\\a.pic"}));
    EXPECT_EQ(PixelsOf(picture), (std::vector<Bgr>{kRed, kWhite, kBlue, kGreen}));
    // Info text and picture handles all freed; the name belongs to the reading only.
    EXPECT_EQ(host.memory.Allocated(), 3);
    EXPECT_TRUE(AllHandlesFreed());
    EXPECT_EQ(picture.Reader().Name(), "");
    EXPECT_EQ(picture.Reader().Extension(), "");
}

TEST_F(SpiBitmapTest, RejectedDataIsOfferedAgainWithoutItsFirst128Bytes) {
    FakePlugin& plugin = NewPlugin("a.spi");
    plugin.isSupported = [](const char*, const uint8_t* data) { return int32_t{data[0] == 'P' && data[1] == 'I'}; };
    std::vector<int32_t> lengths;
    plugin.getPicture = [&](const uint8_t*, int32_t length, void** h, void** p, SpiProgressCallback, intptr_t) {
        lengths.push_back(length);
        *h = host.memory.Alloc(InfoHeader(40, 2, 2, 24));
        *p = host.memory.Alloc(kPixels24);
        return 0;
    };
    Bytes data(128, 0);
    data.insert(data.end(), {'P', 'I', 'C'});
    ReadAsPic(data);
    EXPECT_EQ(plugin.askedNames.size(), 2u);
    EXPECT_EQ(lengths, (std::vector<int32_t>{3}));

    picture.HeaderRetry = false;
    EXPECT_THROW(ReadAsPic(data), PictureError);
    EXPECT_EQ(plugin.askedNames.size(), 3u);

    picture.HeaderRetry = true;
    EXPECT_THROW(ReadAsPic(Bytes(128, 'P')), PictureError);  // no more than 128 bytes: no second offer
    EXPECT_EQ(plugin.askedNames.size(), 4u);
}

TEST_F(SpiBitmapTest, TheNameDecidesWhetherPluginsOrTheBmpReaderGoFirst) {
    FakePlugin& plugin = NewPlugin("a.spi", {{"*.bmp", "BMP"}, {"*.pic", "PIC"}});
    Returns(plugin, InfoHeader(40, 2, 2, 24), kPixels24);
    const Bytes bmp = BmpFile(kGreen);

    // A .bmp name: the BMP reader alone, the plug-in is not even asked.
    picture.LoadFromStreamWithName(bmp, "C:\\pics\\a.BMP");
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_TRUE(plugin.askedNames.empty());

    // A plug-in extension: the plug-in first, the BMP reader when it rejects the data.
    plugin.isSupported = [](const char*, const uint8_t*) { return 0; };
    picture.LoadFromStreamWithName(BmpFile(kRed), "a.pic");
    EXPECT_EQ(picture.Pixels().Pixel(0, 0), kRed);
    EXPECT_EQ(plugin.askedNames, (std::vector<std::string>{"a.pic"}));

    // No name: the BMP reader first, then every plug-in with an empty name.
    plugin.isSupported = nullptr;
    plugin.askedNames.clear();
    picture.LoadFromStream(bmp);
    EXPECT_TRUE(plugin.askedNames.empty());
    picture.LoadFromStream(Bytes(10, 1));
    EXPECT_EQ(plugin.askedNames, (std::vector<std::string>{""}));
    EXPECT_EQ(picture.Width(), 2);

    // Nothing reads it: the error, and the picture keeps what it had.
    plugin.isSupported = [](const char*, const uint8_t*) { return 0; };
    try {
        ReadAsPic(Bytes(10, 1));
        FAIL();
    } catch (const PictureError& e) {
        EXPECT_STREQ(e.what(), kUnsupported);
    }
    EXPECT_EQ(picture.Width(), 2);
}

TEST_F(SpiBitmapTest, CandidatesAreTriedInOrderUnlessOneIsBound) {
    FakePlugin& other = NewPlugin("other.spi", {{"*.xyz", "XYZ"}});
    FakePlugin& named = NewPlugin("named.spi");
    named.isSupported = [](const char*, const uint8_t*) { return 0; };
    Returns(other, InfoHeader(40, 2, 2, 24), kPixels24);
    ReadAsPic(Bytes(10, 1));
    EXPECT_EQ(named.askedNames.size(), 1u);
    EXPECT_EQ(other.askedNames.size(), 1u);
    EXPECT_EQ(progress, (std::vector<std::pair<ProgressStage, int>>{{ProgressStage::Starting, 0},
                                                                    {ProgressStage::Ending, 100},
                                                                    {ProgressStage::Starting, 0},
                                                                    {ProgressStage::Ending, 100}}));

    picture.BoundPlugin = &static_cast<TInSPI&>(spis.Items(1));
    EXPECT_THROW(ReadAsPic(Bytes(10, 1)), PictureError);
    EXPECT_EQ(other.askedNames.size(), 1u);
    TSPIBitmap copy(host.files);
    copy.Assign(picture);
    EXPECT_EQ(copy.BoundPlugin, picture.BoundPlugin);
    EXPECT_EQ(copy.Width(), 2);
}

TEST_F(SpiBitmapTest, ProgressOfAPluginRunsFromStartingToEnding) {
    FakePlugin& plugin = NewPlugin("a.spi");
    std::vector<int32_t> answers;
    plugin.getPicture = [&](const uint8_t*, int32_t, void** h, void** p, SpiProgressCallback progress, intptr_t v) {
        for (auto [done, total] : std::initializer_list<std::pair<int32_t, int32_t>>{{0, 10}, {5, 10}, {10, 10}, {3, 0}})
            answers.push_back(progress(done, total, v));
        answers.push_back(progress(5, 10, 0));  // no reader: nothing to tell
        answers.push_back(progress(5, 10, v + 8));  // not the host's value: not followed, nothing told
        *h = host.memory.Alloc(InfoHeader(40, 2, 2, 24));
        *p = host.memory.Alloc(kPixels24);
        return 0;
    };
    ReadAsPic(Bytes(10, 1));
    EXPECT_EQ(answers, (std::vector<int32_t>{0, 0, 0, 0, 0, 0}));
    using S = ProgressStage;
    EXPECT_EQ(progress, (std::vector<std::pair<S, int>>{
                            {S::Starting, 0}, {S::Running, 1}, {S::Running, 50}, {S::Running, 99}, {S::Running, 0}, {S::Ending, 100}}));
}

TEST_F(SpiBitmapTest, ListenerErrorsNeverCrossThePlugin) {
    FakePlugin& plugin = NewPlugin("a.spi");
    std::vector<int32_t> answers;
    bool stopWhenTold = true;
    plugin.getPicture = [&](const uint8_t*, int32_t, void** h, void** p, SpiProgressCallback progress, intptr_t v) {
        answers.push_back(progress(1, 2, v));
        if (answers.back() != 0 && stopWhenTold) return 1;
        *h = host.memory.Alloc(InfoHeader(40, 2, 2, 24));
        *p = host.memory.Alloc(kPixels24);
        return 0;
    };

    // The silent abort asks the plug-in to stop; it stops, and the reading goes on without it.
    listener = [](const ProgressInfo& info) {
        if (info.stage == ProgressStage::Running) throw Abort();
    };
    EXPECT_THROW(ReadAsPic(Bytes(10, 1)), PictureError);
    EXPECT_EQ(answers, (std::vector<int32_t>{1}));
    EXPECT_EQ(host.memory.Allocated(), 0);

    // Any other error stops the plug-in too and reaches the caller once the plug-in has returned,
    // its handles freed even when it went on regardless.
    listener = [](const ProgressInfo& info) {
        if (info.stage == ProgressStage::Running) throw Error("listener failed");
    };
    stopWhenTold = false;
    answers.clear();
    progress.clear();
    try {
        ReadAsPic(Bytes(10, 1));
        FAIL();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "listener failed");
    }
    EXPECT_EQ(answers, (std::vector<int32_t>{1}));
    EXPECT_EQ(progress.back(), std::pair(ProgressStage::Ending, 100));
    EXPECT_EQ(host.memory.Allocated(), 2);
    EXPECT_TRUE(AllHandlesFreed());
}

TEST_F(SpiBitmapTest, APluginThatFaultsFailsItsAttemptAndIsNeverAskedAgain) {
    FakePlugin& good = NewPlugin("good.spi", {{"*.xyz", "XYZ"}});
    Returns(good, InfoHeader(40, 2, 2, 24), kPixels24);
    using S = ProgressStage;
    const std::vector<std::pair<S, int>> oneAttempt{{S::Starting, 0}, {S::Ending, 100}};
    const Bytes data(200, 1);  // long enough for a second offer without a header
    for (const std::string function : {"IsSupported", "GetPictureInfo", "GetPicture"}) {
        SCOPED_TRACE(function);
        // Without its fault it would read the picture: what a faulted call returns means nothing.
        FakePlugin& faulting = NewPlugin(function + ".spi");
        faulting.faults = {function};
        Returns(faulting, InfoHeader(40, 1, 1, 24), Bytes(4));
        const TSPI& plugin = spis.Items(spis.Count() - 1);
        progress.clear();
        ReadAsPic(data);
        EXPECT_EQ(picture.Width(), 2);
        EXPECT_TRUE(plugin.Faulty());
        EXPECT_EQ(faulting.askedNames.size(), 1u);
        EXPECT_EQ(faulting.flags.size(), function == "IsSupported" ? 0u : function == "GetPictureInfo" ? 1u : 2u);
        EXPECT_EQ(progress.size(), 4u);

        // The next file is not offered to it at all.
        progress.clear();
        ReadAsPic(data);
        EXPECT_EQ(faulting.askedNames.size(), 1u);
        EXPECT_EQ(progress, oneAttempt);
    }
    EXPECT_TRUE(AllHandlesFreed());
    spis.Clear();
    EXPECT_EQ(host.modules.AllReferences(), 3);  // one for each library that faulted
}

TEST_F(SpiBitmapTest, HandlesAreFreedAfterEverySuccessfulCallAndNeverAfterAFailedOne) {
    FakePlugin& plugin = NewPlugin("a.spi");
    Returns(plugin, InfoHeader(40, 2, 2, 24), kPixels24);
    picture.Reader().OnBitmap = [](std::span<const uint8_t>, std::span<const uint8_t>, const TPictureInfoRec&,
                                   const PixelStore&, bool&) {
        throw Error("handler failed");
    };
    EXPECT_THROW(ReadAsPic(Bytes(10, 1)), Error);
    EXPECT_EQ(host.memory.Allocated(), 2);
    EXPECT_TRUE(AllHandlesFreed());

    // Blocks that cannot be locked: a failed attempt (tried twice), the handles freed all the same.
    host.memory.failLock = true;
    EXPECT_THROW(ReadAsPic(Bytes(200, 1)), PictureError);
    host.memory.failLock = false;
    EXPECT_EQ(host.memory.Allocated(), 6);
    EXPECT_EQ(host.memory.Freed(), 6);

    // A failed call: whatever the plug-in put into the handles is not ours to free.
    plugin.getPicture = [&](const uint8_t*, int32_t, void** h, void** p, SpiProgressCallback, intptr_t) {
        *h = host.memory.Alloc(Bytes(40));
        *p = host.memory.Alloc(Bytes(16));
        return 2;
    };
    plugin.getPictureInfo = [&](const uint8_t*, int32_t, SpiPictureInfo* info) {
        info->infoText = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(host.memory.Alloc("text")));
        return 1;
    };
    EXPECT_THROW(ReadAsPic(Bytes(10, 1)), PictureError);
    EXPECT_EQ(host.memory.Allocated(), 9);
    EXPECT_EQ(host.memory.Freed(), 6);
}

TEST_F(SpiBitmapTest, LyingOrAbsurdResultsAreFailedAttemptsWithoutReadingBeyondTheBlocks) {
    FakePlugin& plugin = NewPlugin("a.spi");
    const Bytes header24 = InfoHeader(40, 2, 2, 24);
    const struct {
        const char* what;
        Bytes header;
        Bytes pixels;
    } cases[] = {
        {"header block shorter than its size field", Cut(header24, 20), kPixels24},
        {"V5 size in a 40-byte block", Cut(InfoHeader(124, 2, 2, 24), 40), kPixels24},
        {"pixel block one byte short", header24, Cut(kPixels24, 15)},
        {"colour table missing", InfoHeader(40, 2, 2, 8), Bytes(8)},
        {"colour table cut", With(InfoHeader(40, 2, 2, 4, 0, 3), {0, 0}), Bytes(8)},
        {"bit-field masks missing", InfoHeader(40, 2, 2, 16, 3), Bytes(8)},
        {"unknown header size", InfoHeader(64, 2, 2, 24), kPixels24},
        {"width beyond any picture", InfoHeader(40, 100000, 1, 24), Bytes(64)},
        {"negative width", InfoHeader(40, -2, 2, 24), kPixels24},
        {"height of INT_MIN", InfoHeader(40, 2, INT_MIN, 24), kPixels24},
        {"gigabytes of picture", InfoHeader(40, 60000, 60000, 24), Bytes(64)},
        {"7 bits", InfoHeader(40, 2, 2, 7), kPixels24},
        {"a million colours", InfoHeader(40, 2, 2, 8, 0, 1000000), Bytes(8)},
        {"JPEG inside", InfoHeader(40, 2, 2, 24, 4), kPixels24},
        {"empty blocks", Bytes{}, Bytes{}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Returns(plugin, c.header, c.pixels);
        EXPECT_THROW(ReadAsPic(Bytes(10, 1)), PictureError);
    }
    EXPECT_TRUE(AllHandlesFreed());
}

struct DepthCase {
    const char* what;
    Bytes header;  // with masks and colour table
    Bytes pixels;
    std::vector<Bgr> expected;  // top-left, top-right, bottom-left, bottom-right
    std::size_t paletteSize;
};

std::vector<DepthCase> DepthCases() {
    Bytes table16;
    for (uint32_t i = 0; i < 16; ++i) table16 = With(table16, {i * 0x111111u});
    Bytes table256;
    for (uint32_t i = 0; i < 256; ++i) table256 = With(table256, {i * 0x010101u});
    const auto join = [](Bytes a, const Bytes& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    Bytes v5 = InfoHeader(124, 2, 2, 16, 3);
    Put(v5, 40, 0xF800);
    Put(v5, 44, 0x07E0);
    Put(v5, 48, 0x001F);
    const Bgr grey1{0x11, 0x11, 0x11}, greyF{0xFF, 0xFF, 0xFF}, grey80{0x80, 0x80, 0x80};
    return {
        {"1 bit", With(InfoHeader(40, 2, 2, 1), {0x000000, 0xFFFFFF}), {0x40, 0, 0, 0, 0x80, 0, 0, 0},
         {kWhite, kBlack, kBlack, kWhite}, 2},
        {"4 bits", join(InfoHeader(40, 2, 2, 4), table16), {0x01, 0, 0, 0, 0xF0, 0, 0, 0}, {greyF, kBlack, kBlack, grey1}, 16},
        {"8 bits", join(InfoHeader(40, 2, 2, 8), table256), {0x80, 0, 0, 0, 0xFF, 0x00, 0, 0},
         {greyF, kBlack, grey80, kBlack}, 256},
        {"8 bits RLE", join(InfoHeader(40, 2, 2, 8, 1), table256), {2, 0xFF, 0, 0, 2, 0x80, 0, 1},
         {grey80, grey80, greyF, greyF}, 256},
        {"16 bits 5-5-5", InfoHeader(40, 2, 2, 16), {0x1F, 0x00, 0xE0, 0x03, 0x00, 0x7C, 0xFF, 0x7F}, {kRed, kWhite, kBlue, kGreen}, 0},
        {"16 bits 5-6-5 after a 40-byte header", With(InfoHeader(40, 2, 2, 16, 3), {0xF800, 0x07E0, 0x001F}),
         {0x1F, 0x00, 0xE0, 0x07, 0x00, 0xF8, 0xFF, 0xFF}, {kRed, kWhite, kBlue, kGreen}, 0},
        {"16 bits 5-6-5 inside a V5 header", v5, {0x1F, 0x00, 0xE0, 0x07, 0x00, 0xF8, 0xFF, 0xFF}, {kRed, kWhite, kBlue, kGreen}, 0},
        {"24 bits", InfoHeader(40, 2, 2, 24), kPixels24, {kRed, kWhite, kBlue, kGreen}, 0},
        {"24 bits top-down", InfoHeader(40, 2, -2, 24), kPixels24, {kBlue, kGreen, kRed, kWhite}, 0},
        {"32 bits", InfoHeader(40, 2, 2, 32), {255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 255, 255, 255, 0},
         {kRed, kWhite, kBlue, kGreen}, 0},
    };
}

TEST_F(SpiBitmapTest, EveryDepthAndRowOrderBecomesTheSamePixels) {
    FakePlugin& plugin = NewPlugin("a.spi");
    for (const DepthCase& c : DepthCases()) {
        SCOPED_TRACE(c.what);
        Returns(plugin, c.header, c.pixels);
        ReadAsPic(Bytes(10, 1));
        EXPECT_EQ(PixelsOf(picture), c.expected);
        EXPECT_EQ(picture.Palette().size(), c.paletteSize);
    }
    EXPECT_TRUE(AllHandlesFreed());
}

// A picture given its pixel block to keep (one read through the helper) keeps a 24-bit picture
// there, rows put in order and padding cleared: the very pixels a copy would get. Any other
// picture is decoded into a store of its own.
TEST(PluginDibTest, APictureKeptInItsOwnBlockIsTheSameAsACopy) {
    const struct {
        const char* what;
        Bytes header;
        bool kept;
    } cases[] = {
        {"24 bits bottom-up, odd rows", InfoHeader(40, 3, 3, 24), true},
        {"24 bits bottom-up, even rows", InfoHeader(40, 3, 2, 24), true},
        {"24 bits top-down", InfoHeader(40, 3, -3, 24), true},
        {"24 bits, one row", InfoHeader(124, 3, 1, 24), true},
        {"24 bits with a colour table", With(InfoHeader(40, 3, 3, 24, 0, 1), {0xFF}), false},
        {"8 bits", With(InfoHeader(40, 3, 3, 8, 0, 1), {0x123456}), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes pixels(12 * 3);  // rows of 9 bytes and 3 of padding, none zero
        for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 7 + 1);
        const std::optional<BmpImage> copied = ReadPluginDib(c.header, pixels);
        const std::shared_ptr<uint8_t[]> block(new uint8_t[pixels.size()]);
        std::copy(pixels.begin(), pixels.end(), block.get());
        const std::optional<BmpImage> kept =
            ReadPluginDib(c.header, std::span(block.get(), pixels.size()), PixelStore(block, block.get()));
        ASSERT_TRUE(copied && kept);
        EXPECT_EQ(kept->pixels, copied->pixels);  // the padding bytes too
        EXPECT_EQ(kept->palette, copied->palette);
        EXPECT_EQ(kept->pixels.Data() == block.get(), c.kept);
    }
}

TEST_F(SpiBitmapTest, PluginPicturesLoadThroughThePictureHolderUntilTheClassLeaves) {
    FakePlugin& plugin = NewPlugin("a.spi");
    Returns(plugin, InfoHeader(40, 2, 2, 24), kPixels24);
    host.files.AddFile("C:\\pics\\", "a.PIC", Bytes(10, 1));
    TPicture holder(host.formats, host.files);
    holder.LoadFromFile("C:\\pics\\a.PIC");
    ASSERT_NE(holder.Graphic(), nullptr);
    EXPECT_EQ(&holder.Graphic()->Class(), &TSPIBitmap::StaticClass());
    EXPECT_EQ(holder.Width(), 2);

    EndSPIBitmap(host.formats);
    EXPECT_EQ(host.formats.FindExt("pic"), nullptr);
    EXPECT_EQ(host.formats.FindExt("bmp"), &TBitmap::StaticClass());
}

}  // namespace
}  // namespace kembo
