#include "classic/ClassicDlg.h"

#include "classic/TabPageArea.h"
#include "dib/DibScaling.h"
#include "dib/OctalPalette.h"
#include "framework/Dpi.h"
#include "framework/ErrorBox.h"
#include "framework/MessageTable.h"
#include "pages/HistoryPage.h"
#include "pages/StatusPage.h"
#include "pages/VersionPage.h"
#include "settings/IniFile.h"
#include "settings/ProgramIcons.h"
#include "settings/ProgramIdentity.h"
#include "settings/ProgramPaths.h"
#include "settings/ResourceIds.h"
#include "settings/ResourceModule.h"
#include "settings/TextUtil.h"
#include "settings/XVuk.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace {

constexpr char kLogoFile[] = "LogoClas.bmp";
constexpr int kBannerMargin = 10;

} // namespace

CClassicDlg::CClassicDlg(IAppServices& app, CWnd* parent) : CDialog(IDD_CLASSIC), m_pApp(&app)
{
    try {
        // Only exactly 1 makes the logo transparent; the banner always is.
        m_logo.m_bTransparent = ReadIniInt(Settings::kTransparentBitmap) == 1;
        m_banner.m_bTransparent = true;
        // A centred dialog opens on the primary monitor, where (0, 0) lies.
        m_nDpi = Dpi::ForPoint({0, 0});
        LoadPictures(m_logo, m_banner, m_pPalette, m_nDpi);
        LoadIcons(m_hIconBig, m_hIconSmall, m_nDpi);
        if (!Create(parent ? parent->m_hWnd : GetDesktopWindow()) && !m_initFailure)
            throw XVuk("Can't create dialog %u", unsigned(IDD_CLASSIC));
        if (m_initFailure) {
            // A half-built dialog is no use: it goes, and the failure is told once.
            DestroyWindow();
            std::rethrow_exception(std::exchange(m_initFailure, nullptr));
        }
        const unsigned windowDpi = Dpi::ForWindow(m_hWnd);
        if (windowDpi != m_nDpi) {
            RECT place = {};
            GetWindowRect(m_hWnd, &place);
            ChangeDpi(windowDpi, place);
        }
        ShowWindow(m_hWnd, SW_SHOWNORMAL);
    } catch (...) {
        ReportCurrentException();
    }
}

CClassicDlg::~CClassicDlg()
{
    // The pages are children of the dialog's tab control: the windows go
    // first, then the page objects, then the palette the pictures borrow.
    DestroyWindow();
    m_pages.clear();
    m_pPalette.reset();
}

void CClassicDlg::LoadPictures(CDib& logo, CDib& banner, std::unique_ptr<CPalette>& palette, unsigned dpi) const
{
    logo.m_bTransparent = m_logo.m_bTransparent;
    banner.m_bTransparent = m_banner.m_bTransparent;
    LoadFileForDpi(logo, JoinPath(GetProgramDir(), kLogoFile), dpi);
    LoadFileResourceForDpi(banner, {IDR_BANNER, IDR_BANNER_200}, dpi);

    palette = CreateOctalPalette({&logo, &banner});
    if (!palette)
        throw XVuk("Could not match palettes");
    logo.SetPalette(palette.get());
    banner.SetPalette(palette.get());
}

void CClassicDlg::LoadIcons(UniqueIcon& big, UniqueIcon& small, unsigned dpi) const
{
    big.reset(LoadWindowIconOfSize(Dpi::SystemMetric(SM_CXICON, dpi)));
    small.reset(LoadWindowIconOfSize(Dpi::SystemMetric(SM_CXSMICON, dpi)));
}

void CClassicDlg::ChangeDpi(unsigned dpi, const RECT& suggested)
{
    if (dpi == 0)
        return;
    if (dpi != m_nDpi) {
        // Had first: a picture that cannot be loaded leaves the dialog as it was.
        CDib logo(false), banner(false);
        std::unique_ptr<CPalette> palette;
        LoadPictures(logo, banner, palette, dpi);
        UniqueIcon big, small;
        LoadIcons(big, small, dpi);
        m_logo.Swap(logo);
        m_banner.Swap(banner);
        m_pPalette.swap(palette); // the old palette goes first, then the old pictures that borrowed it
        m_hIconBig = std::move(big);
        m_hIconSmall = std::move(small);
        SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIconBig.get()));
        SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIconSmall.get()));
        m_nDpi = dpi;
    }
    m_scaler.Apply(dpi);
    SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const std::unique_ptr<CDialog>& page : m_pages)
        if (page->m_hWnd) {
            PlacePage(*page);
            page->ApplyDpi(dpi);
        }
    PlaceBanner();
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

