// The plug-in helper's logic end to end, natively: the program's broker and the helper's server
// joined by in-memory pipes, the helper a thread over fake plug-ins. A helper "ends" when its
// pipes close; a plug-in that hangs blocks its thread until the test lets it go.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "fake_plugin_ports.h"
#include "loading/plugin_executor.h"
#include "loading/plugin_helper_client.h"
#include "loading/plugin_helper_server.h"
#include "loading/spi_bitmap.h"
#include "loading/spis.h"

namespace kembo {
namespace {

using test::FakePlugin;
using Bytes = std::vector<uint8_t>;
using Wait = HelperConnection::Wait;

// Plug-ins that never return wait here until the test ends.
struct Hangs {
    std::mutex mutex;
    std::condition_variable released;
    bool open = false;
    void Hang() {
        std::unique_lock lock(mutex);
        released.wait(lock, [this] { return open; });
    }
    void Release() {
        std::lock_guard lock(mutex);
        open = true;
        released.notify_all();
    }
};

// One direction of a pipe.
class Channel {
public:
    bool Put(std::span<const uint8_t> bytes) {
        std::lock_guard lock(mutex_);
        if (closed_) return false;
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
        changed_.notify_all();
        return true;
    }
    // Waits for exactly out.size() bytes, for ever when timeout is 0.
    Wait Take(std::span<uint8_t> out, uint32_t timeoutMs) {
        std::unique_lock lock(mutex_);
        const auto ready = [&] { return bytes_.size() >= out.size() || closed_; };
        // An ended helper takes nothing more, as a process that is gone.
        if (timeoutMs == 0) {
            changed_.wait(lock, ready);
        } else if (!changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready)) {
            return Wait::timedOut;
        }
        if (closed_ || bytes_.size() < out.size()) return Wait::broken;
        std::copy_n(bytes_.begin(), out.size(), out.begin());
        bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(out.size()));
        return Wait::done;
    }
    bool Closed() {
        std::lock_guard lock(mutex_);
        return closed_;
    }
    void Close() {
        std::lock_guard lock(mutex_);
        closed_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<uint8_t> bytes_;
    bool closed_ = false;
};

// Shared blocks by handle, as both sides see them; a view keeps its block, as a mapped view does.
struct Blocks {
    std::mutex mutex;
    std::map<uint32_t, std::shared_ptr<Bytes>> byHandle;
    uint32_t next = 1;
};

class FakeHelper;
thread_local FakeHelper* runningHelper = nullptr;

class FakeHelper : public HelperServerPort {
public:
    FakeHelper(const SpiPorts& ports, Blocks& blocks) : executor_(ports), blocks_(blocks) {
        thread_ = std::thread([this] {
            runningHelper = this;
            ServePlugins(*this, executor_);
        });
    }
    ~FakeHelper() override {
        End();
        thread_.join();
    }
    // As the process ending: both pipes break.
    void End() {
        toHelper.Close();
        toProgram.Close();
    }
    bool Read(std::span<uint8_t> bytes) override { return toHelper.Take(bytes, 0) == Wait::done; }
    bool Write(std::span<const uint8_t> bytes) override { return toProgram.Put(bytes); }
    std::unique_ptr<MappedBlock> Map(uint32_t handle, uint32_t size, bool keep) override {
        kept = keep;
        struct View : MappedBlock {
            std::shared_ptr<std::vector<uint8_t>> block;
            std::span<uint8_t> bytes;
            std::span<uint8_t> Bytes() override { return bytes; }
        };
        std::lock_guard lock(blocks_.mutex);
        const auto found = blocks_.byHandle.find(handle);
        if (found == blocks_.byHandle.end() || found->second->size() < size) return nullptr;
        auto view = std::make_unique<View>();
        view->block = found->second;
        view->bytes = std::span(*view->block).first(size);
        return view;
    }

    Channel toHelper;
    Channel toProgram;
    std::atomic<bool> kept = false;  // whether the last view asked for could be kept

private:
    PluginExecutor executor_;
    Blocks& blocks_;
    std::thread thread_;
};

class FakePort : public HelperPort {
public:
    FakePort(const SpiPorts& ports, Hangs& hangs) : ports_(ports), hangs_(hangs) {}
    ~FakePort() override {
        hangs_.Release();
        helpers_.clear();
    }
    std::unique_ptr<HelperConnection> Start() override;
    std::optional<Bytes> ReadCache() override { return cache; }
    void WriteCache(std::span<const uint8_t> bytes) override { cache = Bytes(bytes.begin(), bytes.end()); }

    void EndAll() {
        for (const auto& helper : helpers_) helper->End();
    }
    bool LastKept() const { return helpers_.back()->kept; }

