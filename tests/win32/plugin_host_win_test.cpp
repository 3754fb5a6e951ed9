// The plug-in host with the real fixture plug-ins, loaded through the Windows ports: search,
// registration, the plug-in types, and pictures read through the picture holder.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "base/errors.h"
#include "base/text.h"
#include "box_watch.h"
#include "image/bmp_writer.h"
#include "loading/spi_errors.h"
#include "plugin_host_fixture.h"

namespace kembo {
namespace {

TEST_F(PluginHostWinTest, SearchLoadsTheLibrariesAndRegistersTheirExtensions) {
    const std::size_t builtIn = formats.Entries().size();
    testing::BoxWatch watch;
    SearchSet(L"basic");  // a.spi and x.spi, which is no library
    EXPECT_FALSE(watch.Stop()) << "a message box appeared";
    ASSERT_EQ(spis.Count(), 1);
    const TSPI& plugin = spis.Items(0);
    EXPECT_TRUE(plugin.Class().InheritsFrom(TInSPI::StaticClass()));
    EXPECT_TRUE(SameTextAscii(plugin.FileName(), Narrow(PluginFolder(L"basic") + L"a.spi"))) << plugin.FileName();
    EXPECT_EQ(plugin.APIVersion(), "00IN");
    EXPECT_EQ(plugin.PluginInfo(), "KPIC test plug-in");
    EXPECT_EQ(plugin.Patterns(), (std::vector<std::string>{"*.pic", "*.pi1;*.pi2"}));
    EXPECT_EQ(plugin.Descriptions(), (std::vector<std::string>{"KPIC picture", "KPIC numbered picture"}));

    std::vector<std::string> registered;
    for (std::size_t i = builtIn; i < formats.Entries().size(); ++i) {
        registered.push_back(formats.Entries()[i].extension);
        EXPECT_EQ(formats.Entries()[i].pictureClass, &TSPIBitmap::StaticClass());
    }
    EXPECT_EQ(registered, (std::vector<std::string>{"pic", "pi2", "pi1"}));

    SearchSet(L"basic");
    EXPECT_EQ(spis.Count(), 1);
}

TEST_F(PluginHostWinTest, PluginLackingGetPictureEndsTheSearchNamingIt) {
    try {
        SearchSet(L"nopicture");
        FAIL() << "no error";
    } catch (const ESPIInvalidAPI& e) {
        const std::string path = Narrow(PluginFolder(L"nopicture") + L"b.spi");
        EXPECT_TRUE(SameTextAscii(e.what(), "GetPictureは[" + path + "]では使えないSusie Plugin APIです")) << e.what();
    }
    EXPECT_EQ(spis.Count(), 0);
}

TEST_F(PluginHostWinTest, TypeTextChoosesTheClassAndOnlyPicturePluginsRegister) {
    const std::size_t builtIn = formats.Entries().size();
    SearchSet(L"kinds");
    ASSERT_EQ(spis.Count(), 3);
    ASSERT_TRUE(Plugin(L"kinds", L"am.spi") && Plugin(L"kinds", L"xn.spi") && Plugin(L"kinds", L"other.spi"));
    EXPECT_EQ(&Plugin(L"kinds", L"am.spi")->Class(), &TAmSPI::StaticClass());
    EXPECT_EQ(&Plugin(L"kinds", L"xn.spi")->Class(), &TXnSPI::StaticClass());
    EXPECT_EQ(&Plugin(L"kinds", L"other.spi")->Class(), &TSPI::StaticClass());
    EXPECT_EQ(formats.Entries().size(), builtIn);
}

TEST_F(PluginHostWinTest, ReadsAKpicFileThroughThePictureHolder) {
    SearchSet(L"basic");
    ASSERT_EQ(spis.Count(), 1);
    KpicLog* log = Log(spis.Items(0));
    ASSERT_NE(log, nullptr);

    const std::string bytes = Picture(3, 2, 6);
    const std::string path = WriteFile(L"six colours.pic", bytes);
    const TSPIBitmap& bitmap = Read(path);
    EXPECT_EQ(PixelsOf(bitmap), Expected(3, 2, 6));

    // What the plug-in was given: the name, the real length, the data in a zero-padded 2 KiB block.
    EXPECT_TRUE(SameTextAscii(log->lastName, path)) << log->lastName;
    EXPECT_EQ(log->lastLength, static_cast<int>(bytes.size()));
    EXPECT_EQ(log->lastFlag, 1u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(log->lastData), bytes.size()), bytes);
    EXPECT_EQ(std::vector<unsigned char>(log->lastData + bytes.size(), log->lastData + kKpicLogDataSize),
              std::vector<unsigned char>(kKpicLogDataSize - bytes.size(), 0));
    // Both blocks it handed out were freed after use.
    ASSERT_TRUE(log->headerHandle && log->pixelHandle);
    EXPECT_TRUE(HandleFreed(log->headerHandle));
    EXPECT_TRUE(HandleFreed(log->pixelHandle));

