#include "toolkit/plugin_helper_win.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "loading/plugin_messages.h"
#include "toolkit/application_win.h"
#include "toolkit/handles_win.h"
#include "toolkit/lazy_libraries_win.h"
#include "toolkit/text_win.h"

namespace kembo {
namespace {

constexpr DWORD kPipeBuffer = 65536;
// How long the end of a helper is waited for, so that no process outlives the program.
constexpr DWORD kEndWaitMs = 2000;
constexpr LONGLONG kMaxCacheBytes = 64 << 20;

// A name nobody can guess: the pipe exists only until the program itself has connected to it,
// and only one instance of it may ever exist. Empty when the system gives no random numbers.
std::wstring UnguessablePipeName() {
    uint8_t random[16] = {};
    if (!BCRYPT_SUCCESS(lazy::BCryptGenRandom(nullptr, random, sizeof random, BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
        return std::wstring();
    wchar_t name[96];
    std::swprintf(name, 96, L"\\\\.\\pipe\\kembo-%lu-", GetCurrentProcessId());
    std::wstring result = name;
    for (uint8_t b : random) {
        wchar_t hex[3];
        std::swprintf(hex, 3, L"%02x", b);
        result += hex;
    }
    return result;
}

class WinSharedBlock : public SharedBlock {
public:
    WinSharedBlock(KernelHandle mapping, void* view, std::size_t size, HANDLE helper, HANDLE remote)
        : mapping_(std::move(mapping)), view_(view), size_(size), helper_(helper), remote_(remote) {}
    ~WinSharedBlock() override {
        UnmapViewOfFile(view_);
        LetHelperGo();
    }
    // The helper keeps the handles it was given; they are closed from here, when the block is no
    // longer the helper's to use, so no handle of the helper's is ever closed twice.
    void LetHelperGo() override {
        if (remote_) DuplicateHandle(helper_, remote_, nullptr, nullptr, 0, FALSE, DUPLICATE_CLOSE_SOURCE);
        remote_ = nullptr;
    }
    WinSharedBlock(const WinSharedBlock&) = delete;
    WinSharedBlock& operator=(const WinSharedBlock&) = delete;
    std::span<uint8_t> Bytes() override { return {static_cast<uint8_t*>(view_), size_}; }
    uint32_t HelperHandle() const override { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(remote_)); }

private:
    KernelHandle mapping_;
    void* view_;
    std::size_t size_;
    HANDLE helper_;
    HANDLE remote_;
};

class WinHelperConnection : public HelperConnection {
public:
    WinHelperConnection(KernelHandle process, KernelHandle pipe, KernelHandle job)
        : process_(std::move(process)), pipe_(std::move(pipe)), job_(std::move(job)),
          event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~WinHelperConnection() override {
        TerminateProcess(process_.Get(), 1);
        WaitForSingleObject(process_.Get(), kEndWaitMs);
    }
    WinHelperConnection(const WinHelperConnection&) = delete;
    WinHelperConnection& operator=(const WinHelperConnection&) = delete;

    Wait Write(std::span<const uint8_t> bytes, uint32_t timeoutMs) override {
        return Transfer(const_cast<uint8_t*>(bytes.data()), bytes.size(), timeoutMs, true);
    }
    Wait Read(std::span<uint8_t> bytes, uint32_t timeoutMs) override {
        return Transfer(bytes.data(), bytes.size(), timeoutMs, false);
    }

    bool Alive() override { return WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }

    std::unique_ptr<SharedBlock> Share(std::size_t size) override {
        const uint64_t wide = size;
        KernelHandle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                                static_cast<DWORD>(wide >> 32), static_cast<DWORD>(wide), nullptr));
        if (!mapping) return nullptr;
        void* view = MapViewOfFile(mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, size);
        if (!view) return nullptr;
        HANDLE remote = nullptr;
        if (!DuplicateHandle(GetCurrentProcess(), mapping.Get(), process_.Get(), &remote,
                             FILE_MAP_READ | FILE_MAP_WRITE, FALSE, 0)) {
            UnmapViewOfFile(view);
            return nullptr;
        }
        return std::make_unique<WinSharedBlock>(std::move(mapping), view, size, process_.Get(), remote);
    }

private:
    // Moves all bytes, or gives up at the deadline; the window's messages are handled meanwhile.
    Wait Transfer(uint8_t* data, std::size_t size, uint32_t timeoutMs, bool write) {
        const ULONGLONG deadline = GetTickCount64() + timeoutMs;
        std::size_t done = 0;
        while (done < size) {
            OVERLAPPED overlapped{};
            overlapped.hEvent = event_.Get();
            ResetEvent(event_.Get());
            const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
            const BOOL started = write ? WriteFile(pipe_.Get(), data + done, chunk, nullptr, &overlapped)
                                       : ReadFile(pipe_.Get(), data + done, chunk, nullptr, &overlapped);
            if (!started && GetLastError() != ERROR_IO_PENDING) return Wait::broken;
            DWORD moved = 0;
            const Wait wait = Finish(overlapped, moved, deadline);
            if (wait != Wait::done) return wait;
            done += moved;
        }
        return Wait::done;
    }

    Wait Finish(OVERLAPPED& overlapped, DWORD& moved, ULONGLONG deadline) {
        for (;;) {
            if (GetOverlappedResult(pipe_.Get(), &overlapped, &moved, FALSE)) return Wait::done;
            if (GetLastError() != ERROR_IO_INCOMPLETE) return Wait::broken;
            const ULONGLONG now = GetTickCount64();
            if (now >= deadline) return Cancel(overlapped, Wait::timedOut);
            HANDLE event = event_.Get();
            const DWORD result = MsgWaitForMultipleObjectsEx(1, &event, static_cast<DWORD>(deadline - now), QS_ALLINPUT,
                                                             MWMO_INPUTAVAILABLE);
            if (result == WAIT_OBJECT_0 + 1) {
                Application* app = Application::Current();
                if (app) {
                    app->ProcessMessages();
                    if (app->Terminated()) return Cancel(overlapped, Wait::quit);
                } else {
                    MSG msg;
                    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                        if (msg.message == WM_QUIT) {
                            PostQuitMessage(static_cast<int>(msg.wParam));
                            return Cancel(overlapped, Wait::quit);
                        }
                        TranslateMessage(&msg);
                        DispatchMessageW(&msg);
                    }
                }
            }
        }
    }

