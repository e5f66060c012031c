// The octree palette against a straightforward implementation of the
// algorithm written here from its description: heap nodes, a pixel-by-pixel
// walk, reducible lists, folding after each image, depth-first collection.
// Both must give identical palettes for every input.
#include "dib/Dib.h"
#include "dib/OctalPalette.h"
#include "dib/Octree.h"
#include "settings/XVuk.h"

#include "../support/BmpBuilder.h"
#include "../support/ErrorText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

using bmptest::BmpLayout;
using bmptest::Rgb;

namespace reference {

struct OctreeNode {
    bool leaf = false;
    uint32_t pixelCount = 0;
    uint32_t redSum = 0;
    uint32_t greenSum = 0;
    uint32_t blueSum = 0;
    OctreeNode* children[8] = {};
    OctreeNode* next = nullptr;
};

class Builder {
public:
    ~Builder() { Delete(m_root); }

    void AddImage(const DibImage& image)
    {
        const int bpp = image.BitsPerPixel();
        if (bpp != 8 && bpp != 24)
            throw std::runtime_error("CreateOctalPalette only supports 8 and 24 bit bmps");
        const uint32_t bitsPerRow = uint32_t(image.Width()) * uint32_t(bpp);
        uint32_t padding = 32 - bitsPerRow % 32;
        if (padding == 32)
            padding = 0;
        const uint8_t* p = image.Bits();
        const uint8_t* table = image.ColorTable();
        for (int32_t row = 0; row < image.Height(); ++row) {
            for (int32_t x = 0; x < image.Width(); ++x) {
                uint8_t r, g, b;
                if (bpp == 8) {
                    const uint8_t index = *p++;
                    if (index < image.ColorCount()) {
                        b = table[4 * index];
                        g = table[4 * index + 1];
                        r = table[4 * index + 2];
                    } else {
                        r = g = b = 0;
                    }
                } else {
                    b = *p++;
                    g = *p++;
                    r = *p++;
                }
                InsertColor(&m_root, r, g, b, 0);
            }
            p += padding / 8;
        }
        while (m_leafCount > 236)
            ReduceTree();
    }

    std::vector<PaletteEntry> Collect()
    {
        if (m_leafCount > 236)
            throw std::runtime_error("Leaf count too high");
        std::vector<PaletteEntry> entries(m_leafCount);
        int index = 0;
        if (m_root)
            CollectColors(m_root, entries, index);
        return entries;
    }

private:
    OctreeNode* CreateNode(int level)
    {
        OctreeNode* node = new OctreeNode();
        if (level == 6) {
            node->leaf = true;
            ++m_leafCount;
        } else {
            node->next = m_reducible[level];
            m_reducible[level] = node;
        }
        return node;
    }

    void InsertColor(OctreeNode** slot, uint8_t r, uint8_t g, uint8_t b, int level)
    {
        if (*slot == nullptr)
            *slot = CreateNode(level);
        OctreeNode* node = *slot;
        if (node->leaf) {
            node->pixelCount++;
            node->redSum += r;
            node->greenSum += g;
            node->blueSum += b;
            return;
        }
        const int mask = 0x80 >> level;
        const int shift = 7 - level;
        const int child = ((r & mask) >> shift) * 4 + ((g & mask) >> shift) * 2 + ((b & mask) >> shift);
        InsertColor(&node->children[child], r, g, b, level + 1);
    }

    void ReduceTree()
    {
        int level = 5;
        while (m_reducible[level] == nullptr && level > 0)
            --level;
        OctreeNode* node = m_reducible[level];
        m_reducible[level] = node->next;
        uint32_t r = 0, g = 0, b = 0;
        int children = 0;
        for (OctreeNode*& child : node->children) {
            if (child) {
                r += child->redSum;
                g += child->greenSum;
                b += child->blueSum;
                node->pixelCount += child->pixelCount;
                delete child;
                child = nullptr;
                ++children;
            }
        }
        node->leaf = true;
        node->redSum = r;
        node->greenSum = g;
        node->blueSum = b;
        m_leafCount -= children - 1;
    }

    void CollectColors(OctreeNode* node, std::vector<PaletteEntry>& entries, int& index)
    {
        if (node->leaf) {
            entries[index].red = uint8_t(node->redSum / node->pixelCount);
            entries[index].green = uint8_t(node->greenSum / node->pixelCount);
            entries[index].blue = uint8_t(node->blueSum / node->pixelCount);
            entries[index].flags = 0;
            ++index;
            return;
        }
        for (OctreeNode* child : node->children)
            if (child)
                CollectColors(child, entries, index);
    }

