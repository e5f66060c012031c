// The fourteen language modules as the program finds them in its folder:
// every string the windows load, lists the program parses, the balloons'
// placeholders, tool-tips that fit the notification area, and texts that fit
// their controls in the module's own dialog font and in the skinned window's
// font; the Settings window's mnemonics each once.
#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "settings/LanguageTable.h"
#include "settings/ResourceIds.h"
#include "settings/WideText.h"
#include "skin/SkinGeometry.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

namespace {

// Loaded as the program does, from <build>/dist (the test runs in <build>/win/tests).
HMODULE LoadModule(const LanguageRow& row)
{
    wchar_t exe[MAX_PATH], full[MAX_PATH];
    std::wstring folder(exe, GetModuleFileNameW(nullptr, exe, MAX_PATH));
    folder.erase(folder.find_last_of(L"\\/") + 1);
    GetFullPathNameW((folder + L"..\\..\\dist\\").c_str(), MAX_PATH, full, nullptr);
    return LoadLibraryW((full + WideFromUtf8(row.moduleFile)).c_str());
}

std::wstring ModuleString(HMODULE module, UINT id)
{
    const wchar_t* text = nullptr;
    const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, length) : std::wstring();
}

// The items of a "value,label,..." list: values (first = 0) or labels (first = 1); all with first = -1.
std::vector<std::wstring> ListItems(const std::wstring& list, int first)
{
    std::vector<std::wstring> items;
    size_t start = 0;
    for (int i = 0;; ++i) {
        const size_t comma = list.find(L',', start);
        if (first < 0 || i % 2 == first)
            items.push_back(list.substr(start, comma - start));
        if (comma == std::wstring::npos)
            return items;
        start = comma + 1;
    }
}

std::wstring Longest(const std::vector<std::wstring>& texts)
{
    return *std::max_element(texts.begin(), texts.end(), [](auto& a, auto& b) { return a.size() < b.size(); });
}

