// Shows a language module's classic dialog the way the program fills it, so
// that its layout can be looked at and captured: the title, the close button,
// both tabs with their pages, every caption from the module's string table,
// and the longest values each control can get (the longest line state and
// mode of the lists, five-digit rates, a long driver text). Stand-ins for the
// logo, the banner, the state icon and the activity bars are painted where
// the program paints the real ones.
//
//   lang_viewer MODULE.dll [status|version] [READY-FILE DONE-FILE]
//
// With the two file names it writes the dialog's window rectangle
// ("left top right bottom", desktop coordinates) to READY-FILE once the
// window is painted, and closes as soon as DONE-FILE exists; without them it
// stays until closed. Test tooling only: it is not shipped.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "settings/ResourceIds.h"

namespace {

constexpr UINT_PTR kPaintTimer = 1;  // first tick: everything painted at once
constexpr UINT_PTR kReadyTimer = 2;  // next tick, after an idle pass has put the pixels on screen
constexpr UINT_PTR kDoneTimer = 3;
constexpr int kLogoWidth = 260, kLogoHeight = 50;
constexpr int kBannerWidth = 180, kBannerHeight = 25, kBannerMargin = 10;

struct Viewer {
    HMODULE module = nullptr;  // borrowed from main
    bool showVersionPage = false;
    std::wstring readyFile, doneFile;
    HWND pages[2] = {};
};

std::wstring ModuleString(HMODULE module, UINT id)
{
    const wchar_t* text = nullptr;
    int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, length) : std::wstring();
}

std::vector<std::wstring> SplitAtComma(const std::wstring& text)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        size_t comma = text.find(L',', start);
        parts.push_back(text.substr(start, comma - start));
        if (comma == std::wstring::npos)
            return parts;
        start = comma + 1;
    }
}

// The longest label of a "value,label,..." list.
std::wstring LongestLabel(const std::wstring& list)
{
    std::vector<std::wstring> parts = SplitAtComma(list);
    std::wstring longest;
    for (size_t i = 1; i < parts.size(); i += 2)
        if (parts[i].size() > longest.size())
            longest = parts[i];
    return longest;
}

void SetText(HWND dialog, int control, const std::wstring& text)
{
    SetDlgItemTextW(dialog, control, text.c_str());
}

INT_PTR CALLBACK PageProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

void FillStatusPage(HWND page, HMODULE module)
{
    const struct { int control; UINT string; } captions[] = {
        {IDC_CAPTION_STATE, IDS_LABEL_STATE},         {IDC_CAPTION_MODE, IDS_LABEL_MODE},
        {IDC_CAPTION_CONNECTION, IDS_GROUP_CONNECTION}, {IDC_CAPTION_RATES, IDS_GROUP_RATES},
        {IDC_CAPTION_ACTIVITY, IDS_GROUP_ACTIVITY},   {IDC_CAPTION_UPSTREAM, IDS_RATE_UPSTREAM},
        {IDC_CAPTION_DOWNSTREAM, IDS_RATE_DOWNSTREAM}, {IDC_CAPTION_LEGEND, IDS_METER_LEGEND},
    };
    for (const auto& caption : captions)
        SetText(page, caption.control, ModuleString(module, caption.string));
    SetText(page, IDC_STATE_TEXT, LongestLabel(ModuleString(module, IDS_LINE_STATES)));
    SetText(page, IDC_MODE_TEXT, LongestLabel(ModuleString(module, IDS_LINE_MODES)) + L" (FBM)");
    SetText(page, IDC_DOWNSTREAM_TEXT, L"99999");
    SetText(page, IDC_UPSTREAM_TEXT, L"99999");
    SetText(page, IDC_METER_PLACE, L"");
    SetText(page, IDC_STATE_ICON_PLACE, L"");

    // The state icon, in a control of its own covering the placeholder.
    HWND place = GetDlgItem(page, IDC_STATE_ICON_PLACE);
    RECT r;
    GetClientRect(place, &r);
    HWND icon = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_ICON | SS_CENTERIMAGE, 0, 0,
                                r.right, r.bottom, place, reinterpret_cast<HMENU>(IDC_STATE_ICON_PLACE),
                                nullptr, nullptr);
    SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_INFORMATION)), 0);
}

