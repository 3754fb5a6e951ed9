#pragma once
// The plug-in host's ports over the real system: DLL loading, local memory, the ANSI code page
// and the folders a plug-in search may look in.
#include "loading/plugin_ports.h"

namespace kembo {

class WinModuleLoader : public ModuleLoader {
public:
    // Takes the current folder out of the DLL search for the whole process, so that a plug-in's
    // dependencies are never picked up from wherever the user happens to be.
    WinModuleLoader();
    Module Load(const std::string& path) override;
    void* Resolve(Module module, const char* name) override;
    void Free(Module module) override;
    std::string ModulePath(Module module) override;
    bool CallGuarded(void (*call)(void*), void* context) override;
};

class WinLocalMemory : public LocalMemory {
public:
    void* Lock(Handle handle) override;
    void Unlock(Handle handle) override;
    std::size_t Size(Handle handle) override;
    void Free(Handle handle) override;
};

class WinAnsiCodec : public AnsiCodec {
public:
    std::string ToAnsi(const std::string& utf8) override;
    std::string FromAnsi(const std::string& ansi) override;
};

class WinSystemFolders : public SystemFolders {
public:
    std::string CurrentFolder() override;
    std::string SystemFolder() override;
    std::string WindowsFolder() override;
};

}  // namespace kembo
