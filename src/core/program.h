#pragma once
// The program-wide records of one run, handed to whoever needs them.
#include "core/program_paths.h"
#include "core/settings.h"
#include "core/store_ports.h"

namespace kembo {

struct Program {
    Program(ProfilePort& profilePort, RegistryPort& registryPort)
        : profile(profilePort), registry(registryPort) {}

    ProgramPaths paths;
    AppState state;
    Settings settings;
    ProfilePort& profile;
    RegistryPort& registry;

    SettingsContext Storage() const { return SettingsContext{paths, profile, registry}; }
};

}  // namespace kembo
