#include "loading/spis.h"

#include <exception>
#include <stdexcept>

#include "base/catalog.h"
#include "base/name_rules.h"
#include "base/text.h"
#include "base/store_ports.h"
#include "loading/file_system.h"
#include "loading/picture_formats.h"
#include "loading/spi_errors.h"

namespace kembo {
namespace {

// Where the Susie viewer keeps its plug-ins.
constexpr const char* kSusieKey = "Software\\Takechin\\Susie\\Plug-in";
constexpr const char* kSusieValue = "Path";

TSPIs* current = nullptr;
const PictureClass* defaultGraphicClass = nullptr;

// index must name an item, or for an insertion also the end of the list.
void CheckIndex(int index, std::size_t count, bool endAllowed) {
    const std::size_t limit = endAllowed ? count + 1 : count;
    if (index < 0 || static_cast<std::size_t>(index) >= limit)
        throw std::out_of_range("plug-in index " + std::to_string(index) + " out of range");
}

// The extension a pattern piece stands for: what follows its first dot ("*.jpg" → "jpg").
std::string PieceExtension(const std::string& piece) {
    const std::size_t dot = piece.find('.');
    return dot == std::string::npos ? piece : piece.substr(dot + 1);
}

}  // namespace

const PictureClass* SPIDefaultGraphicClass() { return defaultGraphicClass; }
void SetSPIDefaultGraphicClass(const PictureClass* graphicClass) { defaultGraphicClass = graphicClass; }

TSPIs::TSPIs(const SpiHostPorts& ports, std::string appFolder) : ports_(ports), appFolder_(std::move(appFolder)) {
    if (current) throw ESPIDupCreateSPIs(Text(TextId::PluginManagerTwice));
    current = this;
}

TSPIs::~TSPIs() {
    if (current == this) current = nullptr;
    Clear();
}

TSPIs* TSPIs::Current() { return current; }

void TSPIs::Loaded() {
    if (AutoSearch) Search("*.spi");
}

void TSPIs::Search(const std::string& mask) {
    const std::string maskFolder = ExtractFilePath(mask);
    if (!maskFolder.empty()) {
        SearchFolder(IncludeTrailingSeparator(maskFolder), ExtractFileName(mask));
        return;
    }
    const auto has = [&](TSPISearchOption option) { return SearchOptions.count(option) != 0; };
    // A folder the system does not name is not searched.
    const auto searchIn = [&](const std::string& folder) {
        if (!folder.empty()) SearchFolder(IncludeTrailingSeparator(folder), mask);
    };
    if (has(TSPISearchOption::spsSusieDir)) searchIn(SusieFolder());
    if (has(TSPISearchOption::spsAppDir)) searchIn(appFolder_);
    if (has(TSPISearchOption::spsCurrentDir)) searchIn(ports_.folders.CurrentFolder());
    if (has(TSPISearchOption::spsSystemDir)) searchIn(ports_.folders.SystemFolder());
    if (has(TSPISearchOption::spsWindowsDir)) searchIn(ports_.folders.WindowsFolder());
}

// The viewer's plug-in folder from the registry; "" when it has none. The key is only read,
// never made, and a value that cannot be read counts as none.
std::string TSPIs::SusieFolder() const {
    RegValue value;
    if (!ports_.registry.Read(RegRoot::CurrentUser, kSusieKey, kSusieValue, value)) return {};
    return value.type == RegValue::Type::String ? value.text : std::string();
}

void TSPIs::SearchFolder(const std::string& folder, const std::string& mask) {
    // The whole listing first: loading a library must not disturb the enumeration.
    std::vector<std::string> paths;
    for (const FileSystem::Entry& entry : ports_.files.List(folder + mask)) {
        if (entry.isFolder || entry.hidden) continue;
        std::string path = folder + entry.name;
        if (IndexOfFileName(path) == -1) paths.push_back(std::move(path));
    }
    for (const std::string& path : paths) {
        bool accept = true;
        if (OnSearching) OnSearching(*this, path, accept);
        if (!accept) continue;
        std::unique_ptr<TSPI> plugin = CreatePlugin(PluginPorts(), path);
        if (!plugin) continue;
        // A hook or registration that fails costs this plug-in only.
        try {
            accept = true;
            if (OnSearch) OnSearch(*this, *plugin, accept);
            if (accept) Add(std::move(plugin));
        } catch (const std::exception&) {
        }
    }
}

TSPI& TSPIs::Items(int index) const {
    CheckIndex(index, list_.size(), false);
    return *list_[static_cast<std::size_t>(index)];
}

int TSPIs::IndexOfFileName(const std::string& path) const {
    for (std::size_t i = 0; i < list_.size(); ++i)
        if (SameTextAscii(list_[i]->FileName(), path)) return static_cast<int>(i);
    return -1;
}

void TSPIs::Add(std::unique_ptr<TSPI> plugin) { Insert(Count(), std::move(plugin)); }

void TSPIs::Insert(int index, std::unique_ptr<TSPI> plugin) {
    CheckIndex(index, list_.size(), true);
    if (!plugin) throw std::invalid_argument("no plug-in to insert");
    const auto at = list_.begin() + index;
    TSPI& inserted = **list_.insert(at, std::move(plugin));
    if (!inserted.Class().InheritsFrom(TInSPI::StaticClass())) return;
    try {
        RegisterExtensions(static_cast<TInSPI&>(inserted));
    } catch (...) {
        // The hook may have changed the list meanwhile; take out this plug-in wherever it is.
        for (auto i = list_.begin(); i != list_.end(); ++i) {
            if (i->get() == &inserted) {
                list_.erase(i);
                break;
            }
        }
        throw;
    }
}

void TSPIs::RegisterExtensions(TInSPI& plugin) {
    const std::vector<std::string>& patterns = plugin.Patterns();
    const std::vector<std::string>& descriptions = plugin.Descriptions();
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        const PictureClass* graphicClass = defaultGraphicClass;
        // Pieces from the last to the first; a hook's choice carries on to the earlier pieces.
        std::string rest = patterns[i];
        bool more = true;
        while (more) {
            const std::size_t semicolon = rest.rfind(';');
            more = semicolon != std::string::npos;
            const std::string piece = more ? rest.substr(semicolon + 1) : rest;
            if (more) rest.resize(semicolon);
            const std::string extension = PieceExtension(piece);
            if (OnPictureRegister) OnPictureRegister(*this, plugin, extension, descriptions[i], graphicClass);
            if (graphicClass) ports_.formats.RegisterFileFormat(extension, descriptions[i], *graphicClass);
        }
    }
}

void TSPIs::Delete(int index) {
    CheckIndex(index, list_.size(), false);
    list_.erase(list_.begin() + index);
}

void TSPIs::Clear() {
    while (!list_.empty()) Delete(0);
}

void TSPIs::GetCandidates(const std::vector<const SpiClass*>& classes, std::vector<TSPI*>& list,
                          const std::string& fileName) const {
    const std::string wanted = ExtractFileExt(fileName);
    for (const std::unique_ptr<TSPI>& plugin : list_) {
        bool wantedClass = false;
        for (const SpiClass* cls : classes) wantedClass = wantedClass || plugin->Class().InheritsFrom(*cls);
        // A plug-in that has faulted is offered nothing more.
        if (!wantedClass || plugin->Faulty()) continue;
        bool named = false;
        if (!wanted.empty()) {
            for (const std::string& pattern : plugin->Patterns())
                named = named || SameTextAscii(ExtractFileExt(pattern), wanted);
        }
        if (named) {
            list.insert(list.begin(), plugin.get());
        } else {
            list.push_back(plugin.get());
        }
    }
}

}  // namespace kembo
