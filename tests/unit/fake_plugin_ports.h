#pragma once
// Stand-ins for the plug-in ports: a module loader whose "libraries" are tables of fake plug-in
// functions, local memory that keeps count of every lock and free (blocks allocated exactly to
// size, so the sanitizer sees any read beyond one), an identity code page and fixed folders.
#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "fake_file_system.h"
#include "fake_ports.h"
#include "loading/picture_formats.h"
#include "loading/plugin_ports.h"
#include "loading/spis.h"

namespace kembo::test {

// One fake plug-in library: what it tells and how its picture functions answer.
struct FakePlugin {
    std::string type = "00IN";
    std::string info = "fake plug-in";
    std::vector<std::pair<std::string, std::string>> formats;  // pattern, description
    std::set<std::string> missing;                              // exports the library lacks
    std::set<std::string> faults;                               // exports that fault when called
    std::function<void()> pluginInfoHook;                       // runs in each GetPluginInfo
    // Unset: IsSupported says yes, GetPictureInfo and GetPicture fail.
    std::function<int32_t(const char* name, const uint8_t* data)> isSupported;
    std::function<int32_t(const uint8_t* data, int32_t length, SpiPictureInfo* info)> getPictureInfo;
    std::function<int32_t(const uint8_t* data, int32_t length, void** header, void** pixels,
                          SpiProgressCallback progress, intptr_t callerValue)>
        getPicture;

    // What the host did.
    std::vector<int32_t> infoLengths;       // buffer lengths given to GetPluginInfo
    std::vector<std::string> askedNames;    // names given to IsSupported
    std::vector<uint32_t> flags;            // flags of GetPictureInfo and GetPicture
};

namespace fake {

// Set by a fake export that "faults"; the fake loader's guard reports it as the real one would.
inline bool& Faulted() {
    static bool faulted = false;
    return faulted;
}

// Whether the export faults now; a faulting export's result is garbage the host must ignore.
inline bool Faults(const FakePlugin& p, const char* name) {
    if (!p.faults.count(name)) return false;
    Faulted() = true;
    return true;
}

inline int32_t PluginInfo(FakePlugin& p, int32_t n, char* buffer, int32_t length) {
    p.infoLengths.push_back(length);
    if (p.pluginInfoHook) p.pluginInfoHook();
    if (Faults(p, "GetPluginInfo")) return 4;
    std::string text;
    if (n == 0) {
        text = p.type;
    } else if (n == 1) {
        text = p.info;
    } else if (static_cast<std::size_t>((n - 2) / 2) < p.formats.size()) {
        const auto& format = p.formats[static_cast<std::size_t>((n - 2) / 2)];
        text = n % 2 == 0 ? format.first : format.second;
    }
    const auto count = static_cast<int32_t>(std::min<std::size_t>(text.size(), static_cast<std::size_t>(length)));
    std::memcpy(buffer, text.data(), static_cast<std::size_t>(count));
    if (count < length) buffer[count] = 0;
    return count;
}

// The exported functions of slot N forward to whichever FakePlugin occupies the slot.
template <std::size_t N>
struct Slot {
    static inline FakePlugin* plugin = nullptr;
    static int32_t SPI_CALL GetPluginInfo(int32_t n, char* buffer, int32_t length) {
        return PluginInfo(*plugin, n, buffer, length);
    }
    static int32_t SPI_CALL IsSupported(const char* name, const void* data) {
        plugin->askedNames.push_back(name);
        if (Faults(*plugin, "IsSupported")) return 1;
        return plugin->isSupported ? plugin->isSupported(name, static_cast<const uint8_t*>(data)) : 1;
    }
    static int32_t SPI_CALL GetPictureInfo(const void* data, int32_t length, uint32_t flag, SpiPictureInfo* info) {
        plugin->flags.push_back(flag);
        if (Faults(*plugin, "GetPictureInfo")) return 0;
        return plugin->getPictureInfo ? plugin->getPictureInfo(static_cast<const uint8_t*>(data), length, info) : 1;
    }
    static int32_t SPI_CALL GetPicture(const void* data, int32_t length, uint32_t flag, void** header, void** pixels,
                                       SpiProgressCallback progress, intptr_t callerValue) {
        plugin->flags.push_back(flag);
        if (Faults(*plugin, "GetPicture")) return 0;
        return plugin->getPicture
                   ? plugin->getPicture(static_cast<const uint8_t*>(data), length, header, pixels, progress, callerValue)
                   : 1;
    }
    static int32_t SPI_CALL Unused() { return 0; }
};

struct SlotTable {
    FakePlugin** plugin;
    std::map<std::string, void*> exports;
};

template <std::size_t N>
SlotTable MakeSlot() {
    using S = Slot<N>;
    const auto address = [](auto function) { return reinterpret_cast<void*>(function); };
    return {&S::plugin,
            {{"GetPluginInfo", address(&S::GetPluginInfo)},
             {"IsSupported", address(&S::IsSupported)},
             {"GetPictureInfo", address(&S::GetPictureInfo)},
             {"GetPicture", address(&S::GetPicture)},
             {"GetPreview", address(&S::Unused)},
             {"GetArchiveInfo", address(&S::Unused)},
             {"GetFileInfo", address(&S::Unused)},
             {"GetFile", address(&S::Unused)},
             {"ConfigurationDlg", address(&S::Unused)}}};
}

template <std::size_t... I>
std::array<SlotTable, sizeof...(I)> MakeSlots(std::index_sequence<I...>) {
    return {MakeSlot<I>()...};
}

inline std::array<SlotTable, 16>& Slots() {
    static std::array<SlotTable, 16> slots = MakeSlots(std::make_index_sequence<16>{});
    return slots;
}

}  // namespace fake

class FakeModuleLoader : public ModuleLoader {
public:
    // Makes path a library behaving as plugin (kept by reference). modulePath is what the system
    // reports as the module's path; by default the path itself.
    void Install(const std::string& path, FakePlugin& plugin, std::optional<std::string> modulePath = std::nullopt) {
        const std::size_t slot = paths_.size();
        *fake::Slots().at(slot).plugin = &plugin;
        paths_.push_back(path);
        libraries_[path] = Library{slot, modulePath.value_or(path), 0};
    }