void FillVersionPage(HWND page, HMODULE module)
{
    SetText(page, IDC_CAPTION_DRIVER, ModuleString(module, IDS_LABEL_DRIVER));
    SetText(page, IDC_CAPTION_PROGRAM, ModuleString(module, IDS_LABEL_PROGRAM));
    SetText(page, IDC_PROGRAM_VERSION, L"4.2.4");
    SetText(page, IDC_DRIVER_VERSION, L"ADSL USB/PCI WDM driver 3.41.07 build 2087, 2004-11-23, A2pB023");
}

// Two bars of ten cells, as the activity meter draws them.
void PaintMeterStandIn(HWND place)
{
    RECT client;
    GetClientRect(place, &client);
    ClientDC dc(place);
    int half = client.bottom / 2 - 1;
    RECT bars[2] = {{client.left, client.top, client.right, half}, {client.left, half + 2, client.right, client.bottom}};
    const int lit[2] = {7, 3};
    for (int b = 0; b < 2; ++b) {
        const int margin = 2;
        int w = (bars[b].right - bars[b].left - 2 * margin) / 10 - margin;
        for (int i = 0; i < 10; ++i) {
            RECT cell = {i * (w + margin) + margin, bars[b].top + margin, 0, bars[b].bottom - margin};
            cell.right = cell.left + w;
            COLORREF colour = i < 4 ? RGB(0, 128, 0) : i < 7 ? RGB(128, 128, 0) : RGB(128, 0, 0);
            UniqueBrush brush(CreateSolidBrush(i < lit[b] ? colour : GetSysColor(COLOR_BTNFACE)));
            FillRect(dc.get(), &cell, brush.get());
            InflateRect(&cell, 1, 1);
            DrawEdge(dc.get(), &cell, EDGE_SUNKEN, BF_RECT);
        }
    }
}