BOOL CClassicDlg::OnInitDialog()
{
    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIconBig.get()));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIconSmall.get()));
    try {
        SetWindowTextW(m_hWnd, LoadResString(IDS_TITLE).c_str());
    } catch (const XVuk& error) {
        ReportError(error); // the dialog is still usable without its title
    }
    SetDlgItemTextW(m_hWnd, IDC_CLOSE, LoadResString(IDS_CLOSE_BUTTON).c_str());
    if (HMENU system = GetSystemMenu(m_hWnd, FALSE)) {
        AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(system, MF_STRING, kSysCommandSettings, LoadResString(IDS_MENU_SETTINGS).c_str());
    }
    try {
        CreatePages();
    } catch (...) {
        m_initFailure = std::current_exception();
        return TRUE;
    }
    if (HWND logoFrame = GetDlgItem(m_hWnd, IDC_LOGO_FRAME))
        SetWindowTextW(logoFrame, L"");
    // An owner-drawn static that the dialog does not draw: it leaves the
    // banner painted under it as it is.
    m_hBanner = CreateWindowExW(0, L"Static", kProgramName, WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 0, 0, 0, 0, m_hWnd,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    PlaceBanner();
    // The controls as the dialog manager laid them out, for every later scale.
    m_scaler.Adopt(m_hWnd, Dpi::ForWindow(m_hWnd));
    return TRUE;
}

void CClassicDlg::CreatePages()
{
    m_hTabs = GetDlgItem(m_hWnd, IDC_TABS);
    if (!m_hTabs)
        throw XVuk("Dialog %u has no tab control %u", unsigned(IDD_CLASSIC), unsigned(IDC_TABS));
    // The tab control must not paint over its pages.
    SetWindowLongPtrW(m_hTabs, GWL_STYLE, GetWindowLongPtrW(m_hTabs, GWL_STYLE) | WS_CLIPCHILDREN);
    // The pages lie inside the tab control, where the dialog manager does not
    // look for the next control: FocusStops lists them for Tab.

    auto status = std::make_unique<CStatusPage>(
        [this](LineCondition condition, LineRates rates) { OnStatusPageRead(condition, rates); });
    m_pStatusPage = status.get();
    AddPage(std::move(status), IDS_TAB_STATUS);
    auto version = std::make_unique<CVersionPage>();
    m_pVersionPage = version.get();
    AddPage(std::move(version), IDS_TAB_VERSION);
    // The history page, a dozen controls that poll nothing, is made when its
    // tab is first chosen: the dialog opens without waiting for it.
    AddPage(std::make_unique<CHistoryPage>(), IDS_TAB_HISTORY, PageWindow::WhenFirstShown);

    // Placed once every tab is in: the tabs decide the area the pages get.
    for (const std::unique_ptr<CDialog>& page : m_pages)
        if (page->m_hWnd)
            PlacePage(*page);
    ShowWindow(m_pages.front()->m_hWnd, SW_SHOWNORMAL);
}

void CClassicDlg::OnStatusPageRead(LineCondition condition, LineRates rates)
{
    // The first read restarts the version page's timer from within the
    // status page's tick: its ticks then fall while the status page's tick is
    // handled, one wake-up for both. Its period stays.
    if (m_pVersionPage && !m_bVersionTimerInStep) {
        m_bVersionTimerInStep = true;
        SetTimer(m_pVersionPage->m_hWnd, CVersionPage::kTimerId, CVersionPage::kTimerPeriod, nullptr);
    }
    m_pApp->RecordLineRead(LineReader::StatusWindow, condition, rates);
}

void CClassicDlg::AddPage(std::unique_ptr<CDialog> page, UINT titleId, PageWindow when)
{
    std::wstring title = LoadResString(titleId);
    m_pages.push_back(std::move(page));
    if (when == PageWindow::AtOpen)
        CreatePageWindow(*m_pages.back());
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = title.data();
    SendMessageW(m_hTabs, TCM_INSERTITEMW, m_pages.size() - 1, reinterpret_cast<LPARAM>(&item));
}

void CClassicDlg::CreatePageWindow(CDialog& page)
{
    if (!page.Create(m_hTabs))
        throw XVuk("Can't create dialog %u", page.GetTemplateId());
}

void CClassicDlg::PlacePage(CDialog& page)
{
    const RECT area = TabPageArea(m_hTabs);
    SetWindowPos(page.m_hWnd, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top, 0);
}

