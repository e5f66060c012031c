// The program's pictures at other display scales. A picture made for 100 %
// (96 DPI) is shown at another DPI at the size the DPI gives it:
//   - a whole multiple of its size repeats each pixel (sharp pixel art);
//   - any other size is filtered (RgbStretch), never picked pixel by pixel,
//     since pixels of uneven widths show.
// A picture drawn with its key colour left out keeps that key exact: a pixel
// mostly of the key becomes the key, every other takes only the picture's
// colours, so no fringe of the key colour shows at the edges.
#pragma once

#include "dib/Dib.h"

#include <cstdint>
#include <string>

// `target` becomes a copy of the loaded `source` at width x height (each at
// least 1): 8 bits or fewer with the source's colour table for a whole
// multiple, else 24 bits. The source was coloured as it loaded, so the
// target's m_bRecolor is not applied again. Raises what CDib::LoadPacked raises.
void LoadScaledCopy(CDib& target, const CDib& source, int width, int height);

// A .bmp file at a DPI: as it is at 96, else scaled by the DPI. Raises what
// CDib::LoadFromFile raises; a file that cannot be read leaves `target` as it was.
void LoadFileForDpi(CDib& target, const std::string& path, unsigned dpi);

#ifdef _WIN32
// A picture of the program file, drawn twice: for 100 % and for 200 %.
struct ArtResource {
    uint16_t standard;
    uint16_t fine;
};

// At 96 DPI the standard picture and at 192 the fine one, each as it is; at
// any other DPI the fine one (below 96 the standard one) brought to the
// standard picture's size scaled by the DPI. Raises what CDib::LoadFromResource raises.
void LoadResourceForDpi(CDib& target, ArtResource art, unsigned dpi);
// The same for pictures held as whole .bmp file images (data resources).
void LoadFileResourceForDpi(CDib& target, ArtResource art, unsigned dpi);
#endif
