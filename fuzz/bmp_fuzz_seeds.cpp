// Writes a few small BMPs with our own writer: fuzz seeds where BMP Suite is not at hand.
#include <cstdio>
#include <string>

#include "image/bmp_writer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bmp_fuzz_seeds FOLDER\n");
        return 2;
    }
    const struct {
        const char* name;
        int width, height;
    } seeds[] = {{"one.bmp", 1, 1}, {"odd.bmp", 7, 5}, {"wide.bmp", 33, 2}};
    for (const auto& seed : seeds) {
        kembo::PixelBuffer pixels(seed.width, seed.height);
        for (int y = 0; y < seed.height; ++y) {
            for (int x = 0; x < seed.width; ++x) {
                pixels.SetPixel(x, y, kembo::Bgr{uint8_t(x * 37), uint8_t(y * 53), uint8_t(x ^ y)});
            }
        }
        const auto file = kembo::WriteBmp24(pixels);
        const std::string path = std::string(argv[1]) + "/" + seed.name;
        std::FILE* out = std::fopen(path.c_str(), "wb");
        if (!out || std::fwrite(file.data(), 1, file.size(), out) != file.size() || std::fclose(out) != 0) {
            std::fprintf(stderr, "bmp_fuzz_seeds: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
