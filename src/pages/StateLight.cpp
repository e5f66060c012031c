#include "pages/StateLight.h"

#include "framework/Dpi.h"
#include "settings/ProgramIcons.h"

namespace {

bool SameBrush(const LOGBRUSH& a, const LOGBRUSH& b)
{
    return a.lbStyle == b.lbStyle && a.lbColor == b.lbColor && a.lbHatch == b.lbHatch;
}

} // namespace

bool CStateLight::Create(HWND placeholder)
{
    m_nShown = 0;
    return CreateOver(placeholder);
}

void CStateLight::Show(int iconId)
{
    if (iconId == m_nShown)
        return;
    Light& light = m_lights[iconId];
    if (!light.icon)
        light.icon.reset(LoadProgramIcon(iconId, Dpi::SystemMetric(SM_CXICON, Dpi())));
    m_nShown = iconId;
    // Drawn at once, without a paint cycle: the blink is the page's most
    // frequent change.
    DrawNow();
}

void CStateLight::Describe(const std::wstring& state)
{
    m_state = state;
    if (IsWindow())
        m_changes.Notify(m_hWnd, *this);
}

AccessibleItem CStateLight::AccessibleSelf() const
{
    AccessibleItem item;
    item.role = ROLE_SYSTEM_GRAPHIC;
    item.name = m_state;
    return item;
}

void CStateLight::OnDpiChanged()
{
    // Icons of the new size, loaded again as they are shown.
    const int shown = m_nShown;
    m_lights.clear();
    m_nShown = 0;
    if (shown)
        Show(shown);
}

// The placeholder's background, asked as a static control asks its parent.
HBRUSH CStateLight::Background(HDC target)
{
    const HWND parent = GetParent(m_hWnd);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(target), reinterpret_cast<LPARAM>(m_hWnd)));
    return brush ? brush : GetSysColorBrush(COLOR_BTNFACE);
}

void CStateLight::Draw(HDC target, bool keep)
{
    RECT client = {};
    GetClientRect(m_hWnd, &client);
    const HBRUSH background = Background(target);
    LOGBRUSH style = {};
    GetObjectW(background, sizeof style, &style);
    if (!SameBrush(style, m_composedOn)) {
        for (auto& [id, light] : m_lights)
            light.picture.reset();
        m_composedOn = style;
    }
    const auto found = m_lights.find(m_nShown);
    if (found == m_lights.end() || !found->second.icon) {
        FillRect(target, &client, background);
        return;
    }
    Light& light = found->second;
    if (!keep) { // a print: drawn directly
        Compose(target, client, background, light.icon.get());
        return;
    }
    if (!light.picture) {
        auto picture = std::make_unique<MemoryCanvas>(
            target, MemoryCanvas::ColorBitmap(target, client.right, client.bottom));
        if (!picture->IsReady()) { // no memory for a picture: drawn directly
            Compose(target, client, background, light.icon.get());
            return;
        }
        Compose(picture->Dc(), client, background, light.icon.get());
        light.picture = std::move(picture);
    }
    BitBlt(target, 0, 0, client.right, client.bottom, light.picture->Dc(), 0, 0, SRCCOPY);
}

// The background with the icon centred at its own size, as a centred icon
// control shows it.
void CStateLight::Compose(HDC target, const RECT& client, HBRUSH background, HICON icon)
{
    FillRect(target, &client, background);
    ICONINFO info = {};
    BITMAP size = {};
    if (!GetIconInfo(icon, &info))
        return;
    UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
    GetObjectW(color ? color.get() : mask.get(), sizeof size, &size);
    if (!color)
        size.bmHeight /= 2; // a monochrome icon's mask holds both halves
    DrawIconEx(target, client.right / 2 - size.bmWidth / 2, client.bottom / 2 - size.bmHeight / 2, icon,
               size.bmWidth, size.bmHeight, 0, nullptr, DI_NORMAL);
}
