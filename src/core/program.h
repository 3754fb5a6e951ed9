#pragma once
// The program-wide records of one run, handed to whoever needs them.
#include "core/program_paths.h"
#include "core/settings.h"
#include "base/geometry.h"
#include "base/store_ports.h"
#include "loading/file_system.h"
#include "loading/plugin_ports.h"

namespace kembo {

// The system as the program reaches it.
class PluginBroker;

struct SystemPorts {
    ProfilePort& profile;
    RegistryPort& registry;
    FileSystem& files;
    ModuleLoader& modules;
    LocalMemory& memory;
    AnsiCodec& ansi;
    SystemFolders& folders;
    // Where the plug-ins are loaded and called; null: in this process.
    PluginBroker* broker = nullptr;
};

struct Program {
    explicit Program(const SystemPorts& systemPorts)
        : profile(systemPorts.profile), registry(systemPorts.registry), files(systemPorts.files), ports(systemPorts) {}

    ProgramPaths paths;
    AppState state;
    Settings settings;
    ProfilePort& profile;
    RegistryPort& registry;
    FileSystem& files;
    SystemPorts ports;
    // The display-range window's last bounds in this run.
    Bounds rangeWindowBounds;

    SettingsContext Storage() const { return SettingsContext{paths, profile, registry}; }
};

}  // namespace kembo