// A labelled rectangle of the given size: where a picture of the program goes.
void PaintPictureStandIn(HDC dc, int x, int y, int width, int height, const wchar_t* label, COLORREF colour)
{
    RECT r = {x, y, x + width, y + height};
    UniqueBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &r, brush.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextW(dc, label, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void PaintClassicStandIns(HWND dialog, HWND statusPage)
{
    if (statusPage && IsWindowVisible(statusPage))
        PaintMeterStandIn(GetDlgItem(statusPage, IDC_METER_PLACE));
    if (HWND frame = GetDlgItem(dialog, IDC_LOGO_FRAME)) {
        ClientDC dc(frame);
        PaintPictureStandIn(dc.get(), 0, 0, kLogoWidth, kLogoHeight, L"logo 260 x 50", RGB(40, 70, 140));
    }
    RECT client;
    GetClientRect(dialog, &client);
    ClientDC dc(dialog);
    PaintPictureStandIn(dc.get(), kBannerMargin, client.bottom - kBannerHeight - kBannerMargin, kBannerWidth,
                        kBannerHeight, L"banner 180 x 25", RGB(140, 60, 40));
}

void CreatePages(HWND dialog, Viewer& viewer)
{
    HWND tabs = GetDlgItem(dialog, IDC_TABS);
    const struct { int templ; UINT title; } pages[2] = {{IDD_STATUS_PAGE, IDS_TAB_STATUS},
                                                         {IDD_VERSION_PAGE, IDS_TAB_VERSION}};
    for (int i = 0; i < 2; ++i) {
        viewer.pages[i] = CreateDialogParamW(viewer.module, MAKEINTRESOURCEW(pages[i].templ), tabs, PageProc, 0);
        std::wstring title = ModuleString(viewer.module, pages[i].title);
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = title.data();
        SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    FillStatusPage(viewer.pages[0], viewer.module);
    FillVersionPage(viewer.pages[1], viewer.module);

    // The page area the program computes: below (or above) the tab items,
    // two pixels inside.
    RECT area, item;
    GetClientRect(tabs, &area);
    SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    if (item.top < area.bottom / 2)
        area.top = item.bottom + 1;
    else
        area.bottom = item.top - 1;
    InflateRect(&area, -2, -2);
    for (HWND page : viewer.pages)
        SetWindowPos(page, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top, 0);

    int shown = viewer.showVersionPage ? 1 : 0;
    SendMessageW(tabs, TCM_SETCURSEL, shown, 0);
    ShowWindow(viewer.pages[shown], SW_SHOWNORMAL);
}

void WriteReadyFile(HWND dialog, const std::wstring& path)
{
    RECT r;
    GetWindowRect(dialog, &r);
    std::wstring partial = path + L".part";
    FILE* file = _wfopen(partial.c_str(), L"w");
    if (!file)
        return;
    std::fprintf(file, "%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    std::fclose(file);
    MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

INT_PTR CALLBACK ClassicProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* viewer = reinterpret_cast<Viewer*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        viewer = reinterpret_cast<Viewer*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        SetWindowTextW(dialog, ModuleString(viewer->module, IDS_TITLE).c_str());
        SetText(dialog, IDC_CLOSE, ModuleString(viewer->module, IDS_CLOSE_BUTTON));
        SetText(dialog, IDC_LOGO_FRAME, L"");
        CreatePages(dialog, *viewer);
        if (!viewer->readyFile.empty()) {
            SetTimer(dialog, kPaintTimer, 50, nullptr);
            SetTimer(dialog, kDoneTimer, 100, nullptr);
        }
        return TRUE;
    case WM_PAINT: {
        { PaintDC paint(dialog); }
        // The controls paint themselves first, so the stand-ins stay on top.
        RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        PaintClassicStandIns(dialog, viewer ? viewer->pages[0] : nullptr);
        return TRUE;
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->idFrom == IDC_TABS && header->code == TCN_SELCHANGE) {
            int selected = static_cast<int>(SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0));
            for (int i = 0; i < 2; ++i)
                ShowWindow(viewer->pages[i], i == selected ? SW_SHOW : SW_HIDE);
        }
        return TRUE;
    }
    case WM_TIMER:
        if (wParam == kPaintTimer) {
            KillTimer(dialog, kPaintTimer);
            RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            GdiFlush();
            SetTimer(dialog, kReadyTimer, 50, nullptr);
        } else if (wParam == kReadyTimer) {
            KillTimer(dialog, kReadyTimer);
            WriteReadyFile(dialog, viewer->readyFile);
        } else if (wParam == kDoneTimer && GetFileAttributesW(viewer->doneFile.c_str()) != INVALID_FILE_ATTRIBUTES) {
            DestroyWindow(dialog);
        }
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_CLOSE || LOWORD(wParam) == IDCANCEL)
            DestroyWindow(dialog);
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(dialog);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2 && argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: lang_viewer MODULE.dll [status|version] [READY-FILE DONE-FILE]\n");
        return 2;
    }
    Viewer viewer;
    viewer.showVersionPage = argc >= 3 && std::wcscmp(argv[2], L"version") == 0;
    if (argc == 5) {
        viewer.readyFile = argv[3];
        viewer.doneFile = argv[4];
    }
    UniqueModule module(LoadLibraryW(argv[1]));
    if (!module) {
        std::fprintf(stderr, "cannot load %ls (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    viewer.module = module.get();

    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    HWND dialog = CreateDialogParamW(viewer.module, MAKEINTRESOURCEW(IDD_CLASSIC), nullptr, ClassicProc,
                                     reinterpret_cast<LPARAM>(&viewer));
    if (!dialog) {
        std::fprintf(stderr, "cannot create dialog %d (error %lu)\n", IDD_CLASSIC, GetLastError());
        return 1;
    }
    ShowWindow(dialog, SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return 0;
}
