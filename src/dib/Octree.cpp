#include "dib/Octree.h"

#include "settings/XVuk.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kCellCount = 1u << 18;

uint32_t CellKey(uint8_t red, uint8_t green, uint8_t blue)
{
    return uint32_t(red >> 2) << 12 | uint32_t(green >> 2) << 6 | uint32_t(blue >> 2);
}

} // namespace

OctreeQuantizer::OctreeQuantizer()
    : m_nodes(1) // index 0 stands for "no node"
{
}

void OctreeQuantizer::AddImage(const DibImage& image)
{
    if (image.BitsPerPixel() == 8)
        GatherIndexed(image);
    else if (image.BitsPerPixel() == 24)
        GatherTrueColor(image);
    else
        throw XVuk("CreateOctalPalette only supports 8 and 24 bit bmps");

    for (const Cell& cell : m_cells)
        InsertCell(cell);
    m_cells.clear();

    // Folded only here, after the whole image, never in the middle of one.
    while (m_leafCount > kMaxColors && ReduceTree()) {
    }
}

void OctreeQuantizer::GatherIndexed(const DibImage& image)
{
    // A histogram of the indexes; four interleaved counters keep successive
    // equal bytes from waiting on each other.
    uint32_t counts[4][256];
    std::memset(counts, 0, sizeof counts);
    const int32_t width = image.Width();
    const uint8_t* bits = image.Bits();
    for (int32_t row = 0; row < image.Height(); ++row) {
        const uint8_t* line = bits + size_t(row) * image.RowBytes();
        int32_t x = 0;
        for (; x + 4 <= width; x += 4) {
            ++counts[0][line[x]];
            ++counts[1][line[x + 1]];
            ++counts[2][line[x + 2]];
            ++counts[3][line[x + 3]];
        }
        for (; x < width; ++x)
            ++counts[0][line[x]];
    }
    uint64_t total[256];
    uint32_t distinct = 0;
    for (int i = 0; i < 256; ++i) {
        total[i] = uint64_t(counts[0][i]) + counts[1][i] + counts[2][i] + counts[3][i];
        distinct += total[i] != 0;
    }

    // The order in which the indexes first occur, in storage order; most
    // images show all their colours long before the last row.
    uint8_t order[256];
    uint32_t found = 0;
    bool seen[256] = {};
    for (int32_t row = 0; row < image.Height() && found < distinct; ++row) {
        const uint8_t* line = bits + size_t(row) * image.RowBytes();
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t index = line[x];
            if (!seen[index]) {
                seen[index] = true;
                order[found++] = index;
                if (found == distinct)
                    break;
            }
        }
    }

    // At most 256 cells: merging indexes of one cell by a plain search costs
    // nothing next to the pixels.
    for (uint32_t i = 0; i < found; ++i) {
        const RgbColor color = image.TableColor(order[i]);
        const uint64_t n = total[order[i]];
        const uint32_t key = CellKey(color.red, color.green, color.blue);
        auto cell = std::find_if(m_cells.begin(), m_cells.end(), [key](const Cell& c) { return c.key == key; });
        if (cell == m_cells.end())
            cell = m_cells.insert(m_cells.end(), Cell{key, 0, 0, 0, 0});
        cell->pixels += n;
        cell->red += n * color.red;
        cell->green += n * color.green;
        cell->blue += n * color.blue;
    }
}

void OctreeQuantizer::GatherTrueColor(const DibImage& image)
{
    // An open-addressing table from cell key to its place in m_cells, sized
    // to the image (at most all 2^18 cells), at most half full.
    const uint64_t pixels = uint64_t(image.Width()) * uint64_t(image.Height());
    int bits = 4;
    while ((uint64_t(1) << bits) < 2 * std::min<uint64_t>(pixels, kCellCount))
        ++bits;
    m_cellTable.assign(size_t(1) << bits, CellSlot{kNoKey, 0});
    const uint32_t mask = (uint32_t(1) << bits) - 1;
    auto slotOf = [&](uint32_t key) -> uint32_t {
        uint32_t at = (key * 2654435761u) >> (32 - bits);
        while (m_cellTable[at].key != key) {
            if (m_cellTable[at].key == kNoKey) {
                m_cellTable[at] = CellSlot{key, uint32_t(m_cells.size())};
                m_cells.push_back(Cell{key, 0, 0, 0, 0});
                break;
            }
            at = (at + 1) & mask;
        }
        return m_cellTable[at].slot;
    };

    const uint8_t* bits24 = image.Bits();
    uint32_t lastColor = kNoKey;
    uint32_t lastSlot = 0;
    for (int32_t row = 0; row < image.Height(); ++row) {
        const uint8_t* p = bits24 + size_t(row) * image.RowBytes();
        for (int32_t x = 0; x < image.Width(); ++x, p += 3) {
            const uint32_t color = uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
            if (color != lastColor) { // runs of one colour skip the lookup
                lastColor = color;
                lastSlot = slotOf(CellKey(p[2], p[1], p[0]));
            }
            Cell& cell = m_cells[lastSlot];
            ++cell.pixels;
            cell.red += p[2];
            cell.green += p[1];
            cell.blue += p[0];
        }
    }
    m_cellTable.clear();
}

