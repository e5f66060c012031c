#include "settingswnd/SettingsDlg.h"

#include "framework/Dpi.h"
#include "framework/ErrorBox.h"
#include "framework/MessageTable.h"
#include "settings/IniFile.h"
#include "settings/LanguageTable.h"
#include "settings/ProgramIcons.h"
#include "settings/ResourceIds.h"
#include "settings/ResourceModule.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsWriter.h"
#include "settings/StartupEntry.h"
#include "settings/TextUtil.h"
#include "settings/WideText.h"
#include "settings/XVuk.h"
#include "diary/DiaryFolder.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <iterator>

using namespace Settings;

namespace {

struct Caption {
    int control;
    UINT text;
};
const Caption kCaptions[] = {
    {IDC_SET_WINDOW, IDS_SETTINGS_WINDOW},           {IDC_SET_CLASSIC, IDS_SETTINGS_CLASSIC},
    {IDC_SET_SKINNED, IDS_SETTINGS_SKINNED},         {IDC_SET_TRAY, IDS_SETTINGS_TRAY},
    {IDC_SET_TRAY_NOTE, IDS_SETTINGS_TRAY_NOTE},     {IDC_SET_AUTOSTART, IDS_SETTINGS_AUTOSTART},
    {IDC_SET_AUTOSTART_NOTE, IDS_SETTINGS_AUTOSTART_NOTE}, {IDC_SET_LANGUAGE, IDS_SETTINGS_LANGUAGE},
    {IDC_SET_LANG_WINDOWS, IDS_SETTINGS_LANG_WINDOWS}, {IDC_SET_LANG_INSTALLER, IDS_SETTINGS_LANG_INSTALLER},
    {IDC_SET_LANG_ONE, IDS_SETTINGS_LANG_ONE},       {IDC_SET_LANG_NOTE, IDS_SETTINGS_LANG_NOTE},
    {IDC_SET_ALERTS, IDS_SETTINGS_ALERTS},           {IDC_SET_BALLOONS, IDS_SETTINGS_BALLOONS},
    {IDC_SET_DIARY, IDS_SETTINGS_DIARY},             {IDC_SET_DAYS_LABEL, IDS_SETTINGS_DAYS},
    {IDC_SET_FOLDER, IDS_SETTINGS_FOLDER},           {IDC_SET_COLOURS, IDS_SETTINGS_COLOURS},
    {IDC_SET_HUE_LABEL, IDS_SETTINGS_HUE},           {IDC_SET_SAT_LABEL, IDS_SETTINGS_SAT},
    {IDC_SET_TITLE_HUE_LABEL, IDS_SETTINGS_TITLE_HUE}, {IDC_SET_TITLE_SAT_LABEL, IDS_SETTINGS_TITLE_SAT},
    {IDC_SET_BUTTONS, IDS_SETTINGS_BUTTONS},         {IDC_SET_LOGO, IDS_SETTINGS_LOGO},
    {IDC_SET_TITLE_TEXT, IDS_SETTINGS_TITLE_TEXT},   {IDC_SET_LABEL_TEXT, IDS_SETTINGS_LABEL_TEXT},
    {IDC_SET_VALUE_TEXT, IDS_SETTINGS_VALUE_TEXT},   {IDOK, IDS_SETTINGS_OK},
    {IDCANCEL, IDS_SETTINGS_CANCEL},                 {IDC_SET_APPLY, IDS_SETTINGS_APPLY},
};

// The boxes, numbers and colours, each for one key.
struct FlagControl {
    int box;
    const char* key;
};
const FlagControl kFlags[] = {
    {IDC_SET_TRAY, kShowSysTrayIcon}, {IDC_SET_BALLOONS, kNotifyLineChanges}, {IDC_SET_DIARY, kKeepHistory},
    {IDC_SET_BUTTONS, kUseHueAndSat}, {IDC_SET_LOGO, kTransparentBitmap},
};
struct NumberControl {
    int edit;
    int spin;
    const char* key;
};
const NumberControl kNumbers[] = {
    {IDC_SET_DAYS, IDC_SET_DAYS_SPIN, kHistoryDays},
    {IDC_SET_HUE, IDC_SET_HUE_SPIN, kHue},
    {IDC_SET_SAT, IDC_SET_SAT_SPIN, kSat},
    {IDC_SET_TITLE_HUE, IDC_SET_TITLE_HUE_SPIN, kTitlebarHue},
    {IDC_SET_TITLE_SAT, IDC_SET_TITLE_SAT_SPIN, kTitlebarSat},
};
struct ColourControl {
    int button;
    int sample; // a static showing "r,g,b" on the colour itself
    const char* key;
};
const ColourControl kColours[] = {
    {IDC_SET_TITLE_TEXT, IDC_SET_TITLE_SAMPLE, kTitlebarTextRGB},
    {IDC_SET_LABEL_TEXT, IDC_SET_LABEL_SAMPLE, kLabelTextRGB},
    {IDC_SET_VALUE_TEXT, IDC_SET_VALUE_SAMPLE, kStatusTextRGB},
};
const int kLanguageModes[] = {IDC_SET_LANG_WINDOWS, IDC_SET_LANG_ONE, IDC_SET_LANG_INSTALLER}; // by LanguageMode

const EditableSetting& SettingOf(const char* key)
{
    return *std::find_if(std::begin(kEditableSettings), std::end(kEditableSettings),
                         [&](const EditableSetting& setting) { return std::string(setting.key) == key; });
}

std::string ControlText(HWND dialog, int control)
{
    wchar_t text[64] = {};
    GetDlgItemTextW(dialog, control, text, 64);
    return Utf8FromWide(text);
}

// A number typed: its plain decimal form; anything else as it is (refused when applied).
std::string NumberText(std::string text)
{
    if (!text.empty() && text.size() <= 9 && text.find_first_not_of("0123456789") == std::string::npos)
        return std::to_string(ParseInt(text));
    return text;
}

// Arrows go round a group of radio buttons; Tab comes to the one that is checked.
void TabStopOnChecked(HWND dialog, const int* first, const int* last)
{
    for (const int* id = first; id != last; ++id) {
        HWND button = GetDlgItem(dialog, *id);
        const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
        const bool checked = IsDlgButtonChecked(dialog, *id) == BST_CHECKED;
        SetWindowLongPtrW(button, GWL_STYLE, checked ? style | WS_TABSTOP : style & ~LONG_PTR(WS_TABSTOP));
    }
}

} // namespace

