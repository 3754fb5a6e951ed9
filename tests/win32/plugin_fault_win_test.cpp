// Plug-ins that fault or misbehave, called through the real host: a fault ends only the call it
// happened in and retires the plug-in, which stays loaded; the floating-point control state
// survives every call.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/errors.h"
#include "box_watch.h"
#include "plugin_host_fixture.h"
#include "toolkit/contained_call_win.h"

namespace kembo {
namespace {

class PluginFaultWinTest : public PluginHostWinTest {
protected:
    PluginFaultWinTest() {
        holder.OnProgress = [this](TGraphic&, const ProgressInfo& info) { stages.push_back(info.stage); };
    }
    void ExpectRefused(const std::wstring& name) {
        EXPECT_THROW(holder.LoadFromFile(WriteFile(name, Picture(3, 2, 6))), PictureError);
    }
    void ExpectFloatControl(const FloatControl& expected) {
        EXPECT_EQ(SaveFloatControl().x87, expected.x87);
        EXPECT_EQ(SaveFloatControl().mxcsr, expected.mxcsr);
    }
    bool Loaded(const std::wstring& set) { return GetModuleHandleW((PluginFolder(set) + set + L".spi").c_str()); }

    std::vector<ProgressStage> stages;
};

TEST_F(PluginFaultWinTest, AFaultInAnyPictureFunctionFailsTheReadingAndRetiresThePlugin) {
    const struct {
        const wchar_t* set;
        const wchar_t* extension;
        int pictureInfoCalls, pictureCalls, progressCalls;
    } cases[] = {{L"faultsupported", L".kfs", 0, 0, 0},
                 {L"faultpictureinfo", L".kfp", 1, 0, 0},
                 {L"faultpicture", L".kfg", 1, 1, 0},
                 {L"faultprogress", L".kfa", 1, 1, 3}};
    const FloatControl before = SaveFloatControl();
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.set));
        SearchSet(c.set);
        TSPI* plugin = Plugin(c.set, std::wstring(c.set) + L".spi");
        ASSERT_TRUE(plugin && Log(*plugin));
        const KpicLog& log = *Log(*plugin);
        stages.clear();
        ExpectRefused(std::wstring(L"first") + c.extension);
        EXPECT_TRUE(plugin->Faulty());
        EXPECT_EQ(log.isSupportedCalls, 1);
        EXPECT_EQ(log.getPictureInfoCalls, c.pictureInfoCalls);
        EXPECT_EQ(log.getPictureCalls, c.pictureCalls);
        EXPECT_EQ(log.progressCalls, c.progressCalls);
        ASSERT_FALSE(stages.empty());
        EXPECT_EQ(stages.back(), ProgressStage::Ending);
        ExpectFloatControl(before);
        // An abandoned call may leave the x87 register stack full: this would come out as NaN.
        volatile long double two = 2;
        EXPECT_EQ(two * two + two, 6.0L);

        // A second file of its type is not offered to it.
        stages.clear();
        ExpectRefused(std::wstring(L"second") + c.extension);
        EXPECT_EQ(log.isSupportedCalls, 1);
        EXPECT_TRUE(stages.empty());
    }
    spis.Clear();
    for (const auto& c : cases) EXPECT_TRUE(Loaded(c.set)) << Narrow(c.set);
}

TEST_F(PluginFaultWinTest, FaultsWhileLoadingOrOverflowingTheStackAreContainedToo) {
    testing::BoxWatch watch;
    SearchSet(L"faultinfo");
    EXPECT_FALSE(watch.Stop()) << "a message box appeared";
    EXPECT_EQ(spis.Count(), 0);
    EXPECT_TRUE(Loaded(L"faultinfo"));

    // Both claim the extension: one overflow retires the first, a second one the other.
    SearchSet(L"faultstack");
    ASSERT_EQ(spis.Count(), 2);
    ExpectRefused(L"deep.kfo");
    EXPECT_TRUE(spis.Items(0).Faulty() && spis.Items(1).Faulty());
}

TEST_F(PluginFaultWinTest, MisbehaviourShortOfAFaultCostsNothing) {
    // A stranger's caller value in the progress callback reaches nobody.
    SearchSet(L"strangerprogress");
    ASSERT_EQ(spis.Count(), 1);
    EXPECT_EQ(PixelsOf(Read(WriteFile(L"a.kst", Picture(2, 3, 3)))), Expected(2, 3, 3));
    EXPECT_EQ(Log(spis.Items(0))->progressCalls, 4);
    EXPECT_EQ(stages, (std::vector<ProgressStage>{ProgressStage::Starting, ProgressStage::Ending}));

    // Control words the library changes are put back after loading, each call and unloading.
    const FloatControl before = SaveFloatControl();
    SearchSet(L"floatchange");
    ExpectFloatControl(before);
    EXPECT_EQ(PixelsOf(Read(WriteFile(L"a.kfc", Picture(2, 3, 3)))), Expected(2, 3, 3));
    ExpectFloatControl(before);
    spis.Delete(1);
    ExpectFloatControl(before);
}

}  // namespace
}  // namespace kembo