    int starts = 0;
    int running = 0;
    int shares = 0;  // blocks made
    int handedOver = 0;  // blocks taken out of the helper's reach
    std::optional<Bytes> cache;
    // Runs while the program waits for an answer, as the window's messages do.
    std::function<Wait()> whileWaiting;

private:
    friend class FakeConnection;
    SpiPorts ports_;
    Hangs& hangs_;
    Blocks blocks_;
    std::vector<std::unique_ptr<FakeHelper>> helpers_;
};

class FakeConnection : public HelperConnection {
public:
    FakeConnection(FakePort& port, FakeHelper& helper) : port_(port), helper_(helper) { ++port_.running; }
    ~FakeConnection() override {
        helper_.End();
        --port_.running;
    }
    Wait Write(std::span<const uint8_t> bytes, uint32_t) override {
        return helper_.toHelper.Put(bytes) ? Wait::done : Wait::broken;
    }
    Wait Read(std::span<uint8_t> bytes, uint32_t timeoutMs) override {
        if (port_.whileWaiting) {
            const Wait wait = port_.whileWaiting();
            if (wait != Wait::done) return wait;
        }
        return helper_.toProgram.Take(bytes, timeoutMs);
    }
    bool Alive() override { return !helper_.toHelper.Closed(); }
    std::unique_ptr<SharedBlock> Share(std::size_t size) override {
        struct Block : SharedBlock {
            Blocks* blocks;
            uint32_t handle;
            std::shared_ptr<std::vector<uint8_t>> store = std::make_shared<std::vector<uint8_t>>();
            ~Block() override {
                std::lock_guard lock(blocks->mutex);
                blocks->byHandle.erase(handle);
            }
            void LetHelperGo() override {
                ++*handedOver;
                std::lock_guard lock(blocks->mutex);
                blocks->byHandle.erase(handle);
            }
            int* handedOver;
            std::span<uint8_t> Bytes() override { return *store; }
            uint32_t HelperHandle() const override { return handle; }
        };
        ++port_.shares;
        auto block = std::make_unique<Block>();
        block->blocks = &port_.blocks_;
        block->handedOver = &port_.handedOver;
        block->store->assign(size, 0);
        std::lock_guard lock(port_.blocks_.mutex);
        block->handle = port_.blocks_.next++;
        port_.blocks_.byHandle[block->handle] = block->store;
        return block;
    }

private:
    FakePort& port_;
    FakeHelper& helper_;
};

std::unique_ptr<HelperConnection> FakePort::Start() {
    ++starts;
    helpers_.push_back(std::make_unique<FakeHelper>(ports_, blocks_));
    return std::make_unique<FakeConnection>(*this, *helpers_.back());
}

Bytes InfoHeader(int32_t width, int32_t height) {
    Bytes h(40, 0);
    const uint32_t size = 40;
    const uint16_t planes = 1, bits = 24;
    std::memcpy(&h[0], &size, 4);
    std::memcpy(&h[4], &width, 4);
    std::memcpy(&h[8], &height, 4);
    std::memcpy(&h[12], &planes, 2);
    std::memcpy(&h[14], &bits, 2);
    return h;
}

// Two rows of two pixels, bottom-up: blue, green / red, white.
const Bytes kPixels = {255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0};
const Bytes kGood = {'G', 'O', 'O', 'D'};
const Bytes kBad = {'B', 'A', 'D', '!'};
constexpr const char* kFolder = "C:\\plugins\\";

class PluginHelperTest : public ::testing::Test {
protected:
    PluginHelperTest() {
        StartSPIBitmap();
        good.formats = {{"*.pic", "PIC"}};
        good.isSupported = [](const char*, const uint8_t* data) { return data[0] == 'G' ? 1 : 0; };
        Returns(good, InfoHeader(2, 2), kPixels);
        host.AddLibrary(kFolder, "good.spi", good);
        Restart();
    }
    ~PluginHelperTest() override {
        spis.reset();
        SetSPIDefaultGraphicClass(nullptr);
    }