bool CClassicDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    static const MessageEntry<CClassicDlg> table[] = {
        {WM_PAINT, kAnyCode, kAnyId, &CClassicDlg::OnPaint},
        {WM_QUERYNEWPALETTE, kAnyCode, kAnyId, &CClassicDlg::OnQueryNewPalette},
        {WM_PALETTECHANGED, kAnyCode, kAnyId, &CClassicDlg::OnPaletteChanged},
        {WM_NOTIFY, UINT(TCN_SELCHANGE), IDC_TABS, &CClassicDlg::OnTabChanged},
        {WM_COMMAND, BN_CLICKED, IDC_CLOSE, &CClassicDlg::OnCloseButton},
        // Escape: a modeless dialog closes as with its Close button (never
        // merely hidden). Enter (IDOK) is left alone unless Close has the focus.
        {WM_COMMAND, BN_CLICKED, IDCANCEL, &CClassicDlg::OnCloseButton},
        {WM_CLOSE, kAnyCode, kAnyId, &CClassicDlg::OnClose},
        {WM_COMMAND, 0, kCommandOpen, &CClassicDlg::OnHandOver},
        {WM_DPICHANGED, kAnyCode, kAnyId, &CClassicDlg::OnDpiChanged},
    };
    // The system menu's Settings item; its other commands are the dialog manager's.
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == kSysCommandSettings) {
        m_pApp->OpenSettings();
        return true;
    }
    return DispatchMessageTable(this, table, message, wParam, lParam, result) ||
           OnPowerMessage(m_hWnd, message, wParam, lParam, result) ||
           CDialog::OnMessage(message, wParam, lParam, result);
}

std::vector<CClassicDlg::PollingPage> CClassicDlg::PollingPages() const
{
    std::vector<PollingPage> pages;
    if (m_pStatusPage)
        pages.push_back({m_pStatusPage, CStatusPage::kTimerId, CStatusPage::kTimerPeriod});
    if (m_pVersionPage)
        pages.push_back({m_pVersionPage, CVersionPage::kTimerId, CVersionPage::kTimerPeriod});
    return pages;
}

void CClassicDlg::OnSleep()
{
    for (const PollingPage& polling : PollingPages())
        KillTimer(polling.page->m_hWnd, polling.timer);
    m_pApp->RecordPcEvent(LineReader::StatusWindow, PcEvent::Sleep);
}

void CClassicDlg::OnWake()
{
    m_pApp->RecordPcEvent(LineReader::StatusWindow, PcEvent::Wake);
    // Each at once, once the broadcast is answered, and in step from then on.
    for (const PollingPage& polling : PollingPages()) {
        SetTimer(polling.page->m_hWnd, polling.timer, polling.period, nullptr);
        PostMessageW(polling.page->m_hWnd, WM_TIMER, polling.timer, 0);
    }
}

void CClassicDlg::OnSessionEnd()
{
    m_pApp->RecordPcEvent(LineReader::StatusWindow, PcEvent::SessionEnd);
}

POINT CClassicDlg::GetBannerOrigin() const
{
    RECT client = {};
    GetClientRect(m_hWnd, &client);
    const int margin = Dpi::Scale(kBannerMargin, m_nDpi);
    return POINT{margin, client.bottom - m_banner.m_nHeight - margin};
}

void CClassicDlg::PlaceBanner()
{
    if (!m_hBanner)
        return;
    const POINT origin = GetBannerOrigin();
    SetWindowPos(m_hBanner, nullptr, origin.x, origin.y, m_banner.m_nWidth, m_banner.m_nHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CClassicDlg::DrawLogo()
{
    HWND logoFrame = GetDlgItem(m_hWnd, IDC_LOGO_FRAME);
    if (!logoFrame || !::IsWindow(logoFrame))
        return;
    ClientDC dc(logoFrame);
    SelectPaletteScope palette(dc.get(), m_pPalette ? m_pPalette->GetHandle() : nullptr, false);
    RealizePalette(dc.get());
    m_logo.Draw(dc.get(), 0, 0);
}

LRESULT CClassicDlg::OnPaint(WPARAM, LPARAM)
{
    PaintDC paint(m_hWnd); // erases the background, as the dialog's own painting would
    DrawLogo();
    POINT banner = GetBannerOrigin();
    m_banner.Draw(paint.get(), banner.x, banner.y);
    return 0;
}

LRESULT CClassicDlg::OnQueryNewPalette(WPARAM, LPARAM)
{
    DrawLogo();
    return TRUE;
}

LRESULT CClassicDlg::OnPaletteChanged(WPARAM wParam, LPARAM)
{
    // Realizing our own palette announces a change too: answering that
    // would realize again, and again, for ever.
    HWND changer = reinterpret_cast<HWND>(wParam);
    if (changer != m_hWnd && !IsChild(m_hWnd, changer))
        DrawLogo();
    return 0;
}

LRESULT CClassicDlg::OnTabChanged(WPARAM, LPARAM)
{
    // A control of a page that is being hidden gives the focus to the tabs.
    HWND focus = GetFocus();
    for (const std::unique_ptr<CDialog>& page : m_pages) {
        if (!page->m_hWnd)
            continue;
        if (focus && IsChild(page->m_hWnd, focus))
            SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_hTabs), TRUE);
        ShowWindow(page->m_hWnd, SW_HIDE);
    }
    if (CDialog* selected = SelectedPage()) {
        if (!selected->m_hWnd) {
            CreatePageWindow(*selected);
            // Made at the system's DPI: laid out at the dialog's if that differs.
            const unsigned madeAt = Dpi::ForWindow(selected->m_hWnd);
            m_scaler.Adopt(selected->m_hWnd, madeAt);
            if (madeAt != m_nDpi) {
                m_scaler.Apply(m_nDpi);
                selected->ApplyDpi(m_nDpi);
            }
            PlacePage(*selected);
        }
        ShowWindow(selected->m_hWnd, SW_SHOW);
    }
    return 0;
}

