#pragma once
// The plug-in host over the real Windows ports with the fixture plug-ins: a manager, a picture
// holder and a folder for test files, and the pictures the fixtures read.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "kpic.h"
#include "loading/picture.h"
#include "loading/picture_formats.h"
#include "loading/spi_bitmap.h"
#include "loading/spis.h"
#include "plugin_fixtures.h"
#include "temp_folder.h"
#include "toolkit/file_system_win.h"
#include "toolkit/plugin_ports_win.h"
#include "toolkit/store_ports_win.h"
#include "toolkit/text_win.h"

namespace kembo {

using testing::KpicColour;
using testing::PluginFolder;

// Colours that survive every bit depth the fixtures hand back: 16 bits keep 5 per channel, and
// readers widen them again by repeating the top bits (0x10 -> 0x84).
inline const std::vector<KpicColour> kColours = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}, {0, 0, 0}, {132, 66, 33}};

inline std::string Picture(int width, int height, int colourCount) {
    return testing::KpicPicture(width, height, [colourCount](int x, int y) {
        return kColours[static_cast<std::size_t>((x + 2 * y) % colourCount)];
    });
}

inline std::vector<Bgr> Expected(int width, int height, int colourCount) {
    std::vector<Bgr> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const KpicColour c = kColours[static_cast<std::size_t>((x + 2 * y) % colourCount)];
            pixels.push_back(Bgr{c.b, c.g, c.r});
        }
    }
    return pixels;
}

inline std::vector<Bgr> PixelsOf(const TBitmap& bitmap) {
    std::vector<Bgr> pixels;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) pixels.push_back(bitmap.Pixels().Pixel(x, y));
    return pixels;
}

inline bool HandleFreed(void* handle) { return LocalFlags(static_cast<HLOCAL>(handle)) == LMEM_INVALID_HANDLE; }

class PluginHostWinTest : public ::testing::Test {
protected:
    PluginHostWinTest() { StartSPIBitmap(); }
    ~PluginHostWinTest() override { SetSPIDefaultGraphicClass(nullptr); }

    void SearchSet(const std::wstring& set) { spis.Search(Narrow(PluginFolder(set)) + "*.spi"); }
    TSPI* Plugin(const std::wstring& set, const std::wstring& file) {
        const int index = spis.IndexOfFileName(Narrow(PluginFolder(set) + file));
        return index < 0 ? nullptr : &spis.Items(index);
    }
    KpicLog* Log(const TSPI& plugin) { return testing::FixtureLog(GetModuleHandleW(Wide(plugin.FileName()).c_str())); }
    std::string WriteFile(const std::wstring& name, const std::string& bytes) {
        testing::WriteWholeFile(folder.File(name), bytes);
        return Narrow(folder.File(name));
    }
    // Reads through the picture holder, as the program does; the picture read must be a TSPIBitmap.
    const TSPIBitmap& Read(const std::string& path) {
        holder.LoadFromFile(path);
        const auto* bitmap = dynamic_cast<const TSPIBitmap*>(holder.Graphic());
        if (!bitmap) throw std::runtime_error("not read as a plug-in picture: " + path);
        return *bitmap;
    }

    WinModuleLoader modules;
    WinLocalMemory memory;
    WinAnsiCodec ansi;
    WinFileSystem files;
    WinRegistryPort registry;
    WinSystemFolders folders;
    PictureFormats formats;
    TSPIs spis{SpiHostPorts{modules, memory, ansi, files, registry, folders, formats}, "C:\\nowhere\\"};
    TPicture holder{formats, files};
    testing::TempFolder folder;
};

}  // namespace kembo