    static void Delete(OctreeNode* node)
    {
        if (!node)
            return;
        for (OctreeNode* child : node->children)
            Delete(child);
        delete node;
    }

    OctreeNode* m_root = nullptr;
    uint32_t m_leafCount = 0;
    OctreeNode* m_reducible[6] = {};
};

std::vector<PaletteEntry> Palette(const std::vector<const DibImage*>& images)
{
    Builder builder;
    for (const DibImage* image : images)
        builder.AddImage(*image);
    return builder.Collect();
}

} // namespace reference

namespace {

DibImage Make(const BmpLayout& layout)
{
    const std::vector<uint8_t> bytes = bmptest::PackedBitmap(layout);
    return DibImage::FromPacked(bytes.data(), bytes.size());
}

std::vector<PaletteEntry> Quantize(const std::vector<const DibImage*>& images)
{
    OctreeQuantizer tree;
    for (const DibImage* image : images)
        tree.AddImage(*image);
    return tree.Colors();
}

BmpLayout RandomIndexed(std::mt19937& random, int32_t width, int32_t height, uint32_t tableSize, bool overflowIndexes)
{
    BmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bpp = 8;
    layout.colorsUsed = tableSize == 256 && random() % 2 ? 0 : tableSize;
    for (uint32_t i = 0; i < tableSize; ++i)
        layout.table.push_back(Rgb{uint8_t(random()), uint8_t(random()), uint8_t(random())});
    if (tableSize > 4 && random() % 3 == 0)
        layout.table[1] = layout.table[3]; // the same colour under two indexes
    const uint32_t indexRange = overflowIndexes ? 256 : tableSize;
    for (int32_t i = 0; i < width * height; ++i)
        layout.indexes.push_back(random() % indexRange);
    return layout;
}

BmpLayout RandomTrueColor(std::mt19937& random, int32_t width, int32_t height, int colorBits)
{
    BmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bpp = 24;
    layout.padByte = 0xA5;
    const int dropped = 8 - colorBits;
    for (int32_t i = 0; i < width * height; ++i)
        layout.colors.push_back(Rgb{uint8_t((random() >> dropped) << dropped), uint8_t((random() >> dropped) << dropped),
                                  uint8_t((random() >> dropped) << dropped)});
    return layout;
}

// Depth-first order of leaves at level 6: the bits of the three top-6-bit
// components interleaved, red first.
uint32_t TreeOrder(const PaletteEntry& c)
{
    uint32_t key = 0;
    for (int bit = 7; bit >= 2; --bit)
        key = key << 3 | ((c.red >> bit) & 1) << 2 | ((c.green >> bit) & 1) << 1 | ((c.blue >> bit) & 1);
    return key;
}

} // namespace

TEST(Octree, TenDistinctColoursComeBackExactlyInTreeOrder)
{
    std::vector<PaletteEntry> colors = {{250, 0, 0, 0},   {0, 250, 0, 0},   {0, 0, 250, 0},   {128, 128, 128, 0},
                                        {12, 200, 96, 0}, {255, 255, 255, 0}, {0, 0, 0, 0},   {64, 32, 16, 0},
                                        {100, 100, 4, 0}, {180, 20, 220, 0}};
    BmpLayout layout;
    layout.width = 10;
    layout.height = 3;
    for (const PaletteEntry& c : colors)
        layout.table.push_back(Rgb{c.red, c.green, c.blue});
    layout.colorsUsed = 10;
    for (int i = 0; i < 30; ++i)
        layout.indexes.push_back(uint32_t(i * 7 % 10));
    const DibImage image = Make(layout);
    std::sort(colors.begin(), colors.end(),
              [](const PaletteEntry& a, const PaletteEntry& b) { return TreeOrder(a) < TreeOrder(b); });
    EXPECT_EQ(colors, Quantize({&image}));
    EXPECT_EQ(colors, reference::Palette({&image}));
}

TEST(Octree, ColoursWithEqualTopBitsShareOneAveragedEntry)
{
    BmpLayout layout;
    layout.width = 2;
    layout.height = 1;
    layout.bpp = 24;
    layout.colors = {Rgb{0, 0, 0}, Rgb{3, 3, 3}};
    const DibImage image = Make(layout);
    EXPECT_EQ((std::vector<PaletteEntry>{{1, 1, 1, 0}}), Quantize({&image}));
}

