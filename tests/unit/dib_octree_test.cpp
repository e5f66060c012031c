// The octree palette against a straightforward implementation of the
// algorithm written here from its description: heap nodes, a pixel-by-pixel
// walk, reducible lists, folding after each image, depth-first collection.
// Both must give identical palettes for every input.
#include "dib/Dib.h"
#include "dib/OctalPalette.h"
#include "dib/Octree.h"

#include "../support/BmpBuilder.h"
#include "../support/ErrorText.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using bmptest::BmpLayout;
using bmptest::Rgb;

namespace reference {

struct Node {
    bool leaf = false;
    uint32_t count = 0, red = 0, green = 0, blue = 0;
    Node* children[8] = {};
    Node* next = nullptr;
};

class Builder {
public:
    ~Builder() { Delete(m_root); }

    // Pixels as the loader reads them (checked against BMP Suite elsewhere).
    void AddImage(const DibImage& image)
    {
        for (int32_t row = 0; row < image.Height(); ++row)
            for (int32_t x = 0; x < image.Width(); ++x) {
                const RgbColor c = image.PixelColor(x, row);
                Insert(&m_root, c.red, c.green, c.blue, 0);
            }
        while (m_leaves > 236)
            Reduce();
    }

    std::vector<PaletteEntry> Collect()
    {
        std::vector<PaletteEntry> entries;
        if (m_root)
            Collect(m_root, entries);
        return entries;
    }

private:
    void Insert(Node** slot, uint8_t r, uint8_t g, uint8_t b, int level)
    {
        if (*slot == nullptr) {
            *slot = new Node();
            if (level == 6) {
                (*slot)->leaf = true;
                ++m_leaves;
            } else {
                (*slot)->next = m_reducible[level];
                m_reducible[level] = *slot;
            }
        }
        Node* node = *slot;
        if (node->leaf) {
            node->count++, node->red += r, node->green += g, node->blue += b;
            return;
        }
        const int shift = 7 - level;
        Insert(&node->children[((r >> shift) & 1) * 4 + ((g >> shift) & 1) * 2 + ((b >> shift) & 1)], r, g, b, level + 1);
    }

    void Reduce()
    {
        int level = 5;
        while (m_reducible[level] == nullptr && level > 0)
            --level;
        Node* node = m_reducible[level];
        m_reducible[level] = node->next;
        int children = 0;
        for (Node*& child : node->children) {
            if (child) {
                node->red += child->red, node->green += child->green, node->blue += child->blue;
                node->count += child->count;
                Delete(child);
                child = nullptr;
                ++children;
            }
        }
        node->leaf = true;
        m_leaves -= children - 1;
    }

    static void Collect(const Node* node, std::vector<PaletteEntry>& entries)
    {
        if (node->leaf)
            entries.push_back({uint8_t(node->red / node->count), uint8_t(node->green / node->count),
                               uint8_t(node->blue / node->count), 0});
        for (const Node* child : node->children)
            if (child)
                Collect(child, entries);
    }

    static void Delete(Node* node)
    {
        if (!node)
            return;
        for (Node* child : node->children)
            Delete(child);
        delete node;
    }

    Node* m_root = nullptr;
    uint32_t m_leaves = 0;
    Node* m_reducible[6] = {};
};

} // namespace reference

namespace {

DibImage Make(const BmpLayout& layout)
{
    const std::vector<uint8_t> bytes = bmptest::PackedBitmap(layout);
    return DibImage::FromPacked(bytes.data(), bytes.size());
}

BmpLayout Random(std::mt19937& random)
{
    BmpLayout layout;
    layout.width = 1 + int32_t(random() % 70);
    layout.height = 1 + int32_t(random() % 50);
    layout.padByte = 0xA5; // padding is never a colour
    if (random() % 2) {
        const uint32_t tableSize = 1 + random() % 256;
        layout.colorsUsed = tableSize;
        for (uint32_t i = 0; i < tableSize; ++i)
            layout.table.push_back(Rgb{uint8_t(random()), uint8_t(random()), uint8_t(random())});
        const uint32_t range = random() % 4 == 0 ? 256 : tableSize; // indexes beyond the table read as black
        for (int32_t i = 0; i < layout.width * layout.height; ++i)
            layout.indexes.push_back(random() % range);
    } else {
        layout.bpp = 24;
        const int dropped = int(random() % 7); // from few to very many distinct colours
        for (int32_t i = 0; i < layout.width * layout.height; ++i)
            layout.colors.push_back(Rgb{uint8_t((random() >> dropped) << dropped),
                                        uint8_t((random() >> dropped) << dropped), uint8_t((random() >> dropped) << dropped)});
    }
    return layout;
}

} // namespace

TEST(Octree, MatchesTheReferenceOnRandomImageLists)
{
    std::mt19937 random(2024);
    for (int round = 0; round < 80; ++round) {
        std::vector<DibImage> images;
        const int count = 1 + int(random() % 4);
        for (int i = 0; i < count; ++i)
            images.push_back(Make(Random(random)));
        OctreeQuantizer tree;
        reference::Builder builder;
        for (const DibImage& image : images) {
            tree.AddImage(image);
            builder.AddImage(image);
        }
        const std::vector<PaletteEntry> colours = tree.Colors();
        ASSERT_LE(colours.size(), 236u);
        ASSERT_EQ(builder.Collect(), colours) << "round " << round;
    }
}

TEST(Octree, ColoursWithEqualTopBitsShareOneAveragedEntry)
{
    BmpLayout layout;
    layout.width = 3;
    layout.bpp = 24;
    layout.colors = {Rgb{0, 0, 0}, Rgb{3, 3, 3}, Rgb{255, 0, 0}};
    OctreeQuantizer tree;
    tree.AddImage(Make(layout));
    EXPECT_EQ((std::vector<PaletteEntry>{{1, 1, 1, 0}, {255, 0, 0, 0}}), tree.Colors());
}

TEST(CreateOctalPalette, OnePaletteForSeveralPicturesAndOnlyEightOrTwentyFourBits)
{
    BmpLayout a;
    a.width = 2;
    a.table = {Rgb{200, 0, 0}, Rgb{0, 0, 200}};
    a.colorsUsed = 2;
    a.indexes = {0, 1};
    BmpLayout b;
    b.bpp = 24;
    b.colors = {Rgb{0, 200, 0}};
    BmpLayout four = a;
    four.bpp = 4;
    CDib first(false), second(true), empty(false), bad(false);
    for (auto [dib, layout] : {std::pair{&first, &a}, {&second, &b}, {&bad, &four}}) {
        const std::vector<uint8_t> bytes = bmptest::PackedBitmap(*layout);
        dib->LoadPacked(bytes.data(), uint32_t(bytes.size()));
    }
    const std::unique_ptr<CPalette> palette = CreateOctalPalette({&first, nullptr, &empty, &second});
    ASSERT_NE(nullptr, palette);
    EXPECT_EQ((std::vector<PaletteEntry>{{0, 0, 200, 0}, {0, 200, 0, 0}, {200, 0, 0, 0}}), palette->GetEntries());
    EXPECT_EQ(nullptr, CreateOctalPalette({&empty}));
    EXPECT_EQ("CreateOctalPalette only supports 8 and 24 bit bmps", ErrorText([&] { CreateOctalPalette({&first, &bad}); }));
}
