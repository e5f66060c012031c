#include "pages/StatusPage.h"

#include "driver/Channel.h"
#include "driver/CommandCodes.h"
#include "framework/MessageTable.h"
#include "settings/ResourceIds.h"
#include "settings/ResourceModule.h"
#include "settings/WideText.h"
#include "status/ActivityLevel.h"
#include "status/LineStateRead.h"

namespace {

// One blink phase for every status page of the process.
bool g_bBlink = false;

constexpr uint32_t kLineUp = 2;

struct Caption {
    int control;
    UINT string;
};

// In the order they are set.
constexpr Caption kCaptions[] = {
    {IDC_CAPTION_STATE, IDS_LABEL_STATE},           {IDC_CAPTION_MODE, IDS_LABEL_MODE},
    {IDC_CAPTION_CONNECTION, IDS_GROUP_CONNECTION}, {IDC_CAPTION_RATES, IDS_GROUP_RATES},
    {IDC_CAPTION_ACTIVITY, IDS_GROUP_ACTIVITY},     {IDC_CAPTION_UPSTREAM, IDS_RATE_UPSTREAM},
    {IDC_CAPTION_DOWNSTREAM, IDS_RATE_DOWNSTREAM},  {IDC_CAPTION_LEGEND, IDS_METER_LEGEND},
};

// The mode suffix for annex C lines: dual or full bitmap.
std::string BitmapSuffix()
{
    if (getAnnexLetter() != "C")
        return std::string();
    return isDualBitmap() ? " (DBM)" : " (FBM)";
}

} // namespace

CStatusPage::CStatusPage(LineReadObserver observer)
    : CDialog(IDD_STATUS_PAGE), m_lineReadObserver(std::move(observer))
{
    std::string unavailable = LoadResStringUtf8(IDS_UNAVAILABLE);
    m_lineState.init(Command::kLineState, FieldEnum, LoadResStringUtf8(IDS_LINE_STATES), 1.0f, 0.0f, unavailable);
    m_modeIdle.init(Command::kModeLineDown, FieldEnum, LoadResStringUtf8(IDS_LINE_MODES), 1.0f, 0.0f, unavailable);
    m_modeUp.init(Command::kModeLineUp, FieldEnum, LoadResStringUtf8(IDS_LINE_MODES), 1.0f, 0.0f, unavailable);
    m_upstreamRate.init(Command::kUpstreamRate, FieldUnsigned, std::string(), 1.0f, 0.0f, unavailable);
    m_downstreamRate.init(Command::kDownstreamRate, FieldUnsigned, std::string(), 1.0f, 0.0f, unavailable);
}

CStatusPage::~CStatusPage()
{
    DestroyWindow();
}

BOOL CStatusPage::OnInitDialog()
{
    m_stateText.Attach(GetDlgItem(m_hWnd, IDC_STATE_TEXT));
    m_modeText.Attach(GetDlgItem(m_hWnd, IDC_MODE_TEXT));
    m_upstreamText.Attach(GetDlgItem(m_hWnd, IDC_UPSTREAM_TEXT));
    m_downstreamText.Attach(GetDlgItem(m_hWnd, IDC_DOWNSTREAM_TEXT));
    SetCaptions();
    if (HWND place = GetDlgItem(m_hWnd, IDC_METER_PLACE)) {
        SetWindowTextW(place, L"");
        m_meter.Create(place);
    }
    if (HWND place = GetDlgItem(m_hWnd, IDC_STATE_ICON_PLACE)) {
        SetWindowTextW(place, L"");
        m_stateLight.Create(place);
    }
    m_stateLight.Show(IDI_PAGE_IDLE);
    SetTimer(m_hWnd, kTimerId, kTimerPeriod, nullptr);
    return TRUE;
}

void CStatusPage::ApplyDpi(unsigned dpi)
{
    m_meter.ChangeDpi(dpi);
    m_stateLight.ChangeDpi(dpi);
}

void CStatusPage::SetCaptions()
{
    for (const Caption& caption : kCaptions)
        SetDlgItemTextW(m_hWnd, caption.control, LoadResString(caption.string).c_str());
}

bool CStatusPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    static const MessageEntry<CStatusPage> table[] = {
        {WM_TIMER, kAnyCode, kAnyId, &CStatusPage::OnTimer},
    };
    return DispatchMessageTable(this, table, message, wParam, lParam, result) ||
           CDialog::OnMessage(message, wParam, lParam, result);
}

LRESULT CStatusPage::OnTimer(WPARAM, LPARAM)
{
    Refresh();
    return 0;
}

void CStatusPage::Refresh()
{
    if (!IsWindow())
        return;
    m_lineState.fetch();
    m_modeIdle.fetch();
    m_modeUp.fetch();
    m_upstreamRate.fetch();
    m_downstreamRate.fetch();
    if (m_lineReadObserver)
        m_lineReadObserver(LineConditionOf(m_lineState), LineRatesOf(m_lineState, m_downstreamRate, m_upstreamRate));

    const std::string stateText = m_lineState.format();
    m_stateText.SetUtf8(stateText);
    m_stateLight.Describe(WideFromUtf8(stateText));

    // Timer reads never raise: an over-long answer only counts as unreadable.
    uint32_t state = 0;
    std::string mode;
    if (m_lineState.readDword(state) && state == kLineUp) {
        m_upstreamText.SetUtf8(m_upstreamRate.format());
        m_downstreamText.SetUtf8(m_downstreamRate.format());
        mode = m_modeUp.format();
    } else {
        m_upstreamText.Set(std::wstring());
        m_downstreamText.Set(std::wstring());
        mode = m_modeIdle.format();
    }
    mode += BitmapSuffix();
    m_modeText.SetUtf8(mode);

    UpdateActivity();
}

void CStatusPage::UpdateActivity()
{
    g_bBlink = !g_bBlink;
    int32_t upstreamLevel = 0;
    int32_t downstreamLevel = 0;
    int iconId;
    uint32_t state = 0;
    if (!m_lineState.readDword(state)) {
        iconId = g_bBlink ? IDI_PAGE_UNREADABLE_BLINK : IDI_PAGE_UNREADABLE;
    } else if (state != kLineUp) {
        iconId = g_bBlink ? IDI_PAGE_IDLE_BLINK : IDI_PAGE_IDLE;
    } else {
        iconId = g_bBlink ? IDI_PAGE_UP_BLINK : IDI_PAGE_UP;
        uint32_t upstreamCells = getUpstreamCellCount();
        uint32_t downstreamCells = getDownstreamCellCount();
        uint32_t upstreamDelta = CellDelta(upstreamCells, m_nLastUpstreamCells);
        uint32_t downstreamDelta = CellDelta(downstreamCells, m_nLastDownstreamCells);
        m_nLastUpstreamCells = upstreamCells;
        m_nLastDownstreamCells = downstreamCells;
        // Each counter against the rate of its own direction.
        upstreamLevel = PageActivityLevel(upstreamDelta, m_upstreamRate.getDwordOr(0));
        downstreamLevel = PageActivityLevel(downstreamDelta, m_downstreamRate.getDwordOr(0));
    }
    m_stateLight.Show(iconId);
    m_meter.SetLevels(upstreamLevel, downstreamLevel);
}
