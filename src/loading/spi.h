#pragma once
// One loaded Susie plug-in library: what it says about itself and its exported functions.
// The class of the object follows the plug-in's type text, so that each type checks the
// functions it needs when it loads.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "loading/plugin_ports.h"

namespace kembo {

class PluginBroker;
class TSPI;

// The system services a plug-in object works through. With a broker, the library is not loaded
// here: the broker tells what it is and makes its calls (in a helper process).
struct SpiPorts {
    ModuleLoader& modules;
    LocalMemory& memory;
    AnsiCodec& ansi;
    PluginBroker* broker = nullptr;
};

// A class reference for plug-in objects: names the class, knows its parent, and makes a loaded
// object of it, so a class chosen at run time can be created.
class SpiClass {
public:
    using Factory = std::function<std::unique_ptr<TSPI>(const SpiPorts& ports)>;
    SpiClass(std::string name, const SpiClass* parent, Factory factory)
        : name_(std::move(name)), parent_(parent), factory_(std::move(factory)) {}
    SpiClass(const SpiClass&) = delete;
    SpiClass& operator=(const SpiClass&) = delete;

    const std::string& Name() const { return name_; }
    // True for this class and every class derived from it.
    bool InheritsFrom(const SpiClass& other) const {
        for (const SpiClass* c = this; c; c = c->parent_)
            if (c == &other) return true;
        return false;
    }
    // A new object of this class, loaded from fileName (see TSPI::Create). Throws
    // ESPIFOpenErrorSPI, ESPIInvalidAPI, or ESPIInvalidSPI when the library faulted while it
    // told about itself; the half-built object is freed then.
    std::unique_ptr<TSPI> Create(const SpiPorts& ports, const std::string& fileName) const;

private:
    std::string name_;
    const SpiClass* parent_;
    Factory factory_;
};

class TSPI {
public:
    static const SpiClass& StaticClass();
    explicit TSPI(const SpiPorts& ports) : ports_(ports) {}
    virtual ~TSPI();
    TSPI(const TSPI&) = delete;
    TSPI& operator=(const TSPI&) = delete;

    virtual const SpiClass& Class() const { return StaticClass(); }

    const std::string& FileName() const { return fileName_; }
    const std::string& APIVersion() const { return apiVersion_; }
    const std::string& PluginInfo() const { return pluginInfo_; }
    // Extension patterns ("*.jpg", or several joined by ";") and their descriptions, same index.
    const std::vector<std::string>& Patterns() const { return patterns_; }
    const std::vector<std::string>& Descriptions() const { return descriptions_; }
    const SpiPorts& Ports() const { return ports_; }
    // True once a call into the library faulted. It is never called again (each function then
    // reports failure at once) and stays loaded: unloading a library in an unknown state is
    // unsafe.
    bool Faulty() const { return faulty_; }
    // A plug-in that faulted, hung or took its helper down elsewhere: never offered more.
    void MarkFaulty() const { faulty_ = true; }
    // Made through the broker: its calls go there, never to a library of this process.
    bool Hosted() const { return hosted_; }

    // The plug-in's functions, called as they are under the loader's guard; ESPIInvalidAPI when
    // the library lacks one. A call that faults returns a failure: 0 from GetPluginInfo and
    // IsSupported, non-zero from GetPictureInfo and GetPicture.
    int32_t GetPluginInfo(int32_t infoNumber, char* buffer, int32_t bufferLength) const;
    int32_t IsSupported(const char* fileName, const void* data) const;
    int32_t GetPictureInfo(const void* data, int32_t length, uint32_t flag, SpiPictureInfo* info) const;
    int32_t GetPicture(const void* data, int32_t length, uint32_t flag, void** headerHandle, void** pixelHandle,
                       SpiProgressCallback progress, intptr_t callerValue) const;

protected:
    // Raises ESPIInvalidAPI for the first required function the library lacks; each class runs
    // its parent's check first.
    virtual void CheckEntryPoints() const;
    enum Entry { kGetPluginInfo, kIsSupported, kGetPictureInfo, kGetPicture, kGetPreview,
                 kGetArchiveInfo, kGetFileInfo, kGetFile, kConfigurationDlg, kEntryCount };
    void Require(Entry entry) const;

private:
    friend class SpiClass;
    // Loads the library, binds its functions, checks those the class requires and reads its
    // type, credits and format list. Called once, by SpiClass::Create.
    void Create(const std::string& fileName);
    // The same from the broker's description of the library.
    void CreateHosted(const std::string& fileName);
    // GetPluginInfo(n) through a 256-byte buffer: the result, and the text up to the first zero.
    int32_t InfoText(int32_t infoNumber, std::string& text) const;
    // Calls an entry point with args; failure, without a call, once the library has faulted.
    template <typename Function, typename... Args>
    int32_t CallEntry(Entry entry, int32_t failure, Args... args) const;

    SpiPorts ports_;
    ModuleLoader::Module module_ = nullptr;
    std::string fileName_;
    std::string apiVersion_;
    std::string pluginInfo_;
    std::vector<std::string> patterns_;
    std::vector<std::string> descriptions_;
    void* entries_[kEntryCount] = {};
    mutable bool faulty_ = false;
    bool hosted_ = false;
};

// Archive and picture plug-ins; never made itself.
class TLoaderSPI : public TSPI {
public:
    static const SpiClass& StaticClass();
    using TSPI::TSPI;
    const SpiClass& Class() const override { return StaticClass(); }

protected:
    void CheckEntryPoints() const override;
};

// Picture plug-in ("00IN"): the only kind that reads pictures.
class TInSPI : public TLoaderSPI {
public:
    static const SpiClass& StaticClass();
    using TLoaderSPI::TLoaderSPI;
    const SpiClass& Class() const override { return StaticClass(); }

protected:
    void CheckEntryPoints() const override;
};

// Archive plug-in ("00AM"): loaded and kept, never used.
class TAmSPI : public TLoaderSPI {
public:
    static const SpiClass& StaticClass();
    using TLoaderSPI::TLoaderSPI;
    const SpiClass& Class() const override { return StaticClass(); }

protected:
    void CheckEntryPoints() const override;
};

// "00XN" plug-in: loaded and kept, never used.
class TXnSPI : public TSPI {
public:
    static const SpiClass& StaticClass();
    using TSPI::TSPI;
    const SpiClass& Class() const override { return StaticClass(); }
};

// The class for a plug-in's type text; TSPI for any text it does not know.
const SpiClass& SpiClassOfType(std::string_view apiVersion);

// Loads fileName once as a plain plug-in to learn its type, then as an object of that type's
// class. nullptr when the library cannot be loaded; a missing required function propagates.
std::unique_ptr<TSPI> CreatePlugin(const SpiPorts& ports, const std::string& fileName);

}  // namespace kembo
