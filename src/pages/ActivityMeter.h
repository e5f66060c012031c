// The status page's traffic meter: a child window inside a placeholder
// control, showing two levels as bars of ten cells.
#pragma once

#include "framework/Handles.h"
#include "pages/PlaceholderChild.h"

#include <cstdint>
#include <memory>

class CActivityMeter : public CPlaceholderChild {
public:
    CActivityMeter() = default;

    // Levels 0; creates the meter as a visible child (no title, id 0) of
    // the placeholder, covering its client rectangle.
    bool Create(HWND placeholder);

    // Stores the levels and, when the meter is shown and its lit cells
    // change, draws it at once.
    void SetLevels(int32_t upstreamLevel, int32_t downstreamLevel);

protected:
    void Paint(HDC target, bool print) override;

private:
    void Draw(HDC target);

    int32_t m_nUpstreamLevel = 0;   // the lower bar
    int32_t m_nDownstreamLevel = 0; // the upper bar
    bool m_bPainted = false;         // the levels' cells are on the screen
    std::unique_ptr<MemoryCanvas> m_picture; // where the meter is composed, made at its first paint
};
