// KEMBOSPI.EXE, the plug-in helper: loads the outside plug-ins for KEMBO.EXE and makes their
// calls, so that a plug-in that faults or never returns costs this process, never the program.
// Started by the program with its end of a pipe and a handle of the program's process (both
// inherited, their values on the command line); it ends when the pipe breaks or the program
// goes away, and whatever kills it leaves nothing behind.
#include <windows.h>

#include <memory>
#include <span>
#include <utility>

#include "loading/plugin_executor.h"
#include "loading/plugin_helper_server.h"
#include "loading/plugin_messages.h"
#include "toolkit/handles_win.h"
#include "toolkit/optional_calls_win.h"
#include "toolkit/plugin_ports_win.h"
#include "toolkit/text_win.h"

namespace kembo {
namespace {

// A view of one request's block, let go of at its end.
class WinMappedBlock : public MappedBlock {
public:
    WinMappedBlock(void* view, std::size_t size) : view_(view), size_(size) {}
    ~WinMappedBlock() override { UnmapViewOfFile(view_); }
    WinMappedBlock(const WinMappedBlock&) = delete;
    WinMappedBlock& operator=(const WinMappedBlock&) = delete;
    std::span<uint8_t> Bytes() override { return {static_cast<uint8_t*>(view_), size_}; }

private:
    void* view_;
    std::size_t size_;
};

// A kept view lent out for one request.
class LentView : public MappedBlock {
public:
    explicit LentView(std::span<uint8_t> bytes) : bytes_(bytes) {}
    std::span<uint8_t> Bytes() override { return bytes_; }

private:
    std::span<uint8_t> bytes_;
};

// The views of the last two blocks the program named (its file block and its pixel block), kept
// mapped from one reading to the next while the program keeps the blocks: a fresh view is slow
// to touch. A handle's value is not enough to know a block again, as the program may close a
// handle it gave and give a new block the same value: the system is asked whether the handle
// names the object of the one kept. Where it cannot say, nothing is kept.
class KeptViews {
public:
    KeptViews() { ResolveCall(same_, GetModuleHandleW(L"kernelbase.dll"), "CompareObjectHandles"); }
    ~KeptViews() { Clear(); }
    KeptViews(const KeptViews&) = delete;
    KeptViews& operator=(const KeptViews&) = delete;

    bool CanKeep() const { return same_ != nullptr; }
    void Clear() {
        for (View& view : views_) Release(view);
    }

    // At least size bytes of the block, kept mapped; empty when it cannot be mapped.
    std::span<uint8_t> Map(HANDLE block, uint32_t size) {
        for (View& view : views_) {
            if (!view.address || view.given != block) continue;
            if (view.size >= size && same_(block, view.own.Get())) {
                if (&view != &views_[0]) std::swap(view, views_[0]);
                return {static_cast<uint8_t*>(views_[0].address), size};
            }
            Release(view);  // another block under the same value, or too small a view of it
        }
        View fresh;
        if (!DuplicateHandle(GetCurrentProcess(), block, GetCurrentProcess(), fresh.own.Receive(), 0, FALSE,
                             DUPLICATE_SAME_ACCESS)) {
            return {};
        }
        fresh.address = MapViewOfFile(block, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, size);
        if (!fresh.address) return {};
        fresh.given = block;
        fresh.size = size;
        Release(views_[1]);
        views_[1] = std::move(views_[0]);
        views_[0] = std::move(fresh);
        return {static_cast<uint8_t*>(views_[0].address), size};
    }

private:
    using SameObject = BOOL(WINAPI*)(HANDLE, HANDLE);
    struct View {
        HANDLE given = nullptr;  // the program's handle, closed by the program
        KernelHandle own;        // this process's own handle of the same block
        void* address = nullptr;
        uint32_t size = 0;
    };
    static void Release(View& view) {
        if (view.address) UnmapViewOfFile(view.address);
        view = View{};
    }

