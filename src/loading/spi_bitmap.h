#pragma once
// The plug-in picture class: a bitmap read by the picture plug-ins or by the BMP reader,
// whichever can. The format registry maps every plug-in extension to it.
#include <cstdint>
#include <exception>
#include <functional>
#include <span>
#include <string>

#include "loading/bitmap.h"
#include "loading/plugin_ports.h"

namespace kembo {

class PictureFormats;
class TInSPI;
class TSPI;
class TSPIBitmap;

// What GetPictureInfo told about a picture; valid when that call succeeded.
struct TPictureInfoRec {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t xDensity = 0;
    uint16_t yDensity = 0;
    int16_t colorDepth = 0;
    std::string info;
    bool valid = false;
};

// The reading of one TSPIBitmap: holds the whole data in memory and offers it to the native
// reader and to the plug-ins, in the order the file name suggests.
class TInSPIAble {
public:
    // Turns a plug-in's result (the locked header and pixel blocks, each as long as its block)
    // into the owner's picture; sets result to false when it cannot. pixelStore as for
    // PictureTake: the pixel block's memory when the picture may keep it.
    using BitmapHandler = std::function<void(std::span<const uint8_t> header, std::span<const uint8_t> pixels,
                                             const TPictureInfoRec& info, const PixelStore& pixelStore,
                                             bool& result)>;

    explicit TInSPIAble(TSPIBitmap& owner) : owner_(owner) {}
    TInSPIAble(const TInSPIAble&) = delete;
    TInSPIAble& operator=(const TInSPIAble&) = delete;

    void LoadFromFile(const std::string& fileName);
    void LoadFromStream(std::span<const uint8_t> data) { ReadStream(data); }
    void LoadFromStreamWithName(std::span<const uint8_t> data, const std::string& fileName);

    const std::string& Extension() const { return extension_; }
    const std::string& Name() const { return name_; }

    BitmapHandler OnBitmap;
    TInSPI* BoundPlugin = nullptr;
    bool HeaderRetry = true;

private:
    void ReadStream(std::span<const uint8_t> data);
    bool ReadNative(std::span<const uint8_t> data);
    bool ReadByPlugins(std::span<const uint8_t> data);
    bool TryPlugin(std::span<const uint8_t> data, TSPI& plugin);
    bool TryBlock(std::span<const uint8_t> data, TSPI& plugin);
    bool TakePicture(TSPI& plugin, void* headerHandle, void* pixelHandle, const TPictureInfoRec& info);
    static int32_t SPI_CALL ProgressCallback(int32_t done, int32_t total, intptr_t callerValue) noexcept;

    TSPIBitmap& owner_;
    std::string extension_;
    std::string name_;
    // An error a progress listener raised while a plug-in was working; it may not cross the
    // plug-in, so it waits here until the plug-in has returned.
    std::exception_ptr listenerError_;
};

class TSPIBitmap : public TBitmap {
public:
    static const PictureClass& StaticClass();
    explicit TSPIBitmap(FileSystem& files);

    const PictureClass& Class() const override { return StaticClass(); }
    void LoadFromFile(const std::string& fileName) override;
    void LoadFromStream(std::span<const uint8_t> data) override;
    // Reads data as the file fileName would be read: the name picks the order of the readers and
    // is what the plug-ins are told.
    virtual void LoadFromStreamWithName(std::span<const uint8_t> data, const std::string& fileName);

    using TBitmap::Assign;
    // Takes over the source's plug-in settings and its picture.
    void Assign(const TSPIBitmap& source);

    // When set, only this plug-in is tried.
    TInSPI* BoundPlugin = nullptr;
    // When a plug-in rejects the data, offer it once more without its first 128 bytes.
    bool HeaderRetry = true;

    TInSPIAble& Reader() { return reader_; }

private:
    friend class TInSPIAble;
    void PassSettings();
    void TakeBitmap(std::span<const uint8_t> header, std::span<const uint8_t> pixels, const PixelStore& pixelStore,
                    bool& result);

    TInSPIAble reader_;
};

// Module start: plug-in extensions are registered with TSPIBitmap from now on.
void StartSPIBitmap();
// Module end: every plug-in extension leaves the registry at once.
void EndSPIBitmap(PictureFormats& formats);

}  // namespace kembo
