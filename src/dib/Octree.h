// Octree colour quantisation over several images, limited to 236 colours.
//
// The tree has leaves at level 6 (two colours share a leaf exactly when their
// top six bits of red, green and blue agree); each inner level keeps a list of
// its nodes, newest first. After each whole image the tree is folded while it
// has more than 236 leaves: the newest node of the deepest level that has any
// becomes a leaf holding the sums of its children. The palette is the leaves'
// average colours in depth-first order, children by index (bit 2 red, bit 1
// green, bit 0 blue).
//
// Pixels are gathered per image into cells (the top six bits of each
// component) in first-occurrence order and then inserted cell by cell. The
// tree only grows at a colour's first occurrence and sums are order-free, so
// this gives exactly the tree a pixel-by-pixel walk gives, at the speed of a
// histogram. Sums are 64-bit, so even a very large image averages right.
#pragma once

#include "dib/DibImage.h"
#include "dib/PaletteEntry.h"

#include <cstdint>
#include <vector>

class OctreeQuantizer {
public:
    static constexpr uint32_t kMaxColors = 236;
    static constexpr int kLeafLevel = 6;

    OctreeQuantizer();

    // Adds every pixel of the image, then folds the tree down to the colour
    // limit. Raises "CreateOctalPalette only supports 8 and 24 bit bmps" for
    // any other depth (before touching the tree).
    void AddImage(const DibImage& image);

    uint32_t LeafCount() const { return m_leafCount; }

    // The palette entries (flags 0); empty when no pixel was added.
    // Raises "Leaf count too high" when more than 236 leaves remain.
    std::vector<PaletteEntry> Colors() const;

private:
    static constexpr uint32_t kNone = 0; // node index 0 is never used

    struct Node {
        uint64_t pixels;
        uint64_t red;
        uint64_t green;
        uint64_t blue;
        uint32_t children[8];
        uint32_t next;
        bool leaf;
    };

    // Pixels of one image that share a cell; kept in first-occurrence order.
    struct Cell {
        uint32_t key; // red, green, blue top six bits: rrrrrrggggggbbbbbb
        uint64_t pixels;
        uint64_t red;
        uint64_t green;
        uint64_t blue;
    };

    void GatherIndexed(const DibImage& image);
    void GatherTrueColor(const DibImage& image);
    void InsertCell(const Cell& cell);
    uint32_t CreateNode(int level);
    void FreeNode(uint32_t index);
    bool ReduceTree(); // false when nothing is left to fold
    void CollectColors(uint32_t node, std::vector<PaletteEntry>& entries) const;

    std::vector<Node> m_nodes;
    std::vector<uint32_t> m_freeNodes;
    uint32_t m_root = kNone;
    uint32_t m_leafCount = 0;
    uint32_t m_reducible[kLeafLevel] = {};

    struct CellSlot {
        uint32_t key;
        uint32_t slot; // index in m_cells
    };
    static constexpr uint32_t kNoKey = 0xFFFFFFFF;

    std::vector<CellSlot> m_cellTable; // true-colour images: cell key -> m_cells index
    std::vector<Cell> m_cells;
};
