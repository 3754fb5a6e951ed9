#include "test_pictures.h"

#include <objbase.h>

#include <algorithm>
#include <stdexcept>

#include "com_out.h"

namespace kembo::testing {
namespace {

// COM for one encoding, undone afterwards, so tests can watch what the plug-in leaves behind.
struct ComForCall {
    const bool owned = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    ~ComForCall() {
        if (owned) CoUninitialize();
    }
};

void Check(HRESULT hr, const char* what) {
    if (FAILED(hr)) throw std::runtime_error(std::string("imaging component: ") + what);
}

uint32_t Crc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

std::string Be32(uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

std::string Chunk(const std::string& type, const std::string& data) {
    return Be32(static_cast<uint32_t>(data.size())) + type + data + Be32(Crc32(type + data));
}

// zlib data of stored (uncompressed) deflate blocks.
std::string Stored(const std::string& raw) {
    std::string out = "\x78\x01";
    size_t at = 0;
    do {
        const size_t n = std::min<size_t>(raw.size() - at, 65535);
        const bool last = at + n == raw.size();
        out += static_cast<char>(last ? 1 : 0);
        out += {static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(~n), static_cast<char>(~n >> 8)};
        out += raw.substr(at, n);
        at += n;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    return out + Be32(b << 16 | a);
}

}  // namespace

TestImage Blocks(int blockWidth, int blockHeight, const std::vector<std::vector<Rgb>>& colours) {
    TestImage image;
    image.width = blockWidth * static_cast<int>(colours.front().size());
    image.height = blockHeight * static_cast<int>(colours.size());
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) image.pixels.push_back(colours[y / blockHeight][x / blockWidth]);
    return image;
}

std::string EncodeWic(const GUID& container, const TestImage& image, int frames) {
    const ComForCall com;
    ComRef<IWICImagingFactory> factory;
    Check(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                           factory.Receive()),
          "factory");
    ComRef<IStream> stream;
    Check(CreateStreamOnHGlobal(nullptr, TRUE, Out(stream)), "stream");
    ComRef<IWICBitmapEncoder> encoder;
    Check(factory->CreateEncoder(container, nullptr, Out(encoder)), "encoder");
    Check(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache), "initialise");

    const bool indexed = IsEqualGUID(container, GUID_ContainerFormatGif);
    std::vector<Rgb> colours;
    if (indexed) {
        for (const Rgb& c : image.pixels)
            if (std::find(colours.begin(), colours.end(), c) == colours.end()) colours.push_back(c);
    }
    for (int frame = 0; frame < frames; ++frame) {
        ComRef<IWICBitmapFrameEncode> target;
        ComRef<IPropertyBag2> options;
        Check(encoder->CreateNewFrame(Out(target), Out(options)), "frame");
        Check(target->Initialize(options.Get()), "frame options");
        Check(target->SetSize(image.width, image.height), "size");
        WICPixelFormatGUID format = indexed ? GUID_WICPixelFormat8bppIndexed : GUID_WICPixelFormat24bppBGR;
        Check(target->SetPixelFormat(&format), "pixel format");
        const auto shade = [&](Rgb c) { return frame % 2 == 0 ? c : Rgb{uint8_t(~c.r), uint8_t(~c.g), uint8_t(~c.b)}; };
        std::vector<BYTE> pixels;
        UINT stride = 0;
        if (indexed) {
            ComRef<IWICPalette> palette;
            Check(factory->CreatePalette(Out(palette)), "palette");
            std::vector<WICColor> table;
            for (const Rgb& c : colours) {
                const Rgb s = shade(c);
                table.push_back(0xFF000000u | uint32_t{s.r} << 16 | uint32_t{s.g} << 8 | s.b);
            }
            Check(palette->InitializeCustom(table.data(), static_cast<UINT>(table.size())), "colours");
            Check(target->SetPalette(palette.Get()), "set palette");
            stride = static_cast<UINT>((image.width + 3) / 4 * 4);
            pixels.resize(static_cast<size_t>(stride) * image.height);
            for (int y = 0; y < image.height; ++y)
                for (int x = 0; x < image.width; ++x)
                    pixels[static_cast<size_t>(y) * stride + x] =
                        static_cast<BYTE>(std::find(colours.begin(), colours.end(), image.At(x, y)) - colours.begin());
        } else {
            stride = static_cast<UINT>((image.width * 3 + 3) / 4 * 4);
            pixels.resize(static_cast<size_t>(stride) * image.height);
            for (int y = 0; y < image.height; ++y) {
                for (int x = 0; x < image.width; ++x) {
                    const Rgb c = shade(image.At(x, y));
                    BYTE* p = &pixels[static_cast<size_t>(y) * stride + x * 3];
                    p[0] = c.b;
                    p[1] = c.g;
                    p[2] = c.r;
                }
            }
        }
        Check(target->WritePixels(image.height, stride, static_cast<UINT>(pixels.size()), pixels.data()), "pixels");
        Check(target->Commit(), "frame commit");
    }
    Check(encoder->Commit(), "commit");

    STATSTG stat{};
    Check(stream->Stat(&stat, STATFLAG_NONAME), "stat");
    std::string bytes(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
    const LARGE_INTEGER start{};
    Check(stream->Seek(start, STREAM_SEEK_SET, nullptr), "seek");
    ULONG read = 0;
    Check(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read), "read");
    bytes.resize(read);
    return bytes;
}

std::string WithExifOrientation(const std::string& jpeg, int orientation) {
    // "MM", 42, first directory at 8; one entry: tag 274, SHORT, count 1, the value; no next one.
    std::string tiff = std::string("MM\0*", 4) + Be32(8) + std::string("\0\1", 2) + std::string("\x01\x12\0\3", 4) +
                       Be32(1) + BigEndian16(static_cast<uint16_t>(orientation)) + std::string(2, '\0') + Be32(0);
    const std::string payload = std::string("Exif\0\0", 6) + tiff;
    const std::string segment = "\xFF\xE1" + BigEndian16(static_cast<uint16_t>(payload.size() + 2)) + payload;
    return jpeg.substr(0, 2) + segment + jpeg.substr(2);
}

std::string PngFile(int width, int height, int bitDepth, int colourType, const std::vector<std::string>& rows,
                    const std::string& palette, const std::string& transparency) {
    std::string header = Be32(static_cast<uint32_t>(width)) + Be32(static_cast<uint32_t>(height));
    header += {static_cast<char>(bitDepth), static_cast<char>(colourType), 0, 0, 0};
    std::string raw;
    for (const std::string& row : rows) raw += '\0' + row;
    std::string file = "\x89PNG\r\n\x1A\n" + Chunk("IHDR", header);
    if (!palette.empty()) file += Chunk("PLTE", palette);
    if (!transparency.empty()) file += Chunk("tRNS", transparency);
    return file + Chunk("IDAT", Stored(raw)) + Chunk("IEND", "");
}

std::string BigEndian16(uint16_t value) { return {static_cast<char>(value >> 8), static_cast<char>(value)}; }

}  // namespace kembo::testing