CSettingsDlg::CSettingsDlg(ISettingsHost& host, ISettingsFiles& files, ISettingsElevation& elevation)
    : CDialog(IDD_SETTINGS), m_host(host), m_files(files), m_elevation(elevation),
      m_path(Utf8FromWide(WideFromAnsi(SettingsFilePath())))
{
}

CSettingsDlg::~CSettingsDlg()
{
    DestroyWindow(); // while the brushes and icons it shows exist
}

void CSettingsDlg::Open()
{
    Load();
    const unsigned dpi = Dpi::ForPoint({0, 0}); // a centred dialog opens on the primary monitor
    m_hIconBig.reset(LoadWindowIconOfSize(Dpi::SystemMetric(SM_CXICON, dpi)));
    m_hIconSmall.reset(LoadWindowIconOfSize(Dpi::SystemMetric(SM_CXSMICON, dpi)));
    if (!Create(nullptr))
        throw XVuk("Can't create dialog %u", unsigned(IDD_SETTINGS));
    ShowWindow(m_hWnd, SW_SHOWNORMAL);
}

void CSettingsDlg::Load()
{
    ISettingsFiles::Content content;
    ISettingsFiles::Failure failure;
    if (!m_files.Read(m_path, content, failure))
        throw XVuk("Can't read %s: %s", m_path.c_str(), failure.reason.c_str());
    // As the program reads them; a missing file raises as every reader does.
    m_initial = ReadSettingsValues([](const char* key) { return ReadIniString(key); });
    m_fileText = content.text;
    const StartupEntries entries = ReadStartupEntries();
    m_bUserStartup = entries.user;
    m_bMachineStartup = entries.machine;
    m_bNeedsRights = m_files.NeedsRights(m_path);
}

