#pragma once
// One picture read by the system's imaging component from data in memory: opened and checked,
// then decoded into the two local-memory blocks the host takes.
#include <windows.h>
#include <wincodec.h>

#include <cstdint>
#include <span>

#include "dib.h"
#include "examine.h"
#include "susie_api.h"
#include "toolkit/com_win.h"

namespace kembowic {

using kembo::ComRef;

using ProgressCallback = int(__stdcall*)(int done, int total, LONG_PTR callerValue);

// The host's progress callback; a null callback never stops the work.
class Progress {
public:
    Progress(ProgressCallback callback, LONG_PTR value) : callback_(callback), value_(value) {}
    // Reports percent; false when the host asks to stop.
    bool Report(int percent) const { return !callback_ || callback_(percent, 100, value_) == 0; }

private:
    ProgressCallback callback_;
    LONG_PTR value_;
};

struct DibHandles {
    HLOCAL header = nullptr;
    HLOCAL pixels = nullptr;
};

class WicPicture {
public:
    // The data must outlive the picture.
    WicPicture(IWICImagingFactory& factory, std::span<const uint8_t> data) : factory_(factory), data_(data) {}

    // Opens the first frame of data that passed the examination; Success or the code to refuse
    // it with.
    SpiResult Open(const Examination& examined);
    const DibPlan& Plan() const { return plan_; }
    // The resolution in dots per inch, 0 where unknown or out of range.
    void Density(uint16_t& x, uint16_t& y) const;
    // Decodes the picture into new blocks, which become the caller's on Success only.
    SpiResult Decode(const Progress& progress, DibHandles& out);

private:
    std::vector<uint8_t> ColourTable();
    SpiResult CopyRows(uint8_t* pixels, const Progress& progress);

    IWICImagingFactory& factory_;
    std::span<const uint8_t> data_;
    ComRef<IWICStream> stream_;
    ComRef<IWICBitmapDecoder> decoder_;
    ComRef<IWICBitmapFrameDecode> frame_;
    ComRef<IWICFormatConverter> converter_;  // set when the frame's layout is not one handled here
    IWICBitmapSource* source_ = nullptr;     // the frame or the converter
    DibPlan plan_;
};

}  // namespace kembowic
