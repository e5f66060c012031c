#include "pages/HistoryPage.h"

#include "diary/DiaryArchive.h"
#include "diary/DiaryFolder.h"
#include "diary/DiaryRecorder.h"
#include "framework/Dpi.h"
#include "framework/ErrorBox.h"
#include "framework/Handles.h"
#include "framework/MessageTable.h"
#include "pages/HistoryGraph.h"
#include "settings/IniFile.h"
#include "settings/ResourceIds.h"
#include "settings/ResourceModule.h"
#include "settings/WideText.h"
#include "settings/XVuk.h"
#include "status/LineAlertText.h"
#include "status/LineWatch.h"

#include <commdlg.h>

namespace {

constexpr int64_t kPeriods[] = {86400, 7 * 86400, -1}; // the export's choices, in seconds; -1: all

// A figure of a period the diary knows nothing of.
constexpr wchar_t kNoFigure[] = L"\u2014";

// "99.5 %" with the locale's decimal separator.
std::wstring PercentText(int64_t part, int64_t whole)
{
    if (whole <= 0)
        return kNoFigure;
    const int64_t tenths = (part * 1000 + whole / 2) / whole;
    wchar_t separator[8] = L".";
    GetLocaleInfoW(GetThreadLocale(), LOCALE_SDECIMAL, separator, 8);
    return std::to_wstring(tenths / 10) + separator + std::to_wstring(tenths % 10) + L" %";
}

std::wstring Duration(int64_t seconds)
{
    return DurationText(uint64_t(seconds) * 1000, [](unsigned id) { return LoadResString(id); });
}

void SetText(HWND page, int id, const std::wstring& text)
{
    SetDlgItemTextW(page, id, text.c_str());
}

bool WriteNewFile(const std::wstring& path, const std::string& text)
{
    const HANDLE created =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE)
        return false;
    UniqueHandle file(created);
    DWORD wrote = 0;
    return WriteFile(file.get(), text.data(), DWORD(text.size()), &wrote, nullptr) && wrote == text.size();
}

} // namespace

CHistoryPage::CHistoryPage() : CDialog(IDD_HISTORY_PAGE)
{
}

BOOL CHistoryPage::OnInitDialog()
{
    m_nDpi = Dpi::ForWindow(m_hWnd);
    const std::pair<int, UINT> captions[] = {
        {IDC_CAPTION_UP_DAY, IDS_HISTORY_UP_DAY},   {IDC_CAPTION_UP_WEEK, IDS_HISTORY_UP_WEEK},
        {IDC_CAPTION_DROPS, IDS_HISTORY_DROPS},     {IDC_CAPTION_LONGEST, IDS_HISTORY_LONGEST},
        {IDC_CAPTION_SESSION, IDS_HISTORY_SESSION}, {IDC_HISTORY_EXPORT, IDS_HISTORY_EXPORT},
        {IDC_HISTORY_ASLEEP_TEXT, IDS_HISTORY_ASLEEP}};
    for (const auto& [control, text] : captions)
        SetText(m_hWnd, control, LoadResString(text));
    const HWND period = GetDlgItem(m_hWnd, IDC_HISTORY_PERIOD);
    for (UINT text : {IDS_HISTORY_PERIOD_DAY, IDS_HISTORY_PERIOD_WEEK, IDS_HISTORY_PERIOD_ALL})
        SendMessageW(period, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadResString(text).c_str()));
    SendMessageW(period, CB_SETCURSEL, 1, 0);
    // The diary, which may hold months of records, is read when the page is
    // shown, not here.
    return TRUE;
}

bool CHistoryPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    static const MessageEntry<CHistoryPage> table[] = {
        {WM_TIMER, kAnyCode, kAnyId, &CHistoryPage::OnTimer},
        {WM_SHOWWINDOW, kAnyCode, kAnyId, &CHistoryPage::OnShowWindow},
        {WM_DRAWITEM, kAnyCode, kAnyId, &CHistoryPage::OnDrawItem},
        {WM_COMMAND, BN_CLICKED, IDC_HISTORY_EXPORT, &CHistoryPage::OnExport},
    };
    return DispatchMessageTable(this, table, message, wParam, lParam, result) ||
           CDialog::OnMessage(message, wParam, lParam, result);
}

void CHistoryPage::ApplyDpi(unsigned dpi)
{
    m_nDpi = dpi;
    InvalidateRect(GetDlgItem(m_hWnd, IDC_HISTORY_GRAPH), nullptr, FALSE);
}