// Creates a template of a module as the program does; the dialog stays invisible.
HWND CreateFromTemplate(HMODULE module, int id, HWND parent)
{
    DLGPROC quiet = [](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR { return message == WM_INITDIALOG; };
    return CreateDialogParamW(module, MAKEINTRESOURCEW(id), parent, quiet, 0);
}

class LanguageModuleTest : public ::testing::TestWithParam<int> {};

TEST_P(LanguageModuleTest, HoldsEveryStringAndItsTextsFit)
{
    const LanguageRow& row = kLanguageTable[GetParam()];
    UniqueModule module(LoadModule(row)), english(LoadModule(kLanguageTable[0]));
    ASSERT_TRUE(module && english) << "cannot load " << row.moduleFile << " from the program folder";
    auto text = [&](UINT id) { return ModuleString(module.get(), id); };

    // Every string the windows load, translated, with the English one's placeholders %1 and %2.
    auto marks = [](const std::wstring& t) { return std::make_pair(t.find(L"%1") != t.npos, t.find(L"%2") != t.npos); };
    int differing = 0;
    for (UINT id = IDS_TITLE; id <= IDS_LAST_STRING; ++id) {
        if (id == 2 || (id > IDS_UNKNOWN && id < IDS_LINE_STATES))
            continue; // not used
        EXPECT_FALSE(text(id).empty()) << "string " << id;
        EXPECT_EQ(marks(ModuleString(english.get(), id)), marks(text(id))) << "string " << id << ": placeholders";
        differing += text(id) != ModuleString(english.get(), id);
    }
    EXPECT_TRUE(GetParam() == 0 || differing >= 20) << differing << " strings differ from English";
    EXPECT_NE(std::wstring::npos, text(IDS_TITLE).find(L"Modavi")) << "the product name stays";

    // The lists parse: value and label pairs, the values the program's own.
    for (UINT id : {IDS_LINE_STATES, IDS_LINE_MODES}) {
        EXPECT_EQ(0u, ListItems(text(id), -1).size() % 2) << "string " << id;
        for (const std::wstring& item : ListItems(text(id), 1))
            EXPECT_FALSE(item.empty() || iswdigit(item[0])) << "string " << id << ": a label empty or like a value";
        EXPECT_EQ(ListItems(ModuleString(english.get(), id), 0), ListItems(text(id), 0)) << "string " << id;
    }

    // Tool-tips of at most 63 characters, the longest rates, state name and "unavailable".
    std::vector<std::wstring> states = ListItems(text(IDS_LINE_STATES), 1), modes = ListItems(text(IDS_LINE_MODES), 1);
    states.push_back(text(IDS_UNKNOWN));
    for (const std::wstring& tip : {text(IDS_RATE_UPSTREAM) + L": 99999 kbps\n" + text(IDS_RATE_DOWNSTREAM) + L": 99999 kbps",
                                    text(IDS_LABEL_STATE) + L" " + Longest(states), text(IDS_UNAVAILABLE)})
        EXPECT_LE(text(IDS_TITLE).size() + 1 + tip.size(), 63u) << tip.c_str();

    // The classic dialog and its pages: each text fits its control.
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    HWND dialog = CreateFromTemplate(module.get(), IDD_CLASSIC, nullptr), tabs = GetDlgItem(dialog, IDC_TABS);
    HWND s = CreateFromTemplate(module.get(), IDD_STATUS_PAGE, tabs), v = CreateFromTemplate(module.get(), IDD_VERSION_PAGE, tabs);
    HWND h = CreateFromTemplate(module.get(), IDD_HISTORY_PAGE, tabs), w = CreateFromTemplate(module.get(), IDD_SETTINGS, nullptr);
    ASSERT_TRUE(dialog && s && v && h && w);
    const std::wstring longestDuration =
        std::regex_replace(std::regex_replace(text(IDS_DURATION_HOURS), std::wregex(L"%1"), L"23"), std::wregex(L"%2"), L"59");
    states.back() = text(IDS_UNAVAILABLE); // the page's unreadable state, instead of the tip's unlisted one
    modes.push_back(text(IDS_UNAVAILABLE));
    enum Kind { kWrapped, kGroupBox, kButton, kField, kBox, kList };
    const std::vector<std::wstring> languages = ListItems(text(IDS_SETTINGS_LANG_NAMES), -1);
    EXPECT_EQ(size_t(kLanguageCount), languages.size()) << "the Settings window's list of languages";
    const struct { HWND parent; int control; std::wstring text; Kind kind; } fits[] = {
        {s, IDC_CAPTION_CONNECTION, text(IDS_GROUP_CONNECTION), kGroupBox}, {s, IDC_CAPTION_RATES, text(IDS_GROUP_RATES), kGroupBox},
        {s, IDC_CAPTION_ACTIVITY, text(IDS_GROUP_ACTIVITY), kGroupBox},     {s, IDC_CAPTION_STATE, text(IDS_LABEL_STATE), kWrapped},
        {s, IDC_CAPTION_MODE, text(IDS_LABEL_MODE), kWrapped},              {s, IDC_CAPTION_LEGEND, text(IDS_METER_LEGEND), kWrapped},
        {s, IDC_CAPTION_DOWNSTREAM, text(IDS_RATE_DOWNSTREAM), kWrapped},   {s, IDC_CAPTION_UPSTREAM, text(IDS_RATE_UPSTREAM), kWrapped},
        {s, IDC_STATE_TEXT, Longest(states), kWrapped},                     {s, IDC_MODE_TEXT, Longest(modes) + L" (DBM)", kWrapped},
        {s, IDC_DOWNSTREAM_TEXT, L"99999", kWrapped},                       {s, IDC_UPSTREAM_TEXT, L"99999", kWrapped},
        {v, IDC_CAPTION_PROGRAM, text(IDS_LABEL_PROGRAM), kWrapped},        {v, IDC_CAPTION_DRIVER, text(IDS_LABEL_DRIVER), kWrapped},
        {v, IDC_DRIVER_VERSION, L"ADSL USB/PCI WDM driver 3.41.07 build 2087, 2004-11-23, A2pB023", kField},
        {v, IDC_DRIVER_VERSION, text(IDS_UNKNOWN), kField},               {dialog, IDC_CLOSE, text(IDS_CLOSE_BUTTON), kButton},
        {h, IDC_CAPTION_UP_DAY, text(IDS_HISTORY_UP_DAY), kWrapped},        {h, IDC_CAPTION_UP_WEEK, text(IDS_HISTORY_UP_WEEK), kWrapped},
        {h, IDC_CAPTION_DROPS, text(IDS_HISTORY_DROPS), kWrapped},          {h, IDC_CAPTION_LONGEST, text(IDS_HISTORY_LONGEST), kWrapped},
        {h, IDC_CAPTION_SESSION, text(IDS_HISTORY_SESSION), kWrapped},      {h, IDC_HISTORY_EXPORT, text(IDS_HISTORY_EXPORT), kButton},
        {h, IDC_UP_DAY_TEXT, L"100.0 %", kWrapped},                         {h, IDC_LONGEST_TEXT, longestDuration, kWrapped},
        {h, IDC_HISTORY_ASLEEP_TEXT, text(IDS_HISTORY_ASLEEP), kWrapped},
        {h, IDC_HISTORY_PERIOD, Longest({text(IDS_HISTORY_PERIOD_DAY), text(IDS_HISTORY_PERIOD_WEEK), text(IDS_HISTORY_PERIOD_ALL)}), kList},
        {w, IDC_SET_WINDOW, text(IDS_SETTINGS_WINDOW), kGroupBox},          {w, IDC_SET_CLASSIC, text(IDS_SETTINGS_CLASSIC), kBox},
        {w, IDC_SET_SKINNED, text(IDS_SETTINGS_SKINNED), kBox},            {w, IDC_SET_TRAY, text(IDS_SETTINGS_TRAY), kBox},
        {w, IDC_SET_TRAY_NOTE, text(IDS_SETTINGS_TRAY_NOTE), kWrapped},    {w, IDC_SET_AUTOSTART, text(IDS_SETTINGS_AUTOSTART), kBox},
        {w, IDC_SET_AUTOSTART_NOTE, text(IDS_SETTINGS_AUTOSTART_NOTE), kWrapped}, {w, IDC_SET_LANGUAGE, text(IDS_SETTINGS_LANGUAGE), kGroupBox},
        {w, IDC_SET_LANG_WINDOWS, text(IDS_SETTINGS_LANG_WINDOWS), kBox},  {w, IDC_SET_LANG_INSTALLER, text(IDS_SETTINGS_LANG_INSTALLER), kBox},
        {w, IDC_SET_LANG_ONE, text(IDS_SETTINGS_LANG_ONE), kBox},          {w, IDC_SET_LANG_LIST, Longest(languages), kList},
        {w, IDC_SET_LANG_NOTE, text(IDS_SETTINGS_LANG_NOTE), kWrapped},    {w, IDC_SET_ALERTS, text(IDS_SETTINGS_ALERTS), kGroupBox},
        {w, IDC_SET_BALLOONS, text(IDS_SETTINGS_BALLOONS), kBox},          {w, IDC_SET_DIARY, text(IDS_SETTINGS_DIARY), kBox},
        {w, IDC_SET_DAYS_LABEL, text(IDS_SETTINGS_DAYS), kWrapped},        {w, IDC_SET_FOLDER, text(IDS_SETTINGS_FOLDER), kButton},
        {w, IDC_SET_COLOURS, text(IDS_SETTINGS_COLOURS), kGroupBox},       {w, IDC_SET_HUE_LABEL, text(IDS_SETTINGS_HUE), kWrapped},
        {w, IDC_SET_SAT_LABEL, text(IDS_SETTINGS_SAT), kWrapped},          {w, IDC_SET_TITLE_HUE_LABEL, text(IDS_SETTINGS_TITLE_HUE), kWrapped},
        {w, IDC_SET_TITLE_SAT_LABEL, text(IDS_SETTINGS_TITLE_SAT), kWrapped}, {w, IDC_SET_BUTTONS, text(IDS_SETTINGS_BUTTONS), kBox},
        {w, IDC_SET_LOGO, text(IDS_SETTINGS_LOGO), kBox},                  {w, IDC_SET_TITLE_TEXT, text(IDS_SETTINGS_TITLE_TEXT), kButton},
        {w, IDC_SET_LABEL_TEXT, text(IDS_SETTINGS_LABEL_TEXT), kButton},   {w, IDC_SET_VALUE_TEXT, text(IDS_SETTINGS_VALUE_TEXT), kButton},
        {w, IDC_SET_TITLE_SAMPLE, L"255,255,255", kWrapped},               {w, IDOK, text(IDS_SETTINGS_OK), kButton},
        {w, IDCANCEL, text(IDS_SETTINGS_CANCEL), kButton},                 {w, IDC_SET_APPLY, text(IDS_SETTINGS_APPLY), kButton},
    };
    for (const auto& fit : fits) {
        HWND control = GetDlgItem(fit.parent, fit.control);
        RECT client = {}, needed = {};
        GetClientRect(control, &client);
        needed.right = client.right; // wrapped at the control's width, as a static control wraps
        ClientDC dc(control);
        SelectObjectScope font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
        DrawTextW(dc.get(), fit.text.c_str(), -1, &needed,
                  DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (fit.kind == kWrapped ? DT_WORDBREAK : DT_SINGLELINE));
        // By kind: the group box's frame, the button's edges, the field's margins, a box and its gap, a list's arrow.
        const int margin[] = {0, 20, 12, 4, Dpi::Scale(18, Dpi::ForWindow(control)),
                              GetSystemMetrics(SM_CXVSCROLL) + Dpi::Scale(6, Dpi::ForWindow(control))};
        EXPECT_LE(needed.right + margin[fit.kind], client.right)
            << "control " << fit.control << " is too narrow";
        EXPECT_TRUE(fit.kind == kGroupBox || needed.bottom <= client.bottom) << "control " << fit.control << " is too low";
    }
    DestroyWindow(dialog);
    DestroyWindow(w);

    // The Settings window: a title of its own (a second start looks for string 1), each mnemonic once.
    EXPECT_NE(text(IDS_TITLE), text(IDS_SETTINGS_TITLE));
    std::wstring mnemonics;
    for (UINT id = IDS_SETTINGS_CLASSIC; id <= IDS_SETTINGS_APPLY; ++id)
        if (const size_t at = text(id).find(L'&'); at != std::wstring::npos)
            mnemonics += wchar_t(towlower(text(id)[at + 1]));
    std::wstring distinct = mnemonics;
    std::sort(distinct.begin(), distinct.end());
    EXPECT_EQ(21u, mnemonics.size());
    EXPECT_EQ(distinct.end(), std::adjacent_find(distinct.begin(), distinct.end())) << "a mnemonic twice";

    // The skinned window's labels and values fit their columns (161 pixels at 96 DPI) and a page
    // title with its indicator the title bar (321) at the DPI the test runs at, in MS Sans Serif
    // as Windows draws it, 13 pixels high at 96 DPI (Japanese: the default face, 14).
    const bool japanese = std::string(row.name) == "japanese";
    const CSkinGeometry skin(Dpi::ForPoint({0, 0}));
    const RECT label = skin.LabelRow(0, 0, 0), value = skin.ValueRow(0, 0, 0);
    const RECT titleText = skin.TitleText(skin.Scale(331), skin.Scale(20));
    const int column = std::min(label.right - label.left, value.right - value.left);
    UniqueFont font(CreateFontW(skin.Scale(japanese ? 14 : 13), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS,
                                japanese ? L"" : L"MS Sans Serif"));
    MemoryDC dc(nullptr);
    SelectObjectScope selected(dc.get(), font.get());
    auto width = [&](const std::wstring& line) {
        SIZE size = {};
        GetTextExtentPoint32W(dc.get(), line.c_str(), int(line.size()), &size);
        return size.cx;
    };
    for (UINT id : {IDS_LABEL_STATE, IDS_LABEL_MODE, IDS_LABEL_DOWNSTREAM, IDS_LABEL_UPSTREAM, IDS_LABEL_PACKAGE,
                    IDS_LABEL_DRIVER, IDS_LABEL_PROGRAM, IDS_LABEL_FIRMWARE, IDS_UNAVAILABLE})
        EXPECT_LE(width(text(id)), column) << "string " << id;
    const std::wstring format = text(IDS_PAGE_FORMAT);
    ASSERT_TRUE(std::count(format.begin(), format.end(), L'%') == 2 && format[format.find(L'%') + 1] == L'd' &&
                format[format.rfind(L'%') + 1] == L'd') << "the page indicator takes two %d and no other %";
    wchar_t indicator[64];
    swprintf(indicator, 64, format.c_str(), 2, 2);
    for (UINT title : {IDS_TAB_STATUS, IDS_TAB_VERSION})
        EXPECT_LE(width(text(title)) + skin.Scale(8) + width(indicator), titleText.right - titleText.left)
            << "string " << title;
}

INSTANTIATE_TEST_SUITE_P(Modules, LanguageModuleTest, ::testing::Range(0, kLanguageCount),
                         [](const ::testing::TestParamInfo<int>& info) { return std::string(kLanguageTable[info.param].name); });

} // namespace