    // A new run: a new broker and manager, the cache kept.
    void Restart() {
        spis.reset();
        broker = std::make_unique<HelperPluginBroker>(port, host.files, host.PluginPorts(), "");
        broker->SetTimeout(300);
        SpiHostPorts ports = host.Ports();
        ports.broker = broker.get();
        spis = std::make_unique<TSPIs>(ports, "C:\\app\\");
    }
    // A plug-in claiming *.bad, alone in a folder of its own.
    FakePlugin& NewBad() {
        FakePlugin& plugin = bads.emplace_back();
        plugin.formats = {{"*.bad", "BAD"}};
        badFolder = "C:\\bad" + std::to_string(bads.size()) + "\\";
        host.AddLibrary(badFolder, "bad.spi", plugin);
        return plugin;
    }
    void Returns(FakePlugin& plugin, Bytes header, Bytes pixels) {
        plugin.getPicture = [this, header, pixels](const uint8_t*, int32_t, void** h, void** p, SpiProgressCallback,
                                                   intptr_t) {
            *h = host.memory.Alloc(header);
            *p = host.memory.Alloc(pixels);
            return 0;
        };
    }
    void Search() {
        if (!badFolder.empty()) spis->Search(badFolder + "*.spi");
        spis->Search(std::string(kFolder) + "*.spi");
    }
    TSPI* Plugin(const std::string& path) {
        const int index = spis->IndexOfFileName(path);
        return index < 0 ? nullptr : &spis->Items(index);
    }
    TSPI* Bad() { return Plugin(badFolder + "bad.spi"); }
    TSPI* Good() { return Plugin(std::string(kFolder) + "good.spi"); }
    // Reads the data as a file of that extension would be read; false when it cannot be.
    bool Read(const Bytes& data, const std::string& extension) {
        TSPIBitmap picture(host.files);
        try {
            picture.LoadFromStreamWithName(data, "C:\\pics\\x" + extension);
        } catch (const PictureError&) {
            return false;
        }
        return picture.Width() == 2 && picture.Height() == 2 && picture.Pixels().Pixel(0, 0) == Bgr{0, 0, 255};
    }
    int32_t Hang() {
        hangs.Hang();
        return 0;
    }