TEST(Octree, ManyColoursFoldToAtMost236InTheReferenceOrder)
{
    std::mt19937 random(7);
    const DibImage image = Make(RandomTrueColor(random, 61, 47, 8));
    const std::vector<PaletteEntry> palette = Quantize({&image});
    EXPECT_LE(palette.size(), 236u);
    EXPECT_GT(palette.size(), 100u);
    EXPECT_EQ(reference::Palette({&image}), palette);
}

TEST(Octree, EveryCellOfTheCubeAtOnce)
{
    // 64 x 64 x 64 colours, one per cell: the largest tree one image can grow.
    BmpLayout layout;
    layout.width = 512;
    layout.height = 512;
    layout.bpp = 24;
    for (uint32_t i = 0; i < 512 * 512; ++i) {
        const uint32_t k = (i * 2654435761u) & 0x3FFFF; // every cell once, shuffled
        layout.colors.push_back(Rgb{uint8_t((k >> 12) << 2 | 1), uint8_t(((k >> 6) & 63) << 2 | 2), uint8_t((k & 63) << 2 | 3)});
    }
    const DibImage image = Make(layout);
    const std::vector<PaletteEntry> palette = Quantize({&image});
    EXPECT_LE(palette.size(), 236u);
    EXPECT_EQ(reference::Palette({&image}), palette);
}

TEST(Octree, MatchesTheReferenceOnRandomImageLists)
{
    std::mt19937 random(2024);
    for (int round = 0; round < 60; ++round) {
        std::vector<DibImage> images;
        const int count = 1 + int(random() % 4);
        for (int i = 0; i < count; ++i) {
            const int32_t width = 1 + int32_t(random() % 40);
            const int32_t height = 1 + int32_t(random() % 30);
            if (random() % 2) {
                const uint32_t table = 1 + random() % 256;
                images.push_back(Make(RandomIndexed(random, width, height, table, random() % 4 == 0)));
            } else {
                images.push_back(Make(RandomTrueColor(random, width, height, 2 + int(random() % 7))));
            }
        }
        std::vector<const DibImage*> list;
        for (const DibImage& image : images)
            list.push_back(&image);
        ASSERT_EQ(reference::Palette(list), Quantize(list)) << "round " << round;
    }
}

TEST(Octree, MatchesTheReferenceOnStructuredImages)
{
    std::vector<DibImage> images;
    auto add = [&](int32_t w, int32_t h, auto color) {
        BmpLayout layout;
        layout.width = w;
        layout.height = h;
        layout.bpp = 24;
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                layout.colors.push_back(color(x, y));
        images.push_back(Make(layout));
    };
    add(256, 3, [](int x, int) { return Rgb{uint8_t(x), uint8_t(x), uint8_t(x)}; });               // grey ramp
    add(256, 256, [](int x, int y) { return Rgb{uint8_t(x), uint8_t(y), uint8_t(x ^ y)}; });        // smooth + xor
    add(97, 13, [](int x, int y) { return Rgb{uint8_t(x * 2), 40, uint8_t(200 - y * 9)}; });         // odd width
    add(5, 5, [](int, int) { return Rgb{9, 9, 9}; });                                               // one colour
    add(300, 2, [](int x, int) { return x % 2 ? Rgb{255, 255, 255} : Rgb{0, 0, 0}; });              // two colours
    for (const DibImage& image : images)
        ASSERT_EQ(reference::Palette({&image}), Quantize({&image}));
    std::vector<const DibImage*> all;
    for (const DibImage& image : images)
        all.push_back(&image);
    EXPECT_EQ(reference::Palette(all), Quantize(all));
    std::reverse(all.begin(), all.end());
    EXPECT_EQ(reference::Palette(all), Quantize(all));
}

TEST(Octree, TrueColourRowPaddingIsNeverReadAsColour)
{
    // Width 3: 9 bytes of pixels and 3 of padding a row, padding 0xA5.
    BmpLayout layout;
    layout.width = 3;
    layout.height = 4;
    layout.bpp = 24;
    layout.padByte = 0xA5;
    layout.colors.assign(12, Rgb{0, 0, 0});
    const DibImage image = Make(layout);
    EXPECT_EQ((std::vector<PaletteEntry>{{0, 0, 0, 0}}), Quantize({&image}));
    EXPECT_EQ(reference::Palette({&image}), Quantize({&image}));
}

