#pragma once
// The program-wide records of one run, handed to whoever needs them.
#include "core/program_paths.h"
#include "core/settings.h"
#include "core/store_ports.h"
#include "loading/file_system.h"

namespace kembo {

struct Program {
    Program(ProfilePort& profilePort, RegistryPort& registryPort, FileSystem& fileSystem)
        : profile(profilePort), registry(registryPort), files(fileSystem) {}

    // The display-range window's last bounds in this run.
    struct Bounds {
        int32_t left = 0, top = 0, width = 0, height = 0;
    };

    ProgramPaths paths;
    AppState state;
    Settings settings;
    ProfilePort& profile;
    RegistryPort& registry;
    FileSystem& files;
    Bounds rangeWindowBounds;

    SettingsContext Storage() const { return SettingsContext{paths, profile, registry}; }
};

}  // namespace kembo