BOOL CSettingsDlg::OnInitDialog()
{
    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIconBig.get()));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIconSmall.get()));
    SetWindowTextW(m_hWnd, LoadResString(IDS_SETTINGS_TITLE).c_str());
    for (const Caption& caption : kCaptions)
        SetDlgItemTextW(m_hWnd, caption.control, LoadResString(caption.text).c_str());

    std::vector<std::string> names;
    SplitString(names, LoadResStringUtf8(IDS_SETTINGS_LANG_NAMES), ",");
    for (int row = 0; row < kLanguageCount; ++row) {
        const std::wstring name = WideFromUtf8(names.size() == size_t(kLanguageCount) ? names[row] : kLanguageTable[row].name);
        SendDlgItemMessageW(m_hWnd, IDC_SET_LANG_LIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    for (const NumberControl& number : kNumbers) {
        const EditableSetting& setting = SettingOf(number.key);
        SendDlgItemMessageW(m_hWnd, number.spin, UDM_SETRANGE32, WPARAM(setting.min), LPARAM(setting.max));
        SendDlgItemMessageW(m_hWnd, number.edit, EM_LIMITTEXT, 4, 0);
    }
    if (m_bNeedsRights)
        for (int button : {IDOK, IDC_SET_APPLY})
            SendDlgItemMessageW(m_hWnd, button, BCM_SETSHIELD, 0, TRUE);

    ShowValues(m_initial);
    // The first group's checked button has the focus, as Tab would give it.
    SetFocus(GetDlgItem(m_hWnd, m_initial.at(kClassicStyle) == "1" ? IDC_SET_CLASSIC : IDC_SET_SKINNED));
    return FALSE;
}

void CSettingsDlg::ShowValues(const SettingsValues& values)
{
    m_bShowing = true;
    CheckRadioButton(m_hWnd, IDC_SET_CLASSIC, IDC_SET_SKINNED,
                     values.at(kClassicStyle) == "1" ? IDC_SET_CLASSIC : IDC_SET_SKINNED);
    for (const FlagControl& flag : kFlags)
        CheckDlgButton(m_hWnd, flag.box, values.at(flag.key) == "1" ? BST_CHECKED : BST_UNCHECKED);
    for (const NumberControl& number : kNumbers)
        SetDlgItemTextW(m_hWnd, number.edit, WideFromUtf8(values.at(number.key)).c_str());
    for (const ColourControl& colour : kColours)
        ShowSample(colour.sample, values.at(colour.key));

    CheckRadioButton(m_hWnd, IDC_SET_LANG_WINDOWS, IDC_SET_LANG_ONE, kLanguageModes[int(LanguageModeOf(values))]);
    // The one language, else the one the program runs in.
    std::string language = SingleLanguageOf(values);
    if (language.empty())
        language = m_host.GetLanguageName();
    SendDlgItemMessageW(m_hWnd, IDC_SET_LANG_LIST, CB_SETCURSEL, WPARAM(std::max(0, FindLanguageByName(language))), 0);

    // The installer's entry for every user starts Modavi whatever this box says.
    CheckDlgButton(m_hWnd, IDC_SET_AUTOSTART, m_bMachineStartup || m_bUserStartup ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(m_hWnd, IDC_SET_AUTOSTART), !m_bMachineStartup);
    ShowWindow(GetDlgItem(m_hWnd, IDC_SET_AUTOSTART_NOTE), m_bMachineStartup ? SW_SHOW : SW_HIDE);
    m_bShowing = false;
    Changed();
}

SettingsValues CSettingsDlg::ValuesShown() const
{
    SettingsValues values = m_initial;
    values[kClassicStyle] = IsDlgButtonChecked(m_hWnd, IDC_SET_CLASSIC) == BST_CHECKED ? "1" : "0";
    for (const FlagControl& flag : kFlags)
        values[flag.key] = IsDlgButtonChecked(m_hWnd, flag.box) == BST_CHECKED ? "1" : "0";
    for (const NumberControl& number : kNumbers)
        values[number.key] = NumberText(ControlText(m_hWnd, number.edit));
    for (const ColourControl& colour : kColours)
        values[colour.key] = ControlText(m_hWnd, colour.sample);
    int mode = 0;
    while (mode < 2 && IsDlgButtonChecked(m_hWnd, kLanguageModes[mode]) != BST_CHECKED)
        ++mode;
    const LRESULT row = SendDlgItemMessageW(m_hWnd, IDC_SET_LANG_LIST, CB_GETCURSEL, 0, 0);
    SetLanguageMode(values, m_initial, LanguageMode(mode),
                    row >= 0 && row < kLanguageCount ? kLanguageTable[row].name : kDefaultLanguageName);
    return values;
}

bool CSettingsDlg::UserStartupShown() const
{
    return !m_bMachineStartup && IsDlgButtonChecked(m_hWnd, IDC_SET_AUTOSTART) == BST_CHECKED;
}

void CSettingsDlg::Changed()
{
    if (m_bShowing)
        return;
    const SettingsValues values = ValuesShown();
    const bool changed = !ChangedSettings(m_initial, values).empty() ||
                         (!m_bMachineStartup && UserStartupShown() != m_bUserStartup);
    EnableWindow(GetDlgItem(m_hWnd, IDC_SET_APPLY), changed);
    const bool diary = values.at(kKeepHistory) == "1";
    for (int control : {IDC_SET_DAYS_LABEL, IDC_SET_DAYS, IDC_SET_DAYS_SPIN})
        EnableWindow(GetDlgItem(m_hWnd, control), diary);
    EnableWindow(GetDlgItem(m_hWnd, IDC_SET_LANG_LIST), IsDlgButtonChecked(m_hWnd, IDC_SET_LANG_ONE) == BST_CHECKED);
    const int windowModes[] = {IDC_SET_CLASSIC, IDC_SET_SKINNED};
    TabStopOnChecked(m_hWnd, std::begin(windowModes), std::end(windowModes));
    TabStopOnChecked(m_hWnd, std::begin(kLanguageModes), std::end(kLanguageModes));
    Preview(values);
}

void CSettingsDlg::Preview(const SettingsValues& values)
{
    const SkinColours wanted = SkinColoursOf(values), inFile = SkinColoursOf(m_initial);
    if (wanted == m_preview.value_or(inFile))
        return;
    if (wanted == inFile) {
        EndPreview();
        return;
    }
    m_preview = wanted;
    m_host.PreviewSkinColours(&wanted);
}

void CSettingsDlg::EndPreview()
{
    if (m_preview) {
        m_preview.reset();
        m_host.PreviewSkinColours(nullptr);
    }
}

bool CSettingsDlg::Apply()
{
    const SettingsValues values = ValuesShown();
    for (const NumberControl& number : kNumbers) {
        if (IsValidSettingValue(number.key, values.at(number.key)))
            continue;
        const EditableSetting& setting = SettingOf(number.key);
        const std::wstring text = FillPlaceholders(LoadResString(IDS_SETTINGS_RANGE), std::to_wstring(setting.min),
                                                   std::to_wstring(setting.max));
        MessageBoxW(m_hWnd, text.c_str(), LoadResString(IDS_SETTINGS_TITLE).c_str(), MB_OK | MB_ICONWARNING);
        SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(m_hWnd, number.edit)), TRUE);
        return false;
    }
    const SettingChanges changes = ChangedSettings(m_initial, values);
    if (!changes.empty()) {
        if (!WriteChanges(changes))
            return false;
        m_initial = values;
        EndPreview(); // the skinned window draws as the file says, which is what it showed
    }
    bool done = true;
    const bool userStartup = UserStartupShown();
    if (!m_bMachineStartup && userStartup != m_bUserStartup) {
        std::string reason;
        done = SetUserStartupEntry(userStartup, reason);
        if (done)
            m_bUserStartup = userStartup;
        else
            ReportError(XVuk("Can't change the start with Windows: %s", reason.c_str()));
    }
    Changed();
    if (!changes.empty()) {
        std::vector<std::string> keys;
        for (const SettingChange& change : changes)
            keys.push_back(change.first);
        m_host.SettingsWritten(keys);
    }
    return done;
}

