#pragma once
// The picture decoders the system's imaging component offers, as the plug-in lists them.
#include <windows.h>
#include <wincodec.h>

#include <span>
#include <vector>

#include "plugin_texts.h"
#include "signature.h"
#include "toolkit/com_win.h"

namespace kembowic {

using kembo::ComRef;
using kembo::ComScope;

// A new imaging factory; empty when the component is missing. Needs COM on the thread.
ComRef<IWICImagingFactory> CreateFactory();

// The format a decoder's container stands for; Unknown for one not known here.
Format FormatOfContainer(const GUID& container);

struct InstalledDecoders {
    std::vector<FormatText> texts;  // one pattern and description a decoder, in the system's order
    std::vector<Format> formats;    // the known formats among them
};

// The decoders present, without those the host reads itself; found at the first call and kept
// for the life of the library.
const InstalledDecoders& Decoders();

// True when a decoder other than those left to the host claims the data by its signature.
bool DecoderRecognises(IWICImagingFactory& factory, std::span<const uint8_t> header);

}  // namespace kembowic
