// Prints how fast CreateOctalPalette goes, in pixels per second: over the
// eight pictures of the skinned window, over a large 8-bit and a large 24-bit
// image, and, for scale, a plain read of the 8-bit image's bytes.
#include "dib/Dib.h"
#include "dib/OctalPalette.h"
#include "settings/XVuk.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

std::string RepositoryRoot()
{
    std::string source = __FILE__; // .../tests/bench/host/dib_octree_bench.cpp
    const size_t at = source.rfind("/tests/bench/");
    return at == std::string::npos ? "." : source.substr(0, at);
}

// Best time of a few runs, in seconds.
double BestSeconds(const std::function<void()>& work, int runs)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = uint8_t(v >> (8 * i));
}

// A packed image of `width` x `height` with random pixels: 8 bits over 256
// random colours, or 24 bits of a smooth picture with noise.
std::vector<uint8_t> LargeImage(int32_t width, int32_t height, uint16_t bpp)
{
    const uint32_t table = bpp == 8 ? 256 : 0;
    const size_t rowBytes = (size_t(width) * bpp + 31) / 32 * 4;
    std::vector<uint8_t> packed(40 + 4 * table + rowBytes * size_t(height));
    Put32(packed, 0, 40);
    Put32(packed, 4, uint32_t(width));
    Put32(packed, 8, uint32_t(height));
    packed[12] = 1;
    packed[14] = uint8_t(bpp);
    std::mt19937 random(1);
    for (size_t i = 0; i < 4 * table; ++i)
        packed[40 + i] = uint8_t(random());
    uint8_t* bits = packed.data() + 40 + 4 * table;
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = bits + size_t(y) * rowBytes;
        for (int32_t x = 0; x < width; ++x) {
            if (bpp == 8) {
                row[x] = uint8_t(random());
            } else {
                const uint32_t noise = random();
                row[3 * x] = uint8_t(x * 255 / width + (noise & 7));
                row[3 * x + 1] = uint8_t(y * 255 / height + (noise >> 3 & 7));
                row[3 * x + 2] = uint8_t((x + y) * 127 / (width + height) + (noise >> 6 & 15));
            }
        }
    }
    return packed;
}

void Report(const char* what, uint64_t pixels, double seconds)
{
    std::printf("%-44s %10llu pixels  %9.3f ms  %8.1f Mpixel/s\n", what, static_cast<unsigned long long>(pixels),
                seconds * 1e3, double(pixels) / seconds / 1e6);
}

} // namespace

int main()
{
    const std::string root = RepositoryRoot();
    std::printf("CreateOctalPalette, best of several runs\n");

    // The eight pictures of the skinned window: background, lights, title
    // bar, logo and the button strip once for each of the four buttons.
    std::vector<std::unique_ptr<CDib>> skin;
    const char* files[] = {"resources/art/skin_background.bmp", "resources/art/skin_lights.bmp",
                           "resources/art/skin_titlebar.bmp",   "resources/dist/LogoSkin.bmp",
                           "resources/art/skin_buttons.bmp",    "resources/art/skin_buttons.bmp",
                           "resources/art/skin_buttons.bmp",    "resources/art/skin_buttons.bmp"};
    std::vector<CDib*> list;
    uint64_t skinPixels = 0;
    try {
        for (const char* file : files) {
            skin.push_back(std::make_unique<CDib>(false));
            skin.back()->LoadFromFile(root + "/" + file);
            list.push_back(skin.back().get());
            skinPixels += uint64_t(skin.back()->m_nWidth) * uint64_t(skin.back()->m_nHeight);
        }
        size_t colors = 0;
        const double t = BestSeconds([&] { colors = CreateOctalPalette(list)->GetEntries().size(); }, 50);
        Report("skin, eight pictures", skinPixels, t);
        std::printf("%-44s %zu colours\n", "", colors);
    } catch (const XVuk& e) {
        std::printf("skin pictures: %s\n", e.GetMessageText().c_str());
    }

    for (uint16_t bpp : {8, 24}) {
        const int32_t side = 4096;
        const std::vector<uint8_t> packed = LargeImage(side, side, bpp);
        CDib dib(false);
        dib.LoadPacked(packed.data(), uint32_t(packed.size()));
        const uint64_t pixels = uint64_t(side) * side;
        const double t = BestSeconds([&] { CreateOctalPalette({&dib}); }, bpp == 8 ? 10 : 3);
        Report(bpp == 8 ? "8-bit 4096 x 4096" : "24-bit 4096 x 4096", pixels, t);
        if (bpp == 8) {
            // The memory-read limit: one byte a pixel, summed.
            volatile uint64_t sink = 0;
            const double read = BestSeconds(
                [&] {
                    uint64_t sum = 0;
                    const uint8_t* p = dib.GetBits();
                    for (uint64_t i = 0; i < pixels; ++i)
                        sum += p[i];
                    sink = sum;
                },
                10);
            Report("  plain read of the same bytes", pixels, read);
        }
    }
    return 0;
}
