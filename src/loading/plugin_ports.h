#pragma once
// What the plug-in host needs from the system: loading libraries, the local-memory handles the
// plug-ins hand back, the system code page of their texts, and a few folders. The Windows
// adapters live in toolkit/; tests use fakes.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kembo {

// Plug-in functions use the standard Win32 calling convention.
#if defined(_WIN32)
#define SPI_CALL __stdcall
#else
#define SPI_CALL
#endif

class ModuleLoader {
public:
    using Module = void*;
    virtual ~ModuleLoader() = default;
    // Loads a library by its path; nullptr when it cannot be loaded.
    virtual Module Load(const std::string& path) = 0;
    // The address of an export by its exact name; nullptr when absent.
    virtual void* Resolve(Module module, const char* name) = 0;
    virtual void Free(Module module) = 0;
    // The full path of a loaded module; empty when the system does not say.
    virtual std::string ModulePath(Module module) = 0;
    // Runs call(context), which calls into a loaded library, so that a fault inside the library
    // (or inside a callback of ours it calls) ends the call instead of the program. False when
    // the call faulted: what the library was doing is abandoned, so it must not be called or
    // unloaded again. The floating-point control state is as before the call either way. call
    // must not throw.
    virtual bool CallGuarded(void (*call)(void*), void* context) = 0;
};

// Local-memory handles (HLOCAL) returned by plug-ins.
class LocalMemory {
public:
    using Handle = void*;
    virtual ~LocalMemory() = default;
    virtual void* Lock(Handle handle) = 0;  // nullptr on failure
    virtual void Unlock(Handle handle) = 0;
    virtual std::size_t Size(Handle handle) = 0;
    virtual void Free(Handle handle) = 0;
};

// Texts to and from plug-ins are in the system's ANSI code page.
class AnsiCodec {
public:
    virtual ~AnsiCodec() = default;
    virtual std::string ToAnsi(const std::string& utf8) = 0;
    virtual std::string FromAnsi(const std::string& ansi) = 0;
};

// Folders the plug-in search may look in, each "" when the system does not give it.
class SystemFolders {
public:
    virtual ~SystemFolders() = default;
    virtual std::string CurrentFolder() = 0;
    virtual std::string SystemFolder() = 0;
    virtual std::string WindowsFolder() = 0;
};

// The record GetPictureInfo fills: byte-packed, 26 bytes.
#pragma pack(push, 1)
struct SpiPictureInfo {
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
    uint16_t xDensity;
    uint16_t yDensity;
    int16_t colorDepth;
    uint32_t infoText;  // a local-memory handle, or 0 (32-bit: plug-ins are 32-bit libraries)
};
#pragma pack(pop)
static_assert(sizeof(SpiPictureInfo) == 26);

using SpiProgressCallback = int32_t(SPI_CALL*)(int32_t done, int32_t total, intptr_t callerValue);
using SpiGetPluginInfo = int32_t(SPI_CALL*)(int32_t infoNumber, char* buffer, int32_t bufferLength);
using SpiIsSupported = int32_t(SPI_CALL*)(const char* fileName, const void* data);
using SpiGetPictureInfo = int32_t(SPI_CALL*)(const void* data, int32_t length, uint32_t flag, SpiPictureInfo* info);
using SpiGetPicture = int32_t(SPI_CALL*)(const void* data, int32_t length, uint32_t flag, void** headerHandle,
                                         void** pixelHandle, SpiProgressCallback progress, intptr_t callerValue);

}  // namespace kembo