    // The second pattern text names its pieces too.
    EXPECT_EQ(PixelsOf(Read(WriteFile(L"b.PI1", Picture(2, 2, 3)))), Expected(2, 2, 3));
}

TEST_F(PluginHostWinTest, EveryBitmapKindBecomesTheSamePixels) {
    SearchSet(L"depths");
    ASSERT_EQ(spis.Count(), 8);
    struct Case {
        const wchar_t* extension;
        int colours;
    };
    for (const Case& c : {Case{L"k1", 2}, Case{L"k4", 6}, Case{L"k8", 6}, Case{L"k16", 6}, Case{L"k24", 6},
                          Case{L"k32", 6}, Case{L"ktd", 6}, Case{L"kv5", 6}}) {
        const std::wstring name = std::wstring(L"picture.") + c.extension;
        SCOPED_TRACE(Narrow(name));
        try {
            const TSPIBitmap& bitmap = Read(WriteFile(name, Picture(5, 3, c.colours)));
            EXPECT_EQ(PixelsOf(bitmap), Expected(5, 3, c.colours));
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
        }
    }
    // A 4-bit picture keeps its 16 colours as its palette: the picture's, in the table's order.
    const TSPIBitmap& fourBits = Read(WriteFile(L"palette.k4", Picture(5, 3, 6)));
    ASSERT_EQ(fourBits.Palette().size(), 16u);
    EXPECT_EQ(fourBits.Palette()[0], Color{0x0000FF});
    EXPECT_EQ(fourBits.Palette()[1], Color{0x00FF00});
}

struct Stages {
    std::vector<ProgressStage> stages;
    std::vector<int> percents;
};

TEST_F(PluginHostWinTest, ProgressRunsFromStartToEndAndAListenerCanStopThePlugin) {
    SearchSet(L"progress");
    ASSERT_EQ(spis.Count(), 1);
    KpicLog* log = Log(spis.Items(0));
    ASSERT_NE(log, nullptr);
    const std::string path = WriteFile(L"tall.pic", Picture(2, 10, 3));

    Stages seen;
    holder.OnProgress = [&](TGraphic&, const ProgressInfo& info) {
        seen.stages.push_back(info.stage);
        seen.percents.push_back(info.percent);
    };
    Read(path);
    ASSERT_GE(seen.stages.size(), 3u);
    EXPECT_EQ(seen.stages.front(), ProgressStage::Starting);
    EXPECT_EQ(seen.percents.front(), 0);
    EXPECT_EQ(seen.stages.back(), ProgressStage::Ending);
    EXPECT_EQ(seen.percents.back(), 100);
    for (std::size_t i = 1; i + 1 < seen.stages.size(); ++i) {
        EXPECT_EQ(seen.stages[i], ProgressStage::Running);
        EXPECT_TRUE(seen.percents[i] >= 1 && seen.percents[i] <= 99) << seen.percents[i];
    }
    EXPECT_EQ(log->progressCalls, 11);

    // The silent abort of a listener stops the plug-in at once; the picture is then not read.
    holder.OnProgress = [](TGraphic&, const ProgressInfo& info) {
        if (info.stage == ProgressStage::Running) throw Abort();
    };
    EXPECT_THROW(Read(path), PictureError);
    EXPECT_EQ(log->progressCalls, 1);
}

TEST_F(PluginHostWinTest, DataBehindA128ByteHeaderIsReadOnTheSecondOffer) {
    SearchSet(L"header");
    ASSERT_EQ(spis.Count(), 1);
    KpicLog* log = Log(spis.Items(0));
    ASSERT_NE(log, nullptr);
    const std::string picture = Picture(4, 2, 6);
    const std::string path = WriteFile(L"wrapped.kph", testing::WithHeader(picture));
    *log = KpicLog{};
    EXPECT_EQ(PixelsOf(Read(path)), Expected(4, 2, 6));
    EXPECT_EQ(log->isSupportedCalls, 2);
    EXPECT_EQ(log->lastLength, static_cast<int>(picture.size()));

    TSPIBitmap noRetry(files);
    noRetry.HeaderRetry = false;
    EXPECT_THROW(noRetry.LoadFromFile(path), PictureError);
}

TEST_F(PluginHostWinTest, PluginsThatFailOrLieAreRefusedCleanly) {
    const std::string path = WriteFile(L"refused.pic", Picture(3, 3, 6));
    const auto refused = [&] {
        try {
            holder.LoadFromFile(path);
            ADD_FAILURE() << "read";
        } catch (const PictureError& e) {
            EXPECT_STREQ(e.what(), "この形式の画像には対応していません");
        }
        EXPECT_EQ(holder.Graphic(), nullptr);
    };

    // A header claiming 4000 x 3000 over a few bytes of pixels: refused, and both blocks freed.
    SearchSet(L"liar");
    ASSERT_EQ(spis.Count(), 1);
    KpicLog* liar = Log(spis.Items(0));
    ASSERT_NE(liar, nullptr);
    refused();
    EXPECT_EQ(liar->getPictureCalls, 1);
    ASSERT_TRUE(liar->headerHandle && liar->pixelHandle);
    EXPECT_TRUE(HandleFreed(liar->headerHandle));
    EXPECT_TRUE(HandleFreed(liar->pixelHandle));

    // An error result with handles set anyway: the next candidate is tried, nothing breaks.
    SearchSet(L"fails");
    ASSERT_EQ(spis.Count(), 2);
    KpicLog* fails = Log(*Plugin(L"fails", L"fails.spi"));
    ASSERT_NE(fails, nullptr);
    refused();
    EXPECT_EQ(fails->getPictureCalls, 1);
    EXPECT_EQ(liar->getPictureCalls, 2);
}

TEST_F(PluginHostWinTest, BmpFilesGoToTheNativeReaderFirstEvenWhenAPluginClaimsBmp) {
    SearchSet(L"bmp");
    ASSERT_EQ(spis.Count(), 1);
    KpicLog* log = Log(spis.Items(0));
    ASSERT_NE(log, nullptr);
    *log = KpicLog{};

    PixelBuffer pixels(2, 1);
    pixels.SetPixel(0, 0, Bgr{1, 2, 3});
    pixels.SetPixel(1, 0, Bgr{4, 5, 6});
    const std::vector<uint8_t> bmp = WriteBmp24(pixels);
    EXPECT_EQ(PixelsOf(Read(WriteFile(L"real.bmp", std::string(bmp.begin(), bmp.end())))),
              (std::vector<Bgr>{{1, 2, 3}, {4, 5, 6}}));
    EXPECT_EQ(log->isSupportedCalls, 0);

    // A .bmp name on data only the plug-in reads: the native reader fails, the plug-in follows.
    EXPECT_EQ(PixelsOf(Read(WriteFile(L"kpic.bmp", Picture(2, 2, 6)))), Expected(2, 2, 6));
    EXPECT_EQ(log->isSupportedCalls, 1);
}

}  // namespace
}  // namespace kembo
