// Scales dialogs made from templates, and the child dialogs inside them, to
// another DPI: every control's place and every font its controls use. A
// window that moves to a monitor of another scale is drawn there with its
// controls laid out as at that scale.
//
// The places and fonts each window had at the DPI it was made at stay the
// base of every change, so that moving back and forth never drifts, and
// only the fonts of the scale shown are kept. The dialog windows themselves
// keep the fonts the dialog manager made for them (which it deletes); their
// own size is their owner's to set.
#pragma once

#include "framework/Handles.h"

#include <windows.h>

#include <map>
#include <utility>
#include <vector>

class CDialogScaler {
public:
    CDialogScaler() = default;
    CDialogScaler(const CDialogScaler&) = delete;
    CDialogScaler& operator=(const CDialogScaler&) = delete;

    // Records every window inside `window` (controls, child dialogs and
    // theirs) not recorded yet, as made at `madeAtDpi`. Windows made later
    // (a page made when its tab is first chosen) are adopted when made.
    void Adopt(HWND window, unsigned madeAtDpi);
    // Gives every recorded window that still exists its place and font at
    // `dpi`; fonts of the previous scale are deleted once none uses them.
    void Apply(unsigned dpi);
    unsigned AppliedDpi() const { return m_nDpi; }

private:
    struct Control {
        HWND window;
        HWND parent;
        RECT place; // in the parent's client coordinates, at madeAt
        unsigned madeAt;
        HFONT font; // the font it was made with (the dialog manager's); null for none
    };
    std::vector<Control> m_controls;
    // Fonts made for the scale shown, by the font and DPI they were scaled from.
    std::map<std::pair<HFONT, unsigned>, UniqueFont> m_fonts;
    unsigned m_nDpi = 0; // 0 until applied: every window as it was made
};
