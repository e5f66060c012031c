// The palette several pictures of one window share: octree quantisation of
// every pixel of every picture (see Octree.h), at most 236 colours.
#pragma once

#include "dib/Palette.h"

#include <memory>
#include <vector>

class CDib;

// Images are read in list order; entries that are null or hold no image are
// passed over. Raises XVuk "CreateOctalPalette only supports 8 and 24 bit
// bmps" for an image of another depth, "Leaf count too high", "Out of
// memory", "Can't create bitmap palette". Returns null when the list holds no
// pixel at all (the callers treat that as their own failure). The caller owns
// the result and lends it to the images with SetPalette.
std::unique_ptr<CPalette> CreateOctalPalette(const std::vector<CDib*>& images);