    // The transfer under way is called off before its buffer goes away.
    Wait Cancel(OVERLAPPED& overlapped, Wait why) {
        DWORD moved = 0;
        CancelIoEx(pipe_.Get(), &overlapped);
        GetOverlappedResult(pipe_.Get(), &overlapped, &moved, TRUE);
        return why;
    }

    KernelHandle process_;
    KernelHandle pipe_;
    KernelHandle job_;
    KernelHandle event_;
};

// A job that ends the helper should the program end without a word (a crash, killed).
KernelHandle KillOnCloseJob() {
    KernelHandle job(CreateJobObjectW(nullptr, nullptr));
    if (!job) return job;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
        job.Reset();
    return job;
}

struct Started {
    KernelHandle process;
    KernelHandle thread;
};

// Starts the helper, suspended, with exactly the given handles inherited (where the system can
// say so).
Started StartProcess(const std::wstring& program, std::wstring commandLine, HANDLE* inherited, DWORD count) {
    SIZE_T listSize = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &listSize);
    std::vector<uint8_t> listBytes(listSize);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(listBytes.data());
    const bool listed = InitializeProcThreadAttributeList(list, 1, 0, &listSize) &&
                        UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited,
                                                  count * sizeof(HANDLE), nullptr, nullptr);
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    if (listed) startup.lpAttributeList = list;
    PROCESS_INFORMATION info{};
    const DWORD flags = CREATE_SUSPENDED | CREATE_NO_WINDOW | (listed ? EXTENDED_STARTUPINFO_PRESENT : 0);
    BOOL started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, flags, nullptr, nullptr,
                                  &startup.StartupInfo, &info);
    // A system that cannot take the list inherits the few inheritable handles there are.
    if (!started && listed) {
        startup.StartupInfo.cb = sizeof startup.StartupInfo;
        started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                 CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &startup.StartupInfo, &info);
    }
    if (listed) DeleteProcThreadAttributeList(list);
    if (!started) return {};
    return {KernelHandle(info.hProcess), KernelHandle(info.hThread)};
}

}  // namespace

std::unique_ptr<HelperConnection> WinHelperPort::Start() {
    const std::wstring name = UnguessablePipeName();
    if (name.empty()) return nullptr;
    const auto create = [&](DWORD remote) {
        return CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | remote, 1, kPipeBuffer, kPipeBuffer, 0,
                                nullptr);
    };
    HANDLE created = create(PIPE_REJECT_REMOTE_CLIENTS);
    // A system that does not know the flag gets the pipe without it: the name cannot be guessed,
    // and its one instance is taken by this program at once.
    if (created == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER) created = create(0);
    KernelHandle pipe(created);
    if (pipe.Get() == INVALID_HANDLE_VALUE) {
        pipe.Release();
        return nullptr;
    }
    // The program takes the one instance itself, for the helper to inherit.
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    KernelHandle client(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, &inheritable, OPEN_EXISTING, 0,
                                    nullptr));
    if (client.Get() == INVALID_HANDLE_VALUE) {
        client.Release();
        return nullptr;
    }
    // Connected already: it was this program, unless someone got in first.
    OVERLAPPED connect{};
    connect.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const KernelHandle connectEvent(connect.hEvent);
    if (ConnectNamedPipe(pipe.Get(), &connect) || GetLastError() != ERROR_PIPE_CONNECTED) return nullptr;
    ULONG clientProcess = 0;
    if (GetNamedPipeClientProcessId(pipe.Get(), &clientProcess) && clientProcess != GetCurrentProcessId())
        return nullptr;
    // The helper watches the program: should it go away, the helper ends too.
    KernelHandle self;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), self.Receive(), SYNCHRONIZE,
                         TRUE, 0)) {
        return nullptr;
    }
    HANDLE inherited[] = {client.Get(), self.Get()};
    // Handle values fit in 32 bits, also in a 64-bit process.
    const HelperHandles handles{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(client.Get())),
                                static_cast<uint32_t>(reinterpret_cast<uintptr_t>(self.Get()))};
    Started started = StartProcess(Wide(helperPath_), Wide(HelperCommandLine(helperPath_, handles)), inherited, 2);
    if (!started.process) return nullptr;
    KernelHandle job = KillOnCloseJob();
    if (job && !AssignProcessToJobObject(job.Get(), started.process.Get())) job.Reset();
    auto connection =
        std::make_unique<WinHelperConnection>(std::move(started.process), std::move(pipe), std::move(job));
    ResumeThread(started.thread.Get());
    return connection;
}

std::optional<std::vector<uint8_t>> WinHelperPort::ReadCache() {
    if (cachePath_.empty()) return std::nullopt;
    KernelHandle file(CreateFileW(Wide(cachePath_).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        file.Release();
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > kMaxCacheBytes) return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size())) {
        return std::nullopt;
    }
    return bytes;
}

void WinHelperPort::WriteCache(std::span<const uint8_t> bytes) {
    if (cachePath_.empty()) return;
    KernelHandle file(CreateFileW(Wide(cachePath_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        file.Release();
        return;
    }
    DWORD written = 0;
    WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace kembo
