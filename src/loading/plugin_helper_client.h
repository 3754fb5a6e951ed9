#pragma once
// The program's side of the plug-in helper: starts it when a plug-in must be asked, sends it one
// request at a time and waits for the answer no longer than the time limit (the window keeps
// answering meanwhile: the port's waits do that). A helper that is late, breaks the channel or
// says anything malformed is ended, and its plug-in marked faulty; the next call starts a fresh
// one. What the libraries say about themselves is kept in a cache keyed by each library's path,
// size and time, so that a start asks only libraries it has not met.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "loading/file_system.h"
#include "loading/plugin_broker.h"
#include "loading/plugin_executor.h"

namespace kembo {

// A block of shared memory the program made, mapped here and handed to the helper.
class SharedBlock {
public:
    virtual ~SharedBlock() = default;
    virtual std::span<uint8_t> Bytes() = 0;
    // The block's handle in the helper's process.
    virtual uint32_t HelperHandle() const = 0;
    // Closes that handle, while the helper runs: the block may then outlive it.
    virtual void LetHelperGo() = 0;
};

// One running helper. Destroying it ends the helper at once.
class HelperConnection {
public:
    enum class Wait { done, timedOut, broken, quit };
    virtual ~HelperConnection() = default;
    // Each waits at most timeoutMs; quit when the program was told to end meanwhile (the
    // request to end stays for the program's own loop).
    virtual Wait Write(std::span<const uint8_t> bytes, uint32_t timeoutMs) = 0;
    virtual Wait Read(std::span<uint8_t> bytes, uint32_t timeoutMs) = 0;
    // A zero-filled block of size bytes; null when none can be made.
    virtual std::unique_ptr<SharedBlock> Share(std::size_t size) = 0;
    // False once the helper has gone (ended from outside while it waited for work, say).
    virtual bool Alive() = 0;
};

class HelperPort {
public:
    virtual ~HelperPort() = default;
    // Null when the helper cannot be started.
    virtual std::unique_ptr<HelperConnection> Start() = 0;
    // The description cache file; nothing when there is none. Writing may fail silently.
    virtual std::optional<std::vector<uint8_t>> ReadCache() = 0;
    virtual void WriteCache(std::span<const uint8_t> bytes) = 0;
};

class HelperPluginBroker : public PluginBroker {
public:
    static constexpr uint32_t kDefaultTimeoutMs = 10000;
    // Larger blocks are made for one reading each.
    static constexpr std::size_t kMaxKeptBlock = 128u << 20;

    // local: the ports for libraries loaded in this process (broker null); trustedPlugin: the
    // path of the one library that is (ASCII letters in any case), "" for none.
    HelperPluginBroker(HelperPort& port, FileSystem& files, const SpiPorts& local, std::string trustedPlugin);
    ~HelperPluginBroker() override;

    void SetTimeout(uint32_t timeoutMs) override { timeoutMs_ = timeoutMs; }
    void SetReadingsFollow(bool follow) override;
    // Whether a call is under way (the window's handlers may run meanwhile).
    bool Busy() const { return busy_; }
    // Whether a helper runs now.
    bool Running() const { return connection_ != nullptr; }

    const PluginDescription& Describe(const std::string& path) override;
    // Throws PictureError when the helper had to be ended: the file is then unreadable. Throws
    // Abort when the program is told to end meanwhile, or is called while a call is under way:
    // no second call starts then, and the reading it was for is abandoned.
    bool Read(TSPI& plugin, const std::string& name, std::span<const uint8_t> data, bool headerRetry,
              const PictureTake& take) override;

private:
    struct Received {
        HelperConnection::Wait wait;
        std::optional<Reply> reply;
    };
    bool Trusted(const std::string& path) const;
    std::optional<PluginDescription> AskHelper(const std::string& path);
    ReadOutcome ReadByHelper(const std::string& path, const std::string& name, std::span<const uint8_t> data,
                             bool headerRetry, const PictureTake& take, bool& helperEnded);
    // The running helper, started when there is none (or the one there was has gone: no
    // plug-in is to blame for that); null when it cannot start.
    HelperConnection* Helper();
    // A block of at least size bytes for the running helper: the one kept from the last reading
    // when it is large enough and at most twice too large, else a new one (null when none can
    // be made). Fresh shared memory is slow to touch, so a slideshow of like pictures reuses
    // its two blocks; a very large block is not kept past the next reading.
    SharedBlock* Block(std::shared_ptr<SharedBlock>& kept, std::size_t size);
    // Hands the picture read to take. A picture alone gets its pixel block to keep: one that keeps
    // its pixels there (most do) leaves the block the broker's no more. In a slideshow the block
    // stays for the next reading (its memory is already mapped on both sides), so the picture
    // copies from it.
    bool Take(const PictureTake& take, const PictureReady& ready);
    // Gives back the blocks kept for the next reading. A helper told to keep its views of them
    // would hold them as long as it runs: it is ended (it is idle: no call is under way).
    void LetGoOfBlocks();
    void DropHelper();
    HelperConnection::Wait Send(const Request& request);
    Received Receive();
    // Ends the helper; after quit, every further call is refused with Abort.
    void EndHelper(HelperConnection::Wait why);
    void LoadCache();
    void SaveCache();

    HelperPort& port_;
    FileSystem& files_;
    PluginExecutor local_;
    std::string trustedPlugin_;
    uint32_t timeoutMs_ = kDefaultTimeoutMs;
    std::unique_ptr<HelperConnection> connection_;
    // The blocks of the last reading (the file's bytes, the picture's pixels), kept for the next
    // while readings follow one another.
    std::shared_ptr<SharedBlock> dataBlock_;
    std::shared_ptr<SharedBlock> pixelBlock_;
    bool readingsFollow_ = false;
    bool helperKeeps_ = false;  // the running helper was told to keep its views of them
    bool busy_ = false;
    bool ending_ = false;
    // What each library said this run, by path, and the cache from earlier runs.
    std::map<std::string, PluginDescription> described_;
    std::map<std::string, CachedDescription> cache_;
    std::vector<CachedDescription> stamped_;  // this run's, written back
    bool cacheLoaded_ = false;
};

}  // namespace kembo
