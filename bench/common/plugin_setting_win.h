#pragma once
// What the benchmarks of the shipped plug-in share: the program folder of their build (the dist
// folder beside them), the Windows ports a plug-in manager takes, and the two photographs they read,
// a 6000 × 4000 JPEG and a 4000 × 3000 PNG, made once into a folder of their own.
#include <windows.h>
#include <wincodec.h>

#include <stdexcept>
#include <string>

#include "common/photo.h"
#include "loading/picture_formats.h"
#include "loading/spi_bitmap.h"
#include "loading/spis.h"
#include "temp_folder.h"
#include "test_pictures.h"
#include "toolkit/file_system_win.h"
#include "toolkit/plugin_ports_win.h"
#include "toolkit/store_ports_win.h"
#include "toolkit/text_win.h"

namespace kembo::bench {

// A file of the build the benchmarks belong to, by its path in the build folder.
inline std::string BuildFile(const std::wstring& name) {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const std::wstring path = exe;
    return Narrow(path.substr(0, path.find_last_of(L'\\') + 1) + name);
}
// A file of the program folder the benchmarks are built beside.
inline std::string DistFile(const wchar_t* name) { return BuildFile(std::wstring(L"dist\\") + name); }

class PluginSetting {
public:
    PluginSetting() {
        if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) throw std::runtime_error("no COM");
        StartSPIBitmap();
        testing::WriteWholeFile(Jpeg(), testing::EncodeWic(GUID_ContainerFormatJpeg, Photo(6000, 4000)));
        testing::WriteWholeFile(Png(), testing::EncodeWic(GUID_ContainerFormatPng, Photo(4000, 3000)));
    }
    PluginSetting(const PluginSetting&) = delete;
    PluginSetting& operator=(const PluginSetting&) = delete;

    std::wstring Jpeg() const { return folder_.File(L"photo.jpg"); }
    std::wstring Png() const { return folder_.File(L"photo.png"); }
    FileSystem& Files() { return files_; }
    SpiPorts LocalPorts() { return SpiPorts{modules_, memory_, ansi_}; }
    SpiHostPorts HostPorts(PluginBroker* broker = nullptr) {
        return SpiHostPorts{modules_, memory_, ansi_, files_, registry_, folders_, formats_, broker};
    }

private:
    WinModuleLoader modules_;
    WinLocalMemory memory_;
    WinAnsiCodec ansi_;
    WinFileSystem files_;
    WinRegistryPort registry_;
    WinSystemFolders folders_;
    PictureFormats formats_;
    testing::TempFolder folder_;
};

}  // namespace kembo::bench