TEST(Octree, IndexedAndTrueColourImagesOfTheSameColoursAgree)
{
    std::mt19937 random(99);
    BmpLayout indexed = RandomIndexed(random, 33, 21, 200, false);
    BmpLayout rgb;
    rgb.width = indexed.width;
    rgb.height = indexed.height;
    rgb.bpp = 24;
    for (uint32_t index : indexed.indexes)
        rgb.colors.push_back(indexed.table[index]);
    const DibImage a = Make(indexed);
    const DibImage b = Make(rgb);
    EXPECT_EQ(Quantize({&a}), Quantize({&b}));
    EXPECT_EQ(reference::Palette({&a, &b}), Quantize({&a, &b}));
}

TEST(Octree, IndexesBeyondTheTableCountAsBlack)
{
    BmpLayout layout;
    layout.width = 2;
    layout.height = 1;
    layout.table = {Rgb{255, 255, 255}};
    layout.colorsUsed = 1;
    layout.indexes = {0, 77};
    const DibImage image = Make(layout);
    const std::vector<PaletteEntry> want = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    EXPECT_EQ(want, Quantize({&image}));
    EXPECT_EQ(want, reference::Palette({&image}));
}

TEST(Octree, SumsDoNotOverflowOnHugeImages)
{
    // 4200 x 4200 white pixels: their red sum needs more than 32 bits.
    BmpLayout layout;
    layout.width = 4200;
    layout.height = 1;
    layout.table = {Rgb{255, 255, 255}};
    layout.colorsUsed = 1;
    std::vector<uint8_t> bytes = bmptest::PackedBitmap(layout);
    bmptest::Put32(bytes, 8, 4200);
    bytes.resize(bytes.size() + size_t(4199) * 4200, 0);
    const DibImage image = DibImage::FromPacked(bytes.data(), bytes.size());
    EXPECT_EQ((std::vector<PaletteEntry>{{255, 255, 255, 0}}), Quantize({&image}));
}

TEST(CreateOctalPalette, BuildsOnePaletteForSeveralPictures)
{
    BmpLayout a;
    a.width = 2;
    a.height = 1;
    a.table = {Rgb{200, 0, 0}, Rgb{0, 0, 200}};
    a.colorsUsed = 2;
    a.indexes = {0, 1};
    BmpLayout b;
    b.width = 1;
    b.height = 1;
    b.bpp = 24;
    b.colors = {Rgb{0, 200, 0}};
    const std::vector<uint8_t> aBytes = bmptest::PackedBitmap(a);
    const std::vector<uint8_t> bBytes = bmptest::PackedBitmap(b);
    CDib first(false), second(true), empty(false);
    first.LoadPacked(aBytes.data(), uint32_t(aBytes.size()));
    second.LoadPacked(bBytes.data(), uint32_t(bBytes.size()));
    const std::unique_ptr<CPalette> palette = CreateOctalPalette({&first, nullptr, &empty, &second});
    ASSERT_NE(nullptr, palette);
    const std::vector<PaletteEntry> want = {{0, 0, 200, 0}, {0, 200, 0, 0}, {200, 0, 0, 0}};
    EXPECT_EQ(want, palette->GetEntries());
    first.SetPalette(palette.get());
    second.SetPalette(palette.get());
    EXPECT_EQ(palette.get(), second.m_pPalette);
}

TEST(CreateOctalPalette, NothingToQuantizeGivesNoPalette)
{
    CDib empty(false);
    EXPECT_EQ(nullptr, CreateOctalPalette({}));
    EXPECT_EQ(nullptr, CreateOctalPalette({&empty}));
}

TEST(CreateOctalPalette, RefusesOtherDepthsAlsoAfterTheFirstImage)
{
    BmpLayout eight;
    eight.width = 1;
    eight.height = 1;
    eight.table = {Rgb{1, 2, 3}};
    eight.colorsUsed = 1;
    BmpLayout four = eight;
    four.bpp = 4;
    const std::vector<uint8_t> e = bmptest::PackedBitmap(eight);
    const std::vector<uint8_t> f = bmptest::PackedBitmap(four);
    CDib good(false), bad(false);
    good.LoadPacked(e.data(), uint32_t(e.size()));
    bad.LoadPacked(f.data(), uint32_t(f.size()));
    EXPECT_EQ("CreateOctalPalette only supports 8 and 24 bit bmps", ErrorText([&] { CreateOctalPalette({&good, &bad}); }));
    EXPECT_EQ("CreateOctalPalette only supports 8 and 24 bit bmps", ErrorText([&] { CreateOctalPalette({&bad, &good}); }));
}
