// KEMBOSPI.EXE, the plug-in helper: loads the outside plug-ins for KEMBO.EXE and makes their
// calls, so that a plug-in that faults or never returns costs this process, never the program.
// Started by the program with its end of a pipe and a handle of the program's process (both
// inherited, their values on the command line); it ends when the pipe breaks or the program
// goes away, and whatever kills it leaves nothing behind.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <cstdlib>
#include <cwchar>
#include <memory>

#include "loading/plugin_executor.h"
#include "loading/plugin_helper_server.h"
#include "toolkit/plugin_ports_win.h"

namespace kembo {
namespace {

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
    std::unique_ptr<MappedBlock> Map(uint32_t handle, uint32_t size) override {
        void* view = MapViewOfFile(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(handle)),
                                   FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, size);
        if (!view) return nullptr;
        return std::make_unique<WinMappedBlock>(view, size);
    }

private:
    HANDLE pipe_;
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

HANDLE HandleArgument(const wchar_t* text) {
    return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(std::wcstoul(text, nullptr, 10)));
}

int RunHelper() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(&EndAtOnce);
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments || count != 3) return 2;
    HANDLE pipe = HandleArgument(arguments[1]);
    HANDLE program = HandleArgument(arguments[2]);
    LocalFree(arguments);
    if (HANDLE watcher = CreateThread(nullptr, 64 * 1024, &WatchProgram, program, STACK_SIZE_PARAM_IS_A_RESERVATION,
                                      nullptr)) {
        CloseHandle(watcher);
    }
    // Some plug-ins use COM, as they may in the program.
    OleInitialize(nullptr);
    WinModuleLoader modules;
    WinLocalMemory memory;
    WinAnsiCodec ansi;
    PluginExecutor executor(SpiPorts{modules, memory, ansi});
    PipeServerPort port(pipe);
    ServePlugins(port, executor);
    // Libraries in an unknown state are not unloaded: the process just ends.
    TerminateProcess(GetCurrentProcess(), 0);
    return 0;
}

}  // namespace
}  // namespace kembo

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return kembo::RunHelper(); }