void OctreeQuantizer::InsertCell(const Cell& cell)
{
    if (m_root == kNone)
        m_root = CreateNode(0);
    uint32_t node = m_root;
    for (int level = 0;; ++level) {
        if (m_nodes[node].leaf) {
            Node& leaf = m_nodes[node];
            leaf.pixels += cell.pixels;
            leaf.red += cell.red;
            leaf.green += cell.green;
            leaf.blue += cell.blue;
            return;
        }
        const int shift = 5 - level;
        const uint32_t index = ((cell.key >> (12 + shift)) & 1) << 2 | ((cell.key >> (6 + shift)) & 1) << 1 |
                               ((cell.key >> shift) & 1);
        uint32_t child = m_nodes[node].children[index];
        if (child == kNone) {
            child = CreateNode(level + 1); // may move m_nodes: index again below
            m_nodes[node].children[index] = child;
        }
        node = child;
    }
}

uint32_t OctreeQuantizer::CreateNode(int level)
{
    uint32_t index;
    if (!m_freeNodes.empty()) {
        index = m_freeNodes.back();
        m_freeNodes.pop_back();
    } else {
        index = uint32_t(m_nodes.size());
        m_nodes.push_back(Node{});
    }
    Node& node = m_nodes[index];
    node = Node{};
    if (level == kLeafLevel) {
        node.leaf = true;
        ++m_leafCount;
    } else {
        node.next = m_reducible[level];
        m_reducible[level] = index;
    }
    return index;
}

void OctreeQuantizer::FreeNode(uint32_t index)
{
    m_nodes[index] = Node{};
    m_freeNodes.push_back(index);
}

bool OctreeQuantizer::ReduceTree()
{
    int level = kLeafLevel - 1;
    while (level > 0 && m_reducible[level] == kNone)
        --level;
    const uint32_t index = m_reducible[level];
    if (index == kNone)
        return false; // nothing left to fold (the root is a leaf already)
    m_reducible[level] = m_nodes[index].next;

    Node merged = m_nodes[index];
    uint32_t counted = 0;
    for (uint32_t& child : merged.children) {
        if (child == kNone)
            continue;
        // The deepest list is folded first, so every child is a leaf.
        const Node& leaf = m_nodes[child];
        merged.red += leaf.red;
        merged.green += leaf.green;
        merged.blue += leaf.blue;
        merged.pixels += leaf.pixels;
        FreeNode(child);
        child = kNone;
        ++counted;
    }
    merged.leaf = true;
    merged.next = kNone;
    m_nodes[index] = merged;
    m_leafCount = m_leafCount + 1 - counted;
    return true;
}

std::vector<PaletteEntry> OctreeQuantizer::Colors() const
{
    if (m_leafCount > kMaxColors)
        throw XVuk("Leaf count too high");
    std::vector<PaletteEntry> entries;
    entries.reserve(m_leafCount);
    if (m_root != kNone)
        CollectColors(m_root, entries);
    return entries;
}

void OctreeQuantizer::CollectColors(uint32_t index, std::vector<PaletteEntry>& entries) const
{
    const Node& node = m_nodes[index];
    if (node.leaf) {
        const uint64_t n = node.pixels ? node.pixels : 1;
        entries.push_back(PaletteEntry{uint8_t(node.red / n), uint8_t(node.green / n), uint8_t(node.blue / n), 0});
        return;
    }
    for (uint32_t child : node.children)
        if (child != kNone)
            CollectColors(child, entries);
}