bool CSettingsDlg::WriteChanges(const SettingChanges& changes)
{
    SettingsWrite write = WriteSettingsFile(m_files, m_path, m_fileText, changes);
    if (write.outcome == WriteOutcome::ChangedUnderneath) {
        const int answer = MessageBoxW(m_hWnd, LoadResString(IDS_SETTINGS_CHANGED).c_str(), L"Modavi.ini",
                                       MB_YESNOCANCEL | MB_ICONWARNING);
        if (answer == IDYES)
            Reload();
        if (answer != IDNO)
            return false;
        write = WriteSettingsFile(m_files, m_path, std::nullopt, changes); // only the keys changed here
    }
    if (write.outcome == WriteOutcome::NeedsRights) {
        write = WriteSettingsElevated(m_elevation, m_hWnd, m_path, changes);
        ISettingsFiles::Content content;
        ISettingsFiles::Failure failure;
        if (write.outcome == WriteOutcome::Written && m_files.Read(m_path, content, failure))
            write.text = content.text;
    }
    if (write.outcome != WriteOutcome::Written) {
        ReportError(XVuk("%s", write.error.c_str()));
        return false;
    }
    m_fileText = write.text;
    return true;
}

void CSettingsDlg::Reload()
{
    EndPreview();
    Load();
    ShowValues(m_initial);
}

