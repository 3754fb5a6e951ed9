// The plug-in host: plug-in objects by type, the factory, the search, the registration of
// extensions and the order of candidates.
#include <gtest/gtest.h>

#include "fake_plugin_ports.h"
#include "loading/spi.h"
#include "loading/spi_bitmap.h"
#include "loading/spi_errors.h"
#include "loading/spis.h"

namespace kembo {
namespace {

using test::FakePlugin;

const std::string kFolder = "C:\\spi\\";
const std::string kApp = "C:\\app\\";

FakePlugin Plugin(std::string type, std::vector<std::pair<std::string, std::string>> formats = {}) {
    FakePlugin plugin;
    plugin.type = std::move(type);
    plugin.formats = std::move(formats);
    return plugin;
}

std::vector<std::string> ExtensionsAfterBuiltIns(const PictureFormats& formats) {
    std::vector<std::string> extensions;
    for (std::size_t i = 4; i < formats.Entries().size(); ++i) extensions.push_back(formats.Entries()[i].extension);
    return extensions;
}

class SpiTest : public ::testing::Test {
protected:
    SpiTest() { StartSPIBitmap(); }
    ~SpiTest() override { SetSPIDefaultGraphicClass(nullptr); }

    test::FakePluginHost host;
};

TEST_F(SpiTest, PluginTellsTypeCreditsAndFormatsThroughA255ByteBuffer) {
    FakePlugin a = Plugin("00IN", {{"*.pic", "PIC 形式"}, {"*.pi1;*.pi2", "PI"}});
    a.info = std::string(300, 'x');  // fills the buffer without a terminating zero
    host.modules.Install("a.spi", a, "C:\\spi\\A.SPI");
    {
        const std::unique_ptr<TSPI> plugin = CreatePlugin(host.PluginPorts(), "a.spi");
        ASSERT_TRUE(plugin);
        EXPECT_EQ(&plugin->Class(), &TInSPI::StaticClass());
        EXPECT_EQ(plugin->FileName(), "C:\\spi\\A.SPI");
        EXPECT_EQ(plugin->APIVersion(), "00IN");
        EXPECT_EQ(plugin->PluginInfo(), std::string(255, 'x'));
        EXPECT_EQ(plugin->Patterns(), (std::vector<std::string>{"*.pic", "*.pi1;*.pi2"}));
        EXPECT_EQ(plugin->Descriptions(), (std::vector<std::string>{"PIC 形式", "PI"}));
        for (int32_t length : a.infoLengths) EXPECT_EQ(length, 255);
        // Loaded once to learn the type and once as its class; the first reference is given back.
        EXPECT_EQ(host.modules.loads["a.spi"], 2);
        EXPECT_EQ(host.modules.References("a.spi"), 1);
    }
    EXPECT_EQ(host.modules.References("a.spi"), 0);

    FakePlugin b = Plugin("00IN");
    host.modules.Install("b.spi", b, "");  // the system does not say where it came from
    EXPECT_EQ(CreatePlugin(host.PluginPorts(), "b.spi")->FileName(), "b.spi");
}

TEST_F(SpiTest, TypeTextChoosesTheClass) {
    FakePlugin am = Plugin("00AM"), xn = Plugin("00XN"), other = Plugin("00XX"), none = Plugin("");
    host.modules.Install("am.spi", am);
    host.modules.Install("xn.spi", xn);
    host.modules.Install("other.spi", other);
    host.modules.Install("none.spi", none);
    const auto classOf = [&](const char* name) { return &CreatePlugin(host.PluginPorts(), name)->Class(); };
    EXPECT_EQ(classOf("am.spi"), &TAmSPI::StaticClass());
    EXPECT_EQ(classOf("xn.spi"), &TXnSPI::StaticClass());
    EXPECT_EQ(classOf("other.spi"), &TSPI::StaticClass());
    EXPECT_EQ(classOf("none.spi"), &TSPI::StaticClass());
    EXPECT_TRUE(TAmSPI::StaticClass().InheritsFrom(TLoaderSPI::StaticClass()));
    EXPECT_TRUE(TInSPI::StaticClass().InheritsFrom(TSPI::StaticClass()));
    EXPECT_FALSE(TXnSPI::StaticClass().InheritsFrom(TLoaderSPI::StaticClass()));
    EXPECT_EQ(host.modules.AllReferences(), 0);
}

TEST_F(SpiTest, MissingFunctionsAreNamedInTableOrderParentFirst) {
    const auto messageFor = [&](FakePlugin& plugin, const std::string& path) -> std::string {
        host.modules.Install(path, plugin);
        try {
            CreatePlugin(host.PluginPorts(), path);
        } catch (const ESPIInvalidAPI& e) {
            return e.what();
        }
        return "no error";
    };
    FakePlugin noPicture = Plugin("00IN");
    noPicture.missing = {"GetPicture"};
    EXPECT_EQ(messageFor(noPicture, "C:\\spi\\in.spi"), "GetPictureは[C:\\spi\\in.spi]では使えないSusie Plugin APIです");
    FakePlugin noneOfTwo = Plugin("00IN");
    noneOfTwo.missing = {"GetPicture", "IsSupported"};
    EXPECT_EQ(messageFor(noneOfTwo, "two.spi"), "IsSupportedは[two.spi]では使えないSusie Plugin APIです");
    FakePlugin archive = Plugin("00AM");
    archive.missing = {"GetFileInfo", "GetFile"};
    EXPECT_EQ(messageFor(archive, "am.spi"), "GetFileInfoは[am.spi]では使えないSusie Plugin APIです");
    FakePlugin noInfo = Plugin("00XN");
    noInfo.missing = {"GetPluginInfo"};
    EXPECT_EQ(messageFor(noInfo, "xn.spi"), "GetPluginInfoは[xn.spi]では使えないSusie Plugin APIです");
    // Half-built objects give their libraries back.
    EXPECT_EQ(host.modules.AllReferences(), 0);

    // A type that needs less loads without the others, and calling an absent one is an error.
    FakePlugin bare = Plugin("00XN");
    bare.missing = {"IsSupported", "GetPicture"};
    host.modules.Install("bare.spi", bare);
    const std::unique_ptr<TSPI> plugin = CreatePlugin(host.PluginPorts(), "bare.spi");
    ASSERT_TRUE(plugin);
    EXPECT_THROW(plugin->IsSupported("x.pic", nullptr), ESPIInvalidAPI);
}

TEST_F(SpiTest, UnloadableLibraryIsAnErrorOnlyWhenLoadedDirectly) {
    EXPECT_EQ(CreatePlugin(host.PluginPorts(), "C:\\spi\\x.spi"), nullptr);
    try {
        TInSPI::StaticClass().Create(host.PluginPorts(), "C:\\spi\\x.spi");
        FAIL();
    } catch (const ESPIFOpenErrorSPI& e) {
        EXPECT_STREQ(e.what(), "C:\\spi\\x.spi:Susie Pluginがロードできませんでした");
    }
}

TEST_F(SpiTest, OnlyOneManagerAtATime) {
    {
        TSPIs first(host.Ports(), kApp);
        try {
            TSPIs second(host.Ports(), kApp);
            FAIL();
        } catch (const ESPIDupCreateSPIs& e) {
            EXPECT_STREQ(e.what(), "TSPIs は複数生成できません");
        }
        EXPECT_EQ(TSPIs::Current(), &first);
    }
    EXPECT_EQ(TSPIs::Current(), nullptr);
    TSPIs again(host.Ports(), kApp);
    EXPECT_EQ(TSPIs::Current(), &again);
}

TEST_F(SpiTest, PictureExtensionsRegisterFromTheLastPieceOfEachPattern) {
    FakePlugin a = Plugin("00IN", {{"*.pic", "PIC"}, {"*.pi1;*.pi2", "PI"}});
    FakePlugin x = Plugin("00XN", {{"*.xn", "XN"}});
    FakePlugin am = Plugin("00AM", {{"*.lzh", "LZH"}});
    host.AddLibrary(kApp, "a.spi", a);
    host.AddLibrary(kApp, "x.spi", x);
    host.AddLibrary(kApp, "am.spi", am);
    TSPIs spis(host.Ports(), kApp);
    spis.Loaded();
    ASSERT_EQ(spis.Count(), 3);
    EXPECT_EQ(&spis.Items(1).Class(), &TXnSPI::StaticClass());
    EXPECT_EQ(ExtensionsAfterBuiltIns(host.formats), (std::vector<std::string>{"pic", "pi2", "pi1"}));
    EXPECT_EQ(host.formats.Entries()[6].description, "PI");
    EXPECT_EQ(host.formats.FindExt("pi1"), &TSPIBitmap::StaticClass());

    // Registrations outlive the manager's plug-ins.
    spis.Clear();
    EXPECT_EQ(host.formats.FindExt("pic"), &TSPIBitmap::StaticClass());
    EXPECT_EQ(host.modules.AllReferences(), 0);
}

TEST_F(SpiTest, RegisterHookChoiceCarriesToTheEarlierPiecesOfOneEntry) {
    FakePlugin a = Plugin("00IN", {{"*.pi1;*.pi2;*.pi3", "PI"}, {"*.pic", "PIC"}});
    host.modules.Install("a.spi", a);
    TSPIs spis(host.Ports(), kApp);
    std::vector<std::string> asked;
    spis.OnPictureRegister = [&](TSPIs&, TInSPI&, const std::string& extension, const std::string&,
                                 const PictureClass*& graphicClass) {
        asked.push_back(extension);
        if (extension == "pi2") graphicClass = nullptr;
    };
    spis.Add(CreatePlugin(host.PluginPorts(), "a.spi"));
    EXPECT_EQ(asked, (std::vector<std::string>{"pi3", "pi2", "pi1", "pic"}));
    EXPECT_EQ(ExtensionsAfterBuiltIns(host.formats), (std::vector<std::string>{"pi3", "pic"}));

    // Without a default class nothing registers.
    SetSPIDefaultGraphicClass(nullptr);
    spis.OnPictureRegister = nullptr;
    spis.Add(CreatePlugin(host.PluginPorts(), "a.spi"));
    EXPECT_EQ(ExtensionsAfterBuiltIns(host.formats).size(), 2u);
}

TEST_F(SpiTest, CandidatesNamingTheExtensionComeFirstLastAddedFirst) {
    FakePlugin a = Plugin("00IN", {{"*.pic", "A"}}), b = Plugin("00IN", {{"*.xyz", "B"}}),
               c = Plugin("00IN", {{"*.pic", "C"}}), d = Plugin("00IN", {{"*.pic;*.pi2", "D"}}),
               am = Plugin("00AM", {{"*.pic", "AM"}});
    for (auto [name, plugin] : std::vector<std::pair<const char*, FakePlugin*>>{{"a", &a}, {"b", &b}, {"am", &am}, {"c", &c}, {"d", &d}})
        host.modules.Install(name, *plugin);
    TSPIs spis(host.Ports(), kApp);
    for (const char* name : {"a", "b", "am", "c", "d"}) spis.Add(CreatePlugin(host.PluginPorts(), name));

    const auto candidates = [&](const std::string& fileName) {
        std::vector<TSPI*> list;
        spis.GetCandidates({&TInSPI::StaticClass()}, list, fileName);
        std::string names;
        for (TSPI* plugin : list) names += plugin->FileName();
        return names;
    };
    // d names .pic only in front of its last piece, so it counts as not naming it.
    EXPECT_EQ(candidates("C:\\pics\\photo.PIC"), "cabd");
    EXPECT_EQ(candidates("photo.pi2"), "dabc");
    EXPECT_EQ(candidates("C:\\pics.pic\\photo"), "abcd");
    std::vector<TSPI*> loaders{nullptr};
    spis.GetCandidates({&TLoaderSPI::StaticClass()}, loaders, "x.pic");
    EXPECT_EQ(loaders.size(), 6u);
    EXPECT_EQ(loaders.back(), &spis.Items(4));  // appended after what the list held
}

TEST_F(SpiTest, SearchSkipsWhatItCannotUseAndLoadsNothingTwice) {
    FakePlugin a = Plugin("00IN", {{"*.pic", "A"}}), b = Plugin("00IN", {{"*.pib", "B"}});
    host.AddLibrary(kApp, "a.spi", a);
    host.files.AddFile(kApp, "x.spi");                                    // not a library
    host.files.folders[kApp].push_back({"sub.spi", true, false});         // a folder
    host.files.folders[kApp].push_back({"hidden.spi", false, true});      // hidden
    host.AddLibrary(kApp, "b.spi", b);
    TSPIs spis(host.Ports(), "C:\\app");  // a trailing separator is added
    spis.Search("*.spi");
    ASSERT_EQ(spis.Count(), 2);
    EXPECT_EQ(spis.Items(1).FileName(), "C:\\app\\b.spi");
    EXPECT_EQ(host.modules.loads.count("C:\\app\\sub.spi") + host.modules.loads.count("C:\\app\\hidden.spi"), 0u);
    EXPECT_EQ(spis.IndexOfFileName("c:\\APP\\B.SPI"), 1);

    spis.Search("*.spi");
    EXPECT_EQ(spis.Count(), 2);
    EXPECT_EQ(host.modules.loads["C:\\app\\a.spi"], 2);  // from the first search only
    EXPECT_EQ(host.modules.loads["C:\\app\\x.spi"], 2);  // a non-library is tried again, quietly
}

TEST_F(SpiTest, MissingRequiredFunctionEndsTheSearchKeepingEarlierPlugins) {
    FakePlugin a = Plugin("00IN"), b = Plugin("00IN"), c = Plugin("00IN");
    b.missing = {"GetPicture"};
    host.AddLibrary(kApp, "a.spi", a);
    host.AddLibrary(kApp, "b.spi", b);
    host.AddLibrary(kApp, "c.spi", c);
    TSPIs spis(host.Ports(), kApp);
    try {
        spis.Loaded();
        FAIL();
    } catch (const ESPIInvalidAPI& e) {
        EXPECT_STREQ(e.what(), "GetPictureは[C:\\app\\b.spi]では使えないSusie Plugin APIです");
    }
    ASSERT_EQ(spis.Count(), 1);
    EXPECT_EQ(host.modules.loads.count("C:\\app\\c.spi"), 0u);
    EXPECT_EQ(host.modules.References("C:\\app\\b.spi"), 0);
}

TEST_F(SpiTest, LibraryFaultingWhileItIntroducesItselfIsPassedOverAndStaysLoaded) {
    FakePlugin a = Plugin("00IN", {{"*.pic", "A"}}), b = Plugin("00IN"), c = Plugin("00IN", {{"*.pic", "C"}});
    b.faults = {"GetPluginInfo"};
    host.AddLibrary(kApp, "a.spi", a);
    host.AddLibrary(kApp, "b.spi", b);
    host.AddLibrary(kApp, "c.spi", c);
    TSPIs spis(host.Ports(), kApp);
    spis.Loaded();
    ASSERT_EQ(spis.Count(), 2);
    EXPECT_EQ(spis.Items(1).FileName(), "C:\\app\\c.spi");
    // The first call faulted and none followed; the library is never unloaded.
    EXPECT_EQ(b.infoLengths.size(), 1u);
    EXPECT_EQ(host.modules.References("C:\\app\\b.spi"), 1);
    EXPECT_EQ(CreatePlugin(host.PluginPorts(), "C:\\app\\b.spi"), nullptr);
    EXPECT_EQ(b.infoLengths.size(), 2u);
}

TEST_F(SpiTest, FoldersSearchedFollowTheOptions) {
    FakePlugin s = Plugin("00IN"), w = Plugin("00IN"), r = Plugin("00IN");
    host.AddLibrary("C:\\WINDOWS\\SYSTEM32\\", "s.spi", s);
    host.AddLibrary("C:\\WINDOWS\\", "w.spi", w);
    host.AddLibrary("D:\\susie\\", "r.spi", r);
    const std::string key = "Software\\Takechin\\Susie\\Plug-in";
    {
        TSPIs spis(host.Ports(), kApp);
        spis.Loaded();
        EXPECT_EQ(spis.Count(), 0);
        EXPECT_EQ(host.files.listed, (std::vector<std::string>{kApp + "*.spi"}));
        EXPECT_TRUE(host.registry.createdKeys.empty());
        EXPECT_FALSE(host.registry.HasKey(RegRoot::CurrentUser, key));
    }
    host.files.listed.clear();
    host.registry.Put(RegRoot::CurrentUser, key, "Path", {RegValue::Type::String, "D:\\susie", 0});
    TSPIs spis(host.Ports(), kApp);
    spis.SearchOptions = {TSPISearchOption::spsWindowsDir, TSPISearchOption::spsSystemDir,
                          TSPISearchOption::spsCurrentDir, TSPISearchOption::spsSusieDir};
    spis.Loaded();
    EXPECT_EQ(host.files.listed, (std::vector<std::string>{"D:\\susie\\*.spi", "C:\\work\\*.spi",
                                                           "C:\\WINDOWS\\SYSTEM32\\*.spi", "C:\\WINDOWS\\*.spi"}));
    EXPECT_EQ(spis.Count(), 3);
    EXPECT_TRUE(host.registry.createdKeys.empty());

    // An unreadable value, and a mask naming its folder, search that folder alone.
    host.files.listed.clear();
    host.registry.failReads = true;
    spis.SearchOptions = {TSPISearchOption::spsSusieDir};
    spis.Search("*.spi");
    spis.Search("E:\\more\\*.spi");
    EXPECT_EQ(host.files.listed, (std::vector<std::string>{"E:\\more\\*.spi"}));
}

TEST_F(SpiTest, SearchHooksRefuseOrFailOnePluginAndTheSearchGoesOn) {
    FakePlugin a = Plugin("00IN"), b = Plugin("00IN"), c = Plugin("00IN"), d = Plugin("00IN", {{"*.pid", "D"}});
    host.AddLibrary(kApp, "a.spi", a);
    host.AddLibrary(kApp, "b.spi", b);
    host.AddLibrary(kApp, "c.spi", c);
    host.AddLibrary(kApp, "d.spi", d);
    TSPIs spis(host.Ports(), kApp);
    spis.OnSearching = [](TSPIs&, const std::string& path, bool& accept) { accept = path != kApp + "a.spi"; };
    spis.OnSearch = [](TSPIs&, TSPI& plugin, bool& accept) {
        if (plugin.FileName() == kApp + "c.spi") throw Error("refused loudly");
        accept = plugin.FileName() != kApp + "b.spi";
    };
    spis.OnPictureRegister = [](TSPIs&, TInSPI&, const std::string&, const std::string&, const PictureClass*&) {
        throw Error("cannot register");
    };
    spis.Loaded();
    EXPECT_EQ(spis.Count(), 0);
    EXPECT_EQ(host.modules.loads.count(kApp + "a.spi"), 0u);
    EXPECT_EQ(host.modules.AllReferences(), 0);

    // Added directly, the registration error reaches the caller and the plug-in is not kept.
    EXPECT_THROW(spis.Add(CreatePlugin(host.PluginPorts(), kApp + "d.spi")), Error);
    EXPECT_EQ(spis.Count(), 0);
    EXPECT_EQ(host.modules.AllReferences(), 0);
}

}  // namespace
}  // namespace kembo
