// The BMP reader against BMP Suite: every file of its manifest decoded and compared with the
// reference pictures beside it (P6 PPMs, RGB).
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "base/errors.h"
#include "image/bmp_reader.h"

namespace kembo {
namespace {

namespace fs = std::filesystem;

struct Entry {
    std::string path, cls, expect;
    int bits = 0;
    std::vector<std::string> refs;  // "html/NAME.png"
};

struct Ppm {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    const uint8_t* At(int x, int y) const { return rgb.data() + (static_cast<std::size_t>(y) * width + x) * 3; }
};

std::vector<uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Split(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    for (std::string field; std::getline(stream, field, separator);) fields.push_back(field);
    return fields;
}

std::vector<Entry> ReadManifest(const fs::path& file) {
    std::vector<Entry> entries;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const auto f = Split(line, '\t');
        if (f.size() < 9) {
            ADD_FAILURE() << "manifest line with " << f.size() << " fields: " << line;
            continue;
        }
        Entry e{f[0], f[1], f[7], std::atoi(f[4].c_str()), {}};
        if (f[8] != "-") e.refs = Split(f[8], ',');
        entries.push_back(e);
    }
    return entries;
}

std::optional<Ppm> ReadPpm(const fs::path& path) {
    const auto bytes = ReadFile(path);
    std::size_t at = 0;
    auto token = [&]() -> std::string {
        std::string t;
        while (at < bytes.size()) {
            if (bytes[at] == '#') {
                while (at < bytes.size() && bytes[at] != '\n') ++at;
            } else if (std::isspace(bytes[at])) {
                if (!t.empty()) break;
                ++at;
            } else {
                t += static_cast<char>(bytes[at++]);
            }
        }
        return t;
    };
    if (token() != "P6") return std::nullopt;
    Ppm ppm;
    ppm.width = std::atoi(token().c_str());
    ppm.height = std::atoi(token().c_str());
    if (token() != "255") return std::nullopt;
    ++at;  // the single blank before the samples
    const std::size_t size = static_cast<std::size_t>(ppm.width) * ppm.height * 3;
    if (ppm.width <= 0 || ppm.height <= 0 || bytes.size() - at != size) return std::nullopt;
    ppm.rgb.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end());
    return ppm;
}

enum class Rule { kExact, kTolerance1, kAlpha, kSwapRedGreen };

// Compares decoded pixels with a reference; alpha references pass only where alpha > 0.
bool Matches(const PixelBuffer& image, const Ppm& ref, Rule rule, const Ppm* alpha = nullptr) {
    if (image.Width() != ref.width || image.Height() != ref.height) return false;
    for (int y = 0; y < ref.height; ++y) {
        for (int x = 0; x < ref.width; ++x) {
            if (alpha && alpha->At(x, y)[0] == 0) continue;
            const Bgr p = image.Pixel(x, y);
            const uint8_t* r = ref.At(x, y);
            const int got[3] = {rule == Rule::kSwapRedGreen ? p.g : p.r, rule == Rule::kSwapRedGreen ? p.r : p.g, p.b};
            for (int c = 0; c < 3; ++c) {
                const int diff = std::abs(got[c] - r[c]);
                if (diff > (rule == Rule::kTolerance1 ? 1 : 0)) return false;
            }
        }
    }
    return true;
}

// Whether a decoded picture matches what the manifest expects of it.
bool MatchesExpectation(const PixelBuffer& image, const Entry& e, const fs::path& suite) {
    for (const auto& ref : e.refs) {
        const fs::path base = suite / fs::path(ref).replace_extension();
        const auto noAlpha = ReadPpm(base.string() + ".noalpha.ppm");
        const auto alpha = ReadPpm(base.string() + ".alpha.ppm");
        const auto plain = ReadPpm(base.string() + ".ref.ppm");
        if (!plain) {
            ADD_FAILURE() << "missing reference " << base << ".ref.ppm";
            continue;
        }
        bool ok = false;
        if (noAlpha && alpha && (e.expect == "alpha" || e.expect == "oneof")) {
            ok = Matches(image, *noAlpha, Rule::kAlpha, &*alpha);
        } else if (e.expect == "tol1") {
            ok = Matches(image, *plain, Rule::kTolerance1);
        } else if (e.expect == "icc") {
            ok = Matches(image, *plain, Rule::kSwapRedGreen);
        } else if (e.expect == "exact" || e.expect == "oneof" || e.expect == "tentative") {
            ok = Matches(image, *plain, Rule::kExact);
        }
        if (ok) return true;
    }
    return false;
}

struct Counts {
    int matched = 0, decoded = 0, refused = 0, failed = 0;
};

TEST(BmpSuite, DecodesEveryFileOfTheManifest) {
    // The suite lives in the project's test data; without it this check must not pass quietly.
    const char* root = std::getenv("KEMBO_TESTDATA");
    ASSERT_NE(root, nullptr) << "KEMBO_TESTDATA is not set";
    const fs::path suite = fs::path(root) / "bmpsuite";
    ASSERT_TRUE(fs::exists(suite / "MANIFEST.txt")) << "no BMP Suite under " << suite;

    const auto entries = ReadManifest(suite / "MANIFEST.txt");
    ASSERT_FALSE(entries.empty());
    Counts good, questionable, bad;
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.path + " (" + e.expect + ")");
        const auto file = ReadFile(suite / e.path);
        ASSERT_FALSE(file.empty());
        Counts& counts = e.cls == "good" ? good : e.cls == "questionable" ? questionable : bad;
        std::optional<BmpImage> image;
        try {
            image = ReadBmp(file);
        } catch (const PictureError& error) {
            EXPECT_STRNE(error.what(), "");
            ++counts.refused;
            if (e.cls == "good") {
                ++counts.failed;
                ADD_FAILURE() << "refused: " << error.what();
            }
            continue;
        }
        if (MatchesExpectation(image->pixels, e, suite)) {
            ++counts.matched;
            EXPECT_EQ(image->bitsPerPixel, e.bits);
        } else if (e.cls == "bad") {
            ++counts.decoded;
        } else {
            ++counts.failed;
            ADD_FAILURE() << "decoded, but matches no reference";
        }
    }
    std::printf("bmpsuite: good %d matched, %d refused, %d failed; questionable %d matched, %d refused, "
                "%d failed; bad %d matched, %d decoded, %d refused\n",
                good.matched, good.refused, good.failed, questionable.matched, questionable.refused,
                questionable.failed, bad.matched, bad.decoded, bad.refused);
}

}  // namespace
}  // namespace kembo