void CSettingsDlg::ShowSample(int sample, const std::string& colour)
{
    SetDlgItemTextW(m_hWnd, sample, WideFromUtf8(colour).c_str());
    for (size_t i = 0; i < std::size(kColours); ++i)
        if (kColours[i].sample == sample)
            m_sampleBrushes[i].reset(CreateSolidBrush(ColourOfText(colour)));
    InvalidateRect(GetDlgItem(m_hWnd, sample), nullptr, TRUE);
}

void CSettingsDlg::ChooseColour(int button)
{
    const ColourControl& colour = *std::find_if(std::begin(kColours), std::end(kColours),
                                                [&](const ColourControl& c) { return c.button == button; });
    CHOOSECOLORW choice = {sizeof choice};
    choice.hwndOwner = m_hWnd;
    choice.rgbResult = ColourOfText(ControlText(m_hWnd, colour.sample));
    choice.lpCustColors = m_customColours.data();
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (ChooseColorW(&choice)) {
        ShowSample(colour.sample, TextOfColour(choice.rgbResult));
        Changed();
    }
}

void CSettingsDlg::OpenDiaryFolder()
{
    const std::wstring folder = WideFromUtf8(UserDiaryFolderPath());
    if (folder.empty())
        throw XVuk("There is no local application data folder for the line diary");
    CreateDirectoryW(folder.c_str(), nullptr); // the diary may not have been kept yet
    const INT_PTR result = INT_PTR(ShellExecuteW(m_hWnd, L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32)
        throw XVuk("Can't open the folder %s (%d)", Utf8FromWide(folder).c_str(), int(result));
}

bool CSettingsDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    static const MessageEntry<CSettingsDlg> table[] = {
        {WM_COMMAND, BN_CLICKED, IDOK, &CSettingsDlg::OnOk},
        {WM_COMMAND, BN_CLICKED, IDCANCEL, &CSettingsDlg::OnCancel},
        {WM_COMMAND, BN_CLICKED, IDC_SET_APPLY, &CSettingsDlg::OnApply},
        {WM_COMMAND, BN_CLICKED, kAnyId, &CSettingsDlg::OnClicked},
        {WM_COMMAND, EN_CHANGE, kAnyId, &CSettingsDlg::OnChanged},
        {WM_COMMAND, CBN_SELCHANGE, IDC_SET_LANG_LIST, &CSettingsDlg::OnChanged},
    };
    if (message == WM_CTLCOLORSTATIC) // the colour samples; the other statics as the dialog manager draws them
        return ColourSample(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), result);
    return DispatchMessageTable(this, table, message, wParam, lParam, result) ||
           CDialog::OnMessage(message, wParam, lParam, result);
}

LRESULT CSettingsDlg::OnOk(WPARAM, LPARAM)
{
    if (Apply())
        DestroyWindow(); // the application deletes the object later
    return 0;
}

LRESULT CSettingsDlg::OnCancel(WPARAM, LPARAM)
{
    // Escape and the close box come here too: nothing is written.
    EndPreview();
    DestroyWindow();
    return 0;
}

LRESULT CSettingsDlg::OnApply(WPARAM, LPARAM)
{
    Apply();
    return 0;
}

LRESULT CSettingsDlg::OnClicked(WPARAM wParam, LPARAM)
{
    const int control = LOWORD(wParam);
    if (control == IDC_SET_FOLDER)
        OpenDiaryFolder();
    else if (std::any_of(std::begin(kColours), std::end(kColours), [&](const ColourControl& c) { return c.button == control; }))
        ChooseColour(control);
    else
        Changed();
    return 0;
}

LRESULT CSettingsDlg::OnChanged(WPARAM, LPARAM)
{
    Changed();
    return 0;
}

bool CSettingsDlg::ColourSample(HDC dc, HWND control, LRESULT& result)
{
    for (size_t i = 0; i < std::size(kColours); ++i) {
        if (kColours[i].sample != GetDlgCtrlID(control) || !m_sampleBrushes[i])
            continue;
        // The value in black or white, whichever stands out from the colour.
        const COLORREF colour = ColourOfText(ControlText(m_hWnd, kColours[i].sample));
        const int light = GetRValue(colour) * 3 + GetGValue(colour) * 6 + GetBValue(colour);
        SetTextColor(dc, light >= 1280 ? RGB(0, 0, 0) : RGB(255, 255, 255));
        SetBkColor(dc, colour);
        result = reinterpret_cast<LRESULT>(m_sampleBrushes[i].get());
        return true;
    }
    return false;
}
