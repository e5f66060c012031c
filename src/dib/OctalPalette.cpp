#include "dib/OctalPalette.h"

#include "dib/Dib.h"
#include "dib/Octree.h"
#include "settings/XVuk.h"

#include <new>

std::unique_ptr<CPalette> CreateOctalPalette(const std::vector<CDib*>& images)
{
    std::vector<PaletteEntry> colors;
    try {
        OctreeQuantizer tree;
        for (const CDib* dib : images) {
            if (dib != nullptr && dib->GetImage() != nullptr)
                tree.AddImage(*dib->GetImage());
        }
        colors = tree.Colors();
    } catch (const std::bad_alloc&) {
        throw XVuk("Out of memory");
    }
    if (colors.empty())
        return nullptr;
    return std::make_unique<CPalette>(colors);
}
