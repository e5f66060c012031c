// The status page's traffic meter: a child window inside a placeholder
// control, showing two levels as bars of ten cells.
#pragma once

#include "framework/Accessible.h"
#include "framework/Handles.h"
#include "pages/MeterDrawing.h"
#include "pages/PlaceholderChild.h"

#include <cstdint>
#include <memory>

class CActivityMeter : public CPlaceholderChild, public IAccessibleContent {
public:
    CActivityMeter() = default;

    // Levels 0; creates the meter as a visible child (no title, id 0) of
    // the placeholder, covering its client rectangle.
    bool Create(HWND placeholder);

    // Stores the levels and, when the meter is shown and its lit cells
    // change, draws it at once (and tells screen readers its new value).
    void SetLevels(int32_t upstreamLevel, int32_t downstreamLevel);

    // A progress bar named "Activity" whose value says in words what the
    // cells show ("received 30 %, sent 10 %"), in the language module's words.
    AccessibleItem AccessibleSelf() const override;

protected:
    void Paint(HDC target, bool print) override;
    void DrawChange(HDC own) override;
    void OnDpiChanged() override;

private:
    // Brings the picture to the levels (all of it, or only the cells that
    // change) and copies it to the target.
    void Draw(HDC target, bool whole);

    std::wstring m_name;        // the language module's name of the meter
    std::wstring m_valuePattern; // and of its value, with %1 received and %2 sent
    CAccessibleChanges m_changes;
    MeterLevels m_levels;  // what the meter shows
    MeterLevels m_painted; // what the picture holds, when m_bPainted
    bool m_bPainted = false;
    std::unique_ptr<MemoryCanvas> m_picture; // where the meter is composed, made at its first paint
};