    Module Load(const std::string& path) override {
        ++loads[path];
        const auto it = libraries_.find(path);
        if (it == libraries_.end()) return nullptr;
        ++it->second.references;
        return reinterpret_cast<Module>(it->second.slot + 1);
    }
    void* Resolve(Module module, const char* name) override {
        const fake::SlotTable& table = fake::Slots()[SlotOf(module)];
        if ((*table.plugin)->missing.count(name)) return nullptr;
        const auto it = table.exports.find(name);
        return it == table.exports.end() ? nullptr : it->second;
    }
    void Free(Module module) override { --LibraryOf(module).references; }
    std::string ModulePath(Module module) override { return LibraryOf(module).modulePath; }
    // Calls through; a call during which a fake export "faulted" reports the fault.
    bool CallGuarded(void (*call)(void*), void* context) override {
        ++guardedCalls;
        fake::Faulted() = false;
        call(context);
        return !std::exchange(fake::Faulted(), false);
    }

    int References(const std::string& path) const { return libraries_.at(path).references; }
    // References of every library together: 0 once everything loaded is freed again.
    int AllReferences() const {
        int total = 0;
        for (const auto& entry : libraries_) total += entry.second.references;
        return total;
    }
    std::map<std::string, int> loads;  // Load calls per path, libraries or not
    int guardedCalls = 0;

private:
    struct Library {
        std::size_t slot;
        std::string modulePath;
        int references;
    };
    static std::size_t SlotOf(Module module) { return reinterpret_cast<std::size_t>(module) - 1; }
    Library& LibraryOf(Module module) { return libraries_.at(paths_.at(SlotOf(module))); }

    std::vector<std::string> paths_;
    std::map<std::string, Library> libraries_;
};

class FakeLocalMemory : public LocalMemory {
public:
    bool failLock = false;
    int unknownCalls = 0;  // calls on handles never given out or already freed

    Handle Alloc(std::span<const uint8_t> bytes) {
        Block block{std::make_unique<uint8_t[]>(bytes.size()), bytes.size(), 0, false};
        std::copy(bytes.begin(), bytes.end(), block.data.get());
        blocks_.push_back(std::move(block));
        return reinterpret_cast<Handle>(blocks_.size());
    }
    Handle Alloc(const std::string& text) { return Alloc({reinterpret_cast<const uint8_t*>(text.data()), text.size()}); }

    void* Lock(Handle handle) override {
        Block* block = Find(handle);
        if (!block || failLock) return nullptr;
        ++block->locks;
        return block->data.get();
    }
    void Unlock(Handle handle) override {
        if (Block* block = Find(handle)) --block->locks;
    }
    std::size_t Size(Handle handle) override {
        const Block* block = Find(handle);
        return block ? block->size : 0;
    }
    void Free(Handle handle) override {
        if (Block* block = Find(handle)) block->freed = true;
    }

    int Allocated() const { return static_cast<int>(blocks_.size()); }
    int Freed() const {
        return static_cast<int>(std::count_if(blocks_.begin(), blocks_.end(), [](const Block& b) { return b.freed; }));
    }
    // Locks not yet undone, over all blocks.
    int OpenLocks() const {
        int total = 0;
        for (const Block& block : blocks_) total += block.locks;
        return total;
    }

private:
    struct Block {
        std::unique_ptr<uint8_t[]> data;
        std::size_t size;
        int locks;
        bool freed;
    };
    Block* Find(Handle handle) {
        const auto index = reinterpret_cast<std::size_t>(handle);
        if (index == 0 || index > blocks_.size() || blocks_[index - 1].freed) {
            ++unknownCalls;
            return nullptr;
        }
        return &blocks_[index - 1];
    }
    std::vector<Block> blocks_;
};

class IdentityAnsi : public AnsiCodec {
public:
    std::string ToAnsi(const std::string& utf8) override { return utf8; }
    std::string FromAnsi(const std::string& ansi) override { return ansi; }
};

class FakeSystemFolders : public SystemFolders {
public:
    std::string current = "C:\\work";
    std::string system = "C:\\WINDOWS\\SYSTEM32";
    std::string windows = "C:\\WINDOWS";
    std::string CurrentFolder() override { return current; }
    std::string SystemFolder() override { return system; }
    std::string WindowsFolder() override { return windows; }
};

// Every port the plug-in host needs, as fakes.
struct FakePluginHost {
    FakeModuleLoader modules;
    FakeLocalMemory memory;
    IdentityAnsi ansi;
    FakeFileSystem files;
    FakeRegistry registry;
    FakeSystemFolders folders;
    PictureFormats formats;

    SpiHostPorts Ports() { return {modules, memory, ansi, files, registry, folders, formats}; }
    SpiPorts PluginPorts() { return {modules, memory, ansi}; }
    // A library file in folder that the loader knows as plugin.
    void AddLibrary(const std::string& folder, const std::string& name, FakePlugin& plugin) {
        files.AddFile(folder, name);
        modules.Install(folder + name, plugin);
    }
};

}  // namespace kembo::test