CDialog* CClassicDlg::SelectedPage() const
{
    LRESULT selected = m_hTabs ? SendMessageW(m_hTabs, TCM_GETCURSEL, 0, 0) : -1;
    return selected >= 0 && size_t(selected) < m_pages.size() ? m_pages[size_t(selected)].get() : nullptr;
}

HWND CClassicDlg::ShownPage() const
{
    const CDialog* selected = SelectedPage();
    return selected ? selected->m_hWnd : nullptr;
}

void CClassicDlg::SelectPage(int index)
{
    SendMessageW(m_hTabs, TCM_SETCURSEL, WPARAM(index), 0); // notifies nobody
    OnTabChanged(0, 0);
}

std::vector<HWND> CClassicDlg::FocusStops() const
{
    // The dialog's controls in their order; after the tab control, the
    // controls of the page it shows.
    auto isStop = [](HWND control) {
        return (GetWindowLongPtrW(control, GWL_STYLE) & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) ==
               (WS_TABSTOP | WS_VISIBLE);
    };
    std::vector<HWND> stops;
    const HWND shown = ShownPage();
    for (HWND control = GetWindow(m_hWnd, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        if (isStop(control))
            stops.push_back(control);
        if (control != m_hTabs || !shown)
            continue;
        for (HWND inner = GetWindow(shown, GW_CHILD); inner; inner = GetWindow(inner, GW_HWNDNEXT))
            if (isStop(inner))
                stops.push_back(inner);
    }
    return stops;
}

void CClassicDlg::MoveFocus(bool backwards)
{
    std::vector<HWND> stops = FocusStops();
    if (stops.empty())
        return;
    HWND focus = GetFocus();
    auto at = std::find(stops.begin(), stops.end(), focus);
    if (at == stops.end()) // the focus is inside a stop (a control of its own)
        at = std::find_if(stops.begin(), stops.end(), [&](HWND stop) { return IsChild(stop, focus); });
    size_t index = at == stops.end() ? 0 : size_t(at - stops.begin());
    size_t next = at == stops.end() ? 0 : (index + (backwards ? stops.size() - 1 : 1)) % stops.size();
    // Through the dialog manager, so the default button and an edit's selection follow.
    SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(stops[next]), TRUE);
}

bool CClassicDlg::PreTranslateMessage(MSG& message)
{
    if (!IsWindow() || (message.hwnd != m_hWnd && !IsChild(m_hWnd, message.hwnd)))
        return false;
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && GetKeyState(VK_MENU) >= 0 && m_hTabs) {
        bool backwards = GetKeyState(VK_SHIFT) < 0;
        if (GetKeyState(VK_CONTROL) < 0) {
            int count = int(m_pages.size());
            int selected = int(SendMessageW(m_hTabs, TCM_GETCURSEL, 0, 0));
            if (count > 0)
                SelectPage((selected + (backwards ? count - 1 : 1)) % count);
        } else {
            MoveFocus(backwards);
        }
        return true;
    }
    return CDialog::PreTranslateMessage(message);
}

LRESULT CClassicDlg::OnCloseButton(WPARAM, LPARAM)
{
    PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
    return 0;
}

// A second start of the program found this window (no tray icon runs):
// it comes to the front, as the tray icon would bring it.
LRESULT CClassicDlg::OnHandOver(WPARAM, LPARAM)
{
    m_pApp->ShowMainWindow();
    return 0;
}

LRESULT CClassicDlg::OnDpiChanged(WPARAM wParam, LPARAM lParam)
{
    // The new DPI comes with the message: the window may not report it yet.
    if (lParam)
        ChangeDpi(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    return 0;
}

LRESULT CClassicDlg::OnClose(WPARAM, LPARAM)
{
    // Destroyed, never merely hidden; the application deletes the object later.
    m_pApp->StopDebugMode();
    DestroyWindow();
    return 0;
}