    Hangs hangs;
    std::deque<FakePlugin> bads;
    std::string badFolder;
    FakePlugin good;
    test::FakePluginHost host;
    FakePort port{host.PluginPorts(), hangs};
    std::unique_ptr<HelperPluginBroker> broker;
    std::unique_ptr<TSPIs> spis;
};

TEST_F(PluginHelperTest, PluginsDescribedAndReadInTheHelperWithEveryHandleFreed) {
    Search();
    ASSERT_EQ(spis->Count(), 1);
    EXPECT_TRUE(Good()->Hosted());
    EXPECT_EQ(Good()->Patterns(), std::vector<std::string>{"*.pic"});
    // Alone, each reading makes its two blocks (the file's, the pixels') and gives them back.
    EXPECT_TRUE(Read(kGood, ".pic"));
    EXPECT_TRUE(Read(kGood, ".pic"));
    EXPECT_EQ(port.shares, 4);
    EXPECT_FALSE(port.LastKept());
    // In a slideshow they are kept for the next reading, but for a file too large for its block
    // and a small one after it.
    broker->SetReadingsFollow(true);
    EXPECT_TRUE(Read(kGood, ".pic"));
    EXPECT_TRUE(Read(kGood, ".pic"));
    EXPECT_EQ(port.shares, 6);
    EXPECT_TRUE(port.LastKept());
    EXPECT_TRUE(Read(Bytes(5000, 'G'), ".pic"));
    EXPECT_TRUE(Read(kGood, ".pic"));
    EXPECT_EQ(port.shares, 8);
    // When the slideshow ends, the helper that kept its views of them goes too.
    broker->SetReadingsFollow(false);
    EXPECT_EQ(port.running, 0);
    EXPECT_EQ(port.starts, 1);
    EXPECT_EQ(host.memory.Freed(), host.memory.Allocated());
    EXPECT_EQ(host.memory.OpenLocks(), 0);
}

// A picture read alone keeps its pixels in the block they came in, out of the helper's reach, and
// keeps them after the helper has gone; in a slideshow the block stays for the next reading.
TEST_F(PluginHelperTest, APictureAloneKeepsItsPixelBlockPastTheHelper) {
    Search();
    broker->SetReadingsFollow(true);
    EXPECT_TRUE(Read(kGood, ".pic"));
    EXPECT_EQ(port.handedOver, 0);
    broker->SetReadingsFollow(false);
    TSPIBitmap picture(host.files);
    picture.LoadFromStreamWithName(kGood, "C:\\pics\\x.pic");
    EXPECT_EQ(port.handedOver, 1);
    spis.reset();
    broker.reset();
    EXPECT_EQ(port.running, 0);
    const PixelBuffer& pixels = picture.Pixels();
    EXPECT_EQ((std::vector{pixels.Pixel(0, 0), pixels.Pixel(1, 0), pixels.Pixel(0, 1), pixels.Pixel(1, 1)}),
              (std::vector<Bgr>{{0, 0, 255}, {255, 255, 255}, {255, 0, 0}, {0, 255, 0}}));
}

// Whatever one plug-in does, it costs its file only: the next file of another type reads, and a
// plug-in that hung or took its helper down is asked nothing more.
TEST_F(PluginHelperTest, EachMisbehaviourCostsItsFileOnly) {
    struct Case {
        const char* what;
        std::function<void(FakePlugin&)> misbehave;
        bool faulty;
        int starts;  // helpers started for the case
    };
    const Case cases[] = {
        {"hangs in IsSupported", [this](FakePlugin& p) { p.isSupported = [this](const char*, const uint8_t*) { return Hang(); }; },
         true, 2},
        {"hangs in GetPictureInfo",
         [this](FakePlugin& p) { p.getPictureInfo = [this](const uint8_t*, int32_t, SpiPictureInfo*) { return Hang(); }; },
         true, 2},
        {"hangs in GetPicture",
         [this](FakePlugin& p) {
             p.getPicture = [this](const uint8_t*, int32_t, void**, void**, SpiProgressCallback, intptr_t) { return Hang(); };
         },
         true, 2},
        {"ends its process",
         [this](FakePlugin& p) {
             p.getPicture = [this](const uint8_t*, int32_t, void**, void**, SpiProgressCallback, intptr_t) {
                 runningHelper->End();
                 return Hang();
             };
         },
         true, 2},
        {"faults (contained in the helper)", [](FakePlugin& p) { p.faults = {"GetPicture"}; }, true, 1},
        {"claims 100000 x 100000", [this](FakePlugin& p) { Returns(p, InfoHeader(100000, 100000), kPixels); }, false, 1},
        {"claims more rows than it has", [this](FakePlugin& p) { Returns(p, InfoHeader(4000, 3000), kPixels); }, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.misbehave(NewBad());
        port.cache.reset();
        port.starts = 0;
        Restart();
        Search();
        ASSERT_NE(Bad(), nullptr);
        EXPECT_FALSE(Read(kBad, ".bad"));
        EXPECT_EQ(Bad()->Faulty(), c.faulty);
        EXPECT_TRUE(Read(kGood, ".pic"));
        EXPECT_EQ(port.starts, c.starts);
        EXPECT_EQ(port.running, 1);
    }
}

TEST_F(PluginHelperTest, APluginThatHangsDescribingItselfIsPassedOver) {
    NewBad().pluginInfoHook = [this] { Hang(); };
    Search();
    EXPECT_EQ(Bad(), nullptr);
    EXPECT_NE(Good(), nullptr);
    EXPECT_EQ(port.starts, 2);
}

// A start asks only the libraries it has not met; a library changed since is asked again.
TEST_F(PluginHelperTest, DescriptionsComeFromTheCacheWithoutStartingAHelper) {
    NewBad();
    Search();
    ASSERT_TRUE(port.cache);
    port.starts = 0;
    Restart();
    Search();
    EXPECT_EQ(spis->Count(), 2);
    EXPECT_EQ(port.starts, 0);
    EXPECT_TRUE(Read(kGood, ".pic"));
    EXPECT_EQ(port.starts, 1);

    host.files.writeTimes[std::string(kFolder) + "good.spi"] = 7;
    Restart();
    EXPECT_EQ(broker->Describe(badFolder + "bad.spi").outcome, DescribeOutcome::described);
    EXPECT_FALSE(broker->Running());
    EXPECT_EQ(broker->Describe(std::string(kFolder) + "good.spi").outcome, DescribeOutcome::described);
    EXPECT_TRUE(broker->Running());
    port.cache = Bytes{'K', 'S', 'P', 'I', 'C', 'A', 'C', '1', 9};  // damaged: as good as none
    Restart();
    EXPECT_EQ(broker->Describe(std::string(kFolder) + "good.spi").outcome, DescribeOutcome::described);
    EXPECT_TRUE(broker->Running());
}

// A helper ended from outside while it waited for work costs nothing: the next call starts a
// fresh one and no plug-in is blamed.
TEST_F(PluginHelperTest, AHelperEndedWhileIdleIsReplacedWithoutBlame) {
    Search();
    EXPECT_TRUE(Read(kGood, ".pic"));
    port.EndAll();
    EXPECT_TRUE(Read(kGood, ".pic"));
    EXPECT_FALSE(Good()->Faulty());
    EXPECT_EQ(port.starts, 2);
}

// While the program waits, the window's handlers run: a second reading is refused, and the
// program told to end ends the helper and every call after.
TEST_F(PluginHelperTest, NoSecondCallWhileOneRunsAndEndingEndsTheHelper) {
    Search();
    bool refused = false;
    port.whileWaiting = [&] {
        port.whileWaiting = nullptr;
        try {
            Read(kGood, ".pic");
        } catch (const Abort&) {
            refused = true;
        }
        return Wait::done;
    };
    EXPECT_TRUE(Read(kGood, ".pic"));
    EXPECT_TRUE(refused);
    port.whileWaiting = [] { return Wait::quit; };
    EXPECT_THROW(Read(kGood, ".pic"), Abort);
    EXPECT_EQ(port.running, 0);
    port.whileWaiting = nullptr;
    EXPECT_THROW(Read(kGood, ".pic"), Abort);
    EXPECT_EQ(port.running, 0);
}

}  // namespace
}  // namespace kembo