    SameObject same_ = nullptr;
    View views_[2];  // the one used last first
};

class PipeServerPort : public HelperServerPort {
public:
    explicit PipeServerPort(HANDLE pipe) : pipe_(pipe) {}
    bool Read(std::span<uint8_t> bytes) override {
        std::size_t done = 0;
        while (done < bytes.size()) {
            DWORD moved = 0;
            if (!ReadFile(pipe_, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &moved, nullptr) ||
                moved == 0) {
                return false;
            }
            done += moved;
        }
        return true;
    }
    bool Write(std::span<const uint8_t> bytes) override {
        std::size_t done = 0;
        while (done < bytes.size()) {
            DWORD moved = 0;
            if (!WriteFile(pipe_, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &moved, nullptr))
                return false;
            done += moved;
        }
        return true;
    }
    // The program closes the handle itself once the block is done with.
    std::unique_ptr<MappedBlock> Map(uint32_t handle, uint32_t size, bool keep) override {
        const auto block = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(handle));
        if (keep && views_.CanKeep()) {
            const std::span<uint8_t> bytes = views_.Map(block, size);
            if (bytes.empty()) return nullptr;
            return std::make_unique<LentView>(bytes);
        }
        views_.Clear();
        void* view = MapViewOfFile(block, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, size);
        if (!view) return nullptr;
        return std::make_unique<WinMappedBlock>(view, size);
    }

private:
    HANDLE pipe_;
    KeptViews views_;
};

// Whatever escapes a plug-in ends this process at once: no error box, no debugger, no wait.
LONG WINAPI EndAtOnce(EXCEPTION_POINTERS* exception) {
    TerminateProcess(GetCurrentProcess(), exception ? exception->ExceptionRecord->ExceptionCode : 1);
    return EXCEPTION_EXECUTE_HANDLER;
}

DWORD WINAPI WatchProgram(void* program) {
    WaitForSingleObject(static_cast<HANDLE>(program), INFINITE);
    TerminateProcess(GetCurrentProcess(), 0);
    return 0;
}

HANDLE AsHandle(uint32_t value) { return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value)); }

// COM is started for the plug-ins that use it, as the program has it started for those it loads
// itself: as soon as a library that loads has brought COM along. A helper whose plug-ins need no
// COM does without it and without the window system it would bring, and starts sooner.
class ModulesWithCom : public WinModuleLoader {
public:
    Module Load(const std::string& path) override {
        Module module = WinModuleLoader::Load(path);
        if (module && !comStarted_ && (GetModuleHandleW(L"ole32.dll") || GetModuleHandleW(L"combase.dll"))) {
            comStarted_ = true;
            using Initialize = HRESULT(WINAPI*)(void*);
            Initialize initialize = nullptr;
            // Held for the rest of the run (a known system library: only the system's is found).
            ResolveCall(initialize, LoadLibraryW(L"ole32.dll"), "OleInitialize");
            if (initialize) initialize(nullptr);
        }
        return module;
    }

private:
    bool comStarted_ = false;
};

int RunHelper() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(&EndAtOnce);
    const std::optional<HelperHandles> handles = ParseHelperCommandLine(Narrow(GetCommandLineW()));
    if (!handles) return 2;
    if (HANDLE watcher = CreateThread(nullptr, 64 * 1024, &WatchProgram, AsHandle(handles->program),
                                      STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr)) {
        CloseHandle(watcher);
    }
    ModulesWithCom modules;
    WinLocalMemory memory;
    WinAnsiCodec ansi;
    PluginExecutor executor(SpiPorts{modules, memory, ansi});
    PipeServerPort port(AsHandle(handles->pipe));
    ServePlugins(port, executor);
    // Libraries in an unknown state are not unloaded: the process just ends.
    TerminateProcess(GetCurrentProcess(), 0);
    return 0;
}

}  // namespace
}  // namespace kembo

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return kembo::RunHelper(); }
