#pragma once
// The fixture plug-ins built with the Windows tests from tests/fixtures/plugins: one folder per
// set under the folder CTest names in KEMBO_PLUGINS.
#include <windows.h>

#include <string>

#include "kpic_log.h"
#include "temp_folder.h"

namespace kembo::testing {

// The folder of one set (L"basic", L"depths", ...), with a trailing backslash.
inline std::wstring PluginFolder(const std::wstring& set) {
    return FolderFromEnvironment(L"KEMBO_PLUGINS") + set + L'\\';
}

// What a loaded fixture plug-in saw of its calls; nullptr for a module that is none.
inline KpicLog* FixtureLog(HMODULE module) {
    using GetLog = KpicLog*(__stdcall*)();
    const auto get = reinterpret_cast<GetLog>(reinterpret_cast<void*>(GetProcAddress(module, "KpicGetLog")));
    return get ? get() : nullptr;
}

}  // namespace kembo::testing
