#pragma once
// The plug-in manager: finds plug-in libraries, keeps them in order, registers the extensions
// of the picture plug-ins with the format registry, and names the plug-ins to try for a file.
// At most one exists in the process.
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "loading/spi.h"

namespace kembo {

class FileSystem;
class PictureClass;
class PictureFormats;
class RegistryPort;

enum class TSPISearchOption { spsSusieDir, spsAppDir, spsCurrentDir, spsSystemDir, spsWindowsDir };
using TSPISearchOptions = std::set<TSPISearchOption>;

struct SpiHostPorts {
    ModuleLoader& modules;
    LocalMemory& memory;
    AnsiCodec& ansi;
    FileSystem& files;
    RegistryPort& registry;
    SystemFolders& folders;
    PictureFormats& formats;
    PluginBroker* broker = nullptr;
};

class TSPIs {
public:
    // appFolder: the folder of the program. Throws ESPIDupCreateSPIs while another manager exists.
    TSPIs(const SpiHostPorts& ports, std::string appFolder);
    // Unloads every plug-in; their registered extensions stay in the format registry.
    ~TSPIs();
    TSPIs(const TSPIs&) = delete;
    TSPIs& operator=(const TSPIs&) = delete;

    // The manager in existence, or nullptr.
    static TSPIs* Current();

    TSPISearchOptions SearchOptions{TSPISearchOption::spsSusieDir, TSPISearchOption::spsAppDir};
    bool AutoSearch = true;
    // May refuse a plug-in after it loaded.
    std::function<void(TSPIs& sender, TSPI& plugin, bool& accept)> OnSearch;
    // May refuse a file before it is loaded.
    std::function<void(TSPIs& sender, const std::string& fileName, bool& accept)> OnSearching;
    // May change (or clear, to nullptr) the picture class registered for one extension.
    std::function<void(TSPIs& sender, TInSPI& plugin, const std::string& extension,
                       const std::string& description, const PictureClass*& graphicClass)>
        OnPictureRegister;

    // Searches "*.spi" when AutoSearch is set.
    void Loaded();
    // Loads the plug-ins matching mask: in mask's folder when it names one, else in the folders
    // of SearchOptions. A library lacking a function its type needs ends the search with its
    // error; those added before stay.
    void Search(const std::string& mask);

    int Count() const { return static_cast<int>(list_.size()); }
    TSPI& Items(int index) const;
    // The first plug-in loaded from path (ASCII letters in any case), or -1.
    int IndexOfFileName(const std::string& path) const;
    void Add(std::unique_ptr<TSPI> plugin);
    // Inserts the plug-in and registers its extensions when it reads pictures. Should the
    // registration fail, the plug-in is taken out and destroyed again and the error propagates.
    void Insert(int index, std::unique_ptr<TSPI> plugin);
    void Delete(int index);
    void Clear();
    // Appends the plug-ins of the given classes (or subclasses) to list: those with a pattern
    // for fileName's extension at the front (the later in the list, the earlier), then the rest
    // in list order. A pattern text counts with its last pattern only. Plug-ins that have
    // faulted are left out.
    void GetCandidates(const std::vector<const SpiClass*>& classes, std::vector<TSPI*>& list,
                       const std::string& fileName) const;

    SpiPorts PluginPorts() const { return SpiPorts{ports_.modules, ports_.memory, ports_.ansi, ports_.broker}; }

private:
    void SearchFolder(const std::string& folder, const std::string& mask);
    void RegisterExtensions(TInSPI& plugin);
    std::string SusieFolder() const;

    SpiHostPorts ports_;
    std::string appFolder_;
    std::vector<std::unique_ptr<TSPI>> list_;
};

// The picture class registered for plug-in extensions; nullptr until the plug-in picture class
// sets itself.
const PictureClass* SPIDefaultGraphicClass();
void SetSPIDefaultGraphicClass(const PictureClass* graphicClass);

}  // namespace kembo