void CHistoryPage::Refresh()
{
    if (!IsWindow())
        return;
    const std::string folder = UserDiaryFolderPath();
    m_now = DiaryNow();
    m_wakeGrace = WakeGraceSeconds(ReadOptionalIniInt(Settings::kWakeGraceSeconds));
    m_records.clear();
    if (!folder.empty())
        if (std::optional<std::string> text = MakeDiaryFolder(folder)->Read(kDiaryFileName))
            m_records = ParseDiary(*text);
    ShowFigures();
    // Drawn whole into a memory bitmap first (WM_DRAWITEM): no erase, no flicker.
    InvalidateRect(GetDlgItem(m_hWnd, IDC_HISTORY_GRAPH), nullptr, FALSE);
}

void CHistoryPage::ShowFigures()
{
    const DiaryFigures figures = ComputeDiaryFigures(m_records, m_now.utc, m_wakeGrace);
    const bool known = figures.day.knownSeconds > 0;
    const std::wstring none = kNoFigure;
    SetText(m_hWnd, IDC_UP_DAY_TEXT, PercentText(figures.day.upSeconds, figures.day.knownSeconds));
    SetText(m_hWnd, IDC_UP_WEEK_TEXT, PercentText(figures.week.upSeconds, figures.week.knownSeconds));
    SetText(m_hWnd, IDC_DROPS_TEXT, known ? std::to_wstring(figures.day.drops) : none);
    SetText(m_hWnd, IDC_LONGEST_TEXT, known ? Duration(figures.day.longestOutage) : none);
    SetText(m_hWnd, IDC_SESSION_TEXT, figures.session >= 0 ? Duration(figures.session) : none);
}

LRESULT CHistoryPage::OnTimer(WPARAM, LPARAM)
{
    Refresh();
    return 0;
}

// Read and ticking only while shown. A hidden page lets go of its records
// and is read anew when it is shown again.
LRESULT CHistoryPage::OnShowWindow(WPARAM wParam, LPARAM)
{
    if (wParam) {
        Refresh();
        SetTimer(m_hWnd, kTimerId, kTimerPeriod, nullptr);
    } else {
        KillTimer(m_hWnd, kTimerId);
        m_records.clear();
        m_records.shrink_to_fit();
    }
    return 0;
}

LRESULT CHistoryPage::OnDrawItem(WPARAM, LPARAM lParam)
{
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item->CtlID == IDC_HISTORY_ASLEEP_SAMPLE) {
        DrawAsleepSample(item->hDC, item->rcItem);
        return TRUE;
    }
    if (item->CtlID != IDC_HISTORY_GRAPH)
        return FALSE;
    const RECT& rect = item->rcItem;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    MemoryCanvas canvas(item->hDC, MemoryCanvas::ColorBitmap(item->hDC, width, height));
    if (!canvas.IsReady())
        return TRUE;
    DrawHistoryGraph(canvas.Dc(), {0, 0, width, height}, m_records, m_now, m_wakeGrace, m_nDpi);
    BitBlt(item->hDC, rect.left, rect.top, width, height, canvas.Dc(), 0, 0, SRCCOPY);
    return TRUE;
}

LRESULT CHistoryPage::OnExport(WPARAM, LPARAM)
{
    Refresh();
    const LRESULT chosen = SendDlgItemMessageW(m_hWnd, IDC_HISTORY_PERIOD, CB_GETCURSEL, 0, 0);
    const int64_t period = kPeriods[chosen >= 0 && chosen < 3 ? chosen : 1];
    // Everything: with the records that moved to the monthly files.
    std::vector<DiaryRecord> records;
    const std::string folder = UserDiaryFolderPath();
    if (period < 0 && !folder.empty())
        records = ReadWholeDiary(*MakeDiaryFolder(folder));
    else
        records = m_records;
    const std::vector<int64_t> times = DiaryTimelineTimes(records, m_now.utc);
    std::string text = std::string(kDiaryHeader) + "\n";
    for (size_t i = 0; i < records.size(); ++i)
        if (period < 0 || times[i] >= m_now.utc - period)
            text += FormatDiaryLine(records[i]) + "\n";

    // The filter: "CSV files (*.csv)", a zero, "*.csv", two zeros.
    std::wstring filter = LoadResString(IDS_HISTORY_FILTER);
    filter.append(1, L'\0').append(L"*.csv").append(2, L'\0');
    wchar_t path[MAX_PATH] = L"history.csv";
    OPENFILENAMEW save = {};
    save.lStructSize = sizeof save;
    save.hwndOwner = GetAncestor(m_hWnd, GA_ROOT);
    save.lpstrFilter = filter.c_str();
    save.lpstrFile = path;
    save.nMaxFile = MAX_PATH;
    save.lpstrDefExt = L"csv";
    save.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&save))
        return 0;
    if (!WriteNewFile(path, text))
        ReportError(XVuk("Can't write %s", Utf8FromWide(path).c_str()));
    return 0;
}
