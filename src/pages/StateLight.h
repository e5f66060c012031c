// The status page's state icon: a child window inside a placeholder that
// shows one of the state icons centred on the placeholder's background.
// Each icon is composed with that background into a picture once; showing
// it again, as the blinking does every second, only copies the picture.
#pragma once

#include "framework/Accessible.h"
#include "framework/Handles.h"
#include "pages/PlaceholderChild.h"

#include <map>
#include <memory>

class CStateLight : public CPlaceholderChild, public IAccessibleContent {
public:
    CStateLight() = default;

    // Creates the light as a visible child (no title, id 0) of the
    // placeholder, covering its client rectangle; it shows nothing yet.
    bool Create(HWND placeholder);

    // Shows the program icon of that id (loaded at its first use, at the
    // icon size of the window's DPI) and, when it differs from the one
    // shown, draws it at once.
    void Show(int iconId);
    // What a screen reader reads for the light: the line state it shows
    // (a picture named by that text); a new text is told once.
    void Describe(const std::wstring& state);
    AccessibleItem AccessibleSelf() const override;

protected:
    void Paint(HDC target, bool print) override { Draw(target, !print); }
    void OnDpiChanged() override;

private:
    // Paints the shown light; `keep` keeps its picture for the next time.
    void Draw(HDC target, bool keep);
    static void Compose(HDC target, const RECT& client, HBRUSH background, HICON icon);
    HBRUSH Background(HDC target);

    // An icon and, once it was painted, its picture on the background.
    struct Light {
        UniqueIcon icon;
        std::unique_ptr<MemoryCanvas> picture;
    };
    std::map<int, Light> m_lights;
    int m_nShown = 0;
    std::wstring m_state;
    CAccessibleChanges m_changes;
    // The background the pictures were composed on; another one (a colour
    // scheme change) composes them anew.
    LOGBRUSH m_composedOn = {};
};
