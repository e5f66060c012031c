#include "framework/DialogScaler.h"

#include "framework/Dpi.h"
#include "settings/SystemFunction.h"

#include <algorithm>

namespace {

bool HasClass(HWND window, const wchar_t* className)
{
    wchar_t name[16] = L"";
    GetClassNameW(window, name, 16);
    return lstrcmpiW(name, className) == 0;
}

// Windows 10 (1803 on) scales dialogs of a per-monitor program itself; the
// scaler does it instead, the same on every system.
void TakeOverScaling(HWND dialog)
{
    using Function = BOOL(WINAPI*)(HWND, int, int);
    static const auto setBehavior = SystemFunction<Function>(L"user32.dll", "SetDialogDpiChangeBehavior");
    constexpr int kDisableAll = 1; // DDC_DISABLE_ALL
    if (setBehavior)
        setBehavior(dialog, kDisableAll, kDisableAll);
}

// A window's rectangle in its parent's client coordinates; a combo box's
// with its list dropped, which is the height it is given.
RECT PlaceInParent(HWND window, HWND parent)
{
    RECT place = {};
    if (HasClass(window, L"ComboBox"))
        SendMessageW(window, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&place));
    else
        GetWindowRect(window, &place);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

} // namespace

void CDialogScaler::Adopt(HWND window, unsigned madeAtDpi)
{
    struct Walk {
        CDialogScaler* scaler;
        unsigned dpi;
    } walk = {this, madeAtDpi};
    TakeOverScaling(window);
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            auto& w = *reinterpret_cast<Walk*>(data);
            auto& controls = w.scaler->m_controls;
            if (std::any_of(controls.begin(), controls.end(), [&](const Control& c) { return c.window == child; }))
                return TRUE;
            if (HasClass(child, L"#32770"))
                TakeOverScaling(child);
            const HWND parent = GetParent(child);
            controls.push_back({child, parent, PlaceInParent(child, parent), w.dpi,
                                reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0))});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&walk));
}

void CDialogScaler::Apply(unsigned dpi)
{
    std::map<std::pair<HFONT, unsigned>, UniqueFont> fonts;
    for (const Control& control : m_controls) {
        if (!IsWindow(control.window))
            continue;
        if (control.font) {
            HFONT font = control.font;
            if (control.madeAt != dpi) {
                UniqueFont& scaled = fonts[{control.font, control.madeAt}];
                if (!scaled) {
                    LOGFONTW description = {};
                    GetObjectW(control.font, sizeof description, &description);
                    description.lfHeight = Dpi::Rescale(description.lfHeight, control.madeAt, dpi);
                    description.lfWidth = Dpi::Rescale(description.lfWidth, control.madeAt, dpi);
                    scaled.reset(CreateFontIndirectW(&description));
                }
                font = scaled ? scaled.get() : control.font;
            }
            SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        const RECT place = Dpi::Rescale(control.place, control.madeAt, dpi);
        SetWindowPos(control.window, nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Every control has its new font now: the old scale's fonts may go.
    m_fonts = std::move(fonts);
    m_nDpi = dpi;
}
