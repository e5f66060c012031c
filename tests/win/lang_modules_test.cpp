// The fourteen language modules as the program finds them in its folder:
// loadable resource-only libraries in the right language, with every string
// the windows load, lists the program can parse, tool-tips that fit the
// notification area, and the three dialog templates with every control the
// windows look for, laid out so that each translation fits its control.
#include "framework/Handles.h"
#include "settings/LanguageTable.h"
#include "settings/ResourceIds.h"
#include "settings/WideText.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <iterator>
#include <string>
#include <vector>

namespace {

const UINT kStringIds[] = {
    IDS_TITLE, IDS_TAB_STATUS, IDS_TAB_VERSION, IDS_UNAVAILABLE, IDS_UNKNOWN, IDS_LINE_STATES,
    IDS_LINE_MODES, IDS_TIP_PREVIOUS, IDS_TIP_NEXT, IDS_TIP_MINIMISE, IDS_TIP_CLOSE, IDS_LABEL_STATE,
    IDS_LABEL_MODE, IDS_LABEL_UPSTREAM, IDS_LABEL_DOWNSTREAM, IDS_LABEL_DRIVER, IDS_LABEL_PROGRAM,
    IDS_GROUP_RATES, IDS_GROUP_ACTIVITY, IDS_METER_LEGEND, IDS_RATE_DOWNSTREAM, IDS_RATE_UPSTREAM,
    IDS_GROUP_CONNECTION, IDS_CLOSE_BUTTON, IDS_MENU_OPEN, IDS_MENU_CLOSE, IDS_MENU_EXIT,
    IDS_LABEL_PACKAGE, IDS_LABEL_FIRMWARE, IDS_PAGE_FORMAT,
};

constexpr size_t kTrayTipLimit = 63;      // the tool-tip field holds 64 characters with the zero
constexpr size_t kTitleLimit = 16;
constexpr int kLogoWidth = 260, kLogoHeight = 50;
constexpr RECT kBannerSpaceFromBottomLeft = {0, 35, 190, 0};  // left, top above bottom, right, bottom
constexpr wchar_t kLongDriverText[] = L"ADSL USB/PCI WDM driver 3.41.07 build 2087, 2004-11-23, A2pB023";

struct WindowDeleter { void operator()(HWND window) const { DestroyWindow(window); } };
using UniqueWindow = UniqueHandleT<HWND, WindowDeleter>;

// The program folder: the test runs from <build>/win/tests, the modules are in <build>/dist.
std::wstring ProgramFolder()
{
    wchar_t exe[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder(exe, length);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    folder += L"..\\..\\dist\\";
    wchar_t full[MAX_PATH];
    return GetFullPathNameW(folder.c_str(), MAX_PATH, full, nullptr) ? std::wstring(full) : folder;
}

std::wstring ModulePath(const LanguageRow& row)
{
    return ProgramFolder() + WideFromUtf8(row.moduleFile);
}

HMODULE LoadAsData(const LanguageRow& row)
{
    return LoadLibraryExW(ModulePath(row).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

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

// The values (first = 0) or the labels (first = 1) of a "value,label,..." list.
std::vector<std::wstring> ListItems(const std::wstring& list, size_t first)
{
    std::vector<std::wstring> parts = SplitAtComma(list), items;
    for (size_t i = first; i < parts.size(); i += 2)
        items.push_back(parts[i]);
    return items;
}

std::wstring Longest(const std::vector<std::wstring>& texts)
{
    return *std::max_element(texts.begin(), texts.end(), [](auto& a, auto& b) { return a.size() < b.size(); });
}

size_t Count(const std::wstring& text, const std::wstring& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

std::vector<LANGID> ResourceLanguages(HMODULE module, LPCWSTR type, LPCWSTR name)
{
    std::vector<LANGID> languages;
    EnumResourceLanguagesW(
        module, type, name,
        [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) -> BOOL {
            reinterpret_cast<std::vector<LANGID>*>(param)->push_back(language);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

const DLGTEMPLATE* FindTemplate(HMODULE module, int id)
{
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    if (!resource)
        return nullptr;
    return static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(module, resource)));
}

// The window style of a template, classic or extended.
DWORD TemplateStyle(const DLGTEMPLATE* templ)
{
    auto words = reinterpret_cast<const WORD*>(templ);
    if (words[0] == 1 && words[1] == 0xFFFF) {  // dlgVer, signature, helpID, exStyle, style
        DWORD style;
        memcpy(&style, reinterpret_cast<const BYTE*>(templ) + 12, sizeof(style));
        return style;
    }
    return templ->style;
}

// Creates a template of a module as the program does; the dialog stays invisible.
UniqueWindow CreateFromTemplate(HMODULE module, int id, HWND parent)
{
    const DLGTEMPLATE* templ = FindTemplate(module, id);
    if (!templ)
        return UniqueWindow();
    DLGPROC quiet = [](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR { return message == WM_INITDIALOG; };
    return UniqueWindow(CreateDialogIndirectParamW(GetModuleHandleW(nullptr), templ, parent, quiet, 0));
}

RECT ChildRect(HWND parent, HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::wstring ClassName(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The rectangle a text needs when drawn in a control's font, wrapped at the
// control's width the way a static control wraps it.
RECT TextNeeds(HWND control, const std::wstring& text, bool wrap)
{
    RECT client;
    GetClientRect(control, &client);
    ClientDC dc(control);
    SelectObjectScope font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT needed = {0, 0, client.right, 0};
    DrawTextW(dc.get(), text.c_str(), -1, &needed,
              DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
    return needed;
}

// A text fits a static control when, wrapped as the control wraps it, it
// needs no more than the control's client area; a group box draws its
// caption on one line, inset from both ends of its frame.
void ExpectFits(HWND page, int control, const std::wstring& text, bool groupBox = false)
{
    HWND window = GetDlgItem(page, control);
    ASSERT_NE(window, nullptr) << "control " << control;
    RECT client;
    GetClientRect(window, &client);
    RECT needed = TextNeeds(window, text, !groupBox);
    EXPECT_LE(needed.right + (groupBox ? 20 : 0), client.right) << "control " << control << " is too narrow";
    if (!groupBox) {
        EXPECT_LE(needed.bottom, client.bottom) << "control " << control << " is too low for its text";
    }
}

class LanguageModuleTest : public ::testing::TestWithParam<int> {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES};
        InitCommonControlsEx(&controls);
    }

    void SetUp() override
    {
        m_module.reset(LoadAsData(row()));
        ASSERT_TRUE(m_module) << "cannot load " << row().moduleFile << " from the program folder";
        m_english.reset(LoadAsData(kLanguageTable[0]));
        ASSERT_TRUE(m_english);
    }

    // The classic dialog and both pages on its tab control, as the program makes them.
    void CreateWindows()
    {
        dialog = CreateFromTemplate(module(), IDD_CLASSIC, nullptr);
        ASSERT_TRUE(dialog) << "template 1001 does not create";
        tabs = GetDlgItem(dialog.get(), IDC_TABS);
        statusPage = CreateFromTemplate(module(), IDD_STATUS_PAGE, tabs);
        versionPage = CreateFromTemplate(module(), IDD_VERSION_PAGE, tabs);
        ASSERT_TRUE(statusPage && versionPage);
    }

    const LanguageRow& row() const { return kLanguageTable[GetParam()]; }
    bool isEnglish() const { return GetParam() == 0; }
    std::wstring text(UINT id) const { return ModuleString(m_module.get(), id); }
    std::wstring english(UINT id) const { return ModuleString(m_english.get(), id); }
    HMODULE module() const { return m_module.get(); }

    UniqueWindow dialog, statusPage, versionPage;
    HWND tabs = nullptr;

private:
    UniqueModule m_module, m_english;
};

TEST_P(LanguageModuleTest, LoadsAsLibraryThatRunsAndImportsNothing)
{
    // The program loads the module with LoadLibraryA; loading must run no
    // code of the module and pull in no other library.
    std::wstring wide = ModulePath(row());
    std::string path(wide.begin(), wide.end());
    UniqueModule loaded(LoadLibraryA(path.c_str()));
    ASSERT_TRUE(loaded) << "LoadLibraryA failed with " << GetLastError();

    auto base = reinterpret_cast<const BYTE*>(loaded.get());
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    ASSERT_EQ(dos->e_magic, IMAGE_DOS_SIGNATURE);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    EXPECT_TRUE(nt->FileHeader.Characteristics & IMAGE_FILE_DLL);
    EXPECT_EQ(nt->OptionalHeader.AddressOfEntryPoint, 0u) << "a resource module has no entry point";
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.Size != 0) {
        auto first = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
        EXPECT_EQ(first->Name, 0u) << "imports " << reinterpret_cast<const char*>(base + first->Name);
    }
}

TEST_P(LanguageModuleTest, ResourcesAreInTheModulesLanguageOnly)
{
    auto expectLanguage = [&](LPCWSTR type, LPCWSTR name, const char* what) {
        std::vector<LANGID> languages = ResourceLanguages(module(), type, name);
        ASSERT_EQ(languages.size(), 1u) << what << ": one language expected";
        EXPECT_EQ(PRIMARYLANGID(languages[0]), row().primaryId) << what;
        if (row().subLanguage != kAnySubLanguage) {
            EXPECT_EQ(SUBLANGID(languages[0]), row().subLanguage) << what;
        }
    };
    for (UINT block : {1u, 2u, 3u}) {  // string ids 0-15, 16-31, 32-47
        expectLanguage(MAKEINTRESOURCEW(6) /* RT_STRING */, MAKEINTRESOURCEW(block), "string table");
    }
    for (int id : {IDD_CLASSIC, IDD_STATUS_PAGE, IDD_VERSION_PAGE}) {
        expectLanguage(MAKEINTRESOURCEW(5) /* RT_DIALOG */, MAKEINTRESOURCEW(id), "dialog template");
    }
}

TEST_P(LanguageModuleTest, EveryStringIsThereAndTranslated)
{
    int differing = 0;
    for (UINT id : kStringIds) {
        EXPECT_FALSE(text(id).empty()) << "string " << id;
        differing += text(id) != english(id);
    }
    EXPECT_LE(text(IDS_TITLE).size(), kTitleLimit);
    EXPECT_NE(text(IDS_TITLE).find(L"Modavi"), std::wstring::npos) << "the product name stays";
    if (!isEnglish()) {
        EXPECT_TRUE(text(IDS_TITLE) != english(IDS_TITLE) || text(IDS_TAB_STATUS) != english(IDS_TAB_STATUS));
        EXPECT_GE(differing, 20) << "of " << std::size(kStringIds) << " strings differ from English";
    }
}

TEST_P(LanguageModuleTest, EnumerationListsParseWithTheEnglishValues)
{
    for (UINT id : {IDS_LINE_STATES, IDS_LINE_MODES}) {
        std::vector<std::wstring> parts = SplitAtComma(text(id));
        EXPECT_EQ(parts.size() % 2, 0u) << "string " << id << " needs value and label pairs";
        for (const auto& part : parts) {
            EXPECT_FALSE(part.empty()) << "string " << id << " has an empty item";
        }
        for (const auto& label : ListItems(text(id), 1)) {
            EXPECT_FALSE(!label.empty() && iswdigit(label[0])) << "a label of string " << id << " begins with a digit";
        }
        EXPECT_EQ(ListItems(text(id), 0), ListItems(english(id), 0)) << "string " << id;
    }
    // The values are the program's, not translatable: the line states 0 to 4.
    EXPECT_EQ(ListItems(english(IDS_LINE_STATES), 0), (std::vector<std::wstring>{L"0", L"1", L"2", L"3", L"4"}));
}

TEST_P(LanguageModuleTest, TrayToolTipsFitTheirField)
{
    const std::wstring title = text(IDS_TITLE);
    std::wstring rates = title + L"\n" + text(IDS_RATE_UPSTREAM) + L": 99999 kbps\n" + text(IDS_RATE_DOWNSTREAM) +
                         L": 99999 kbps";
    EXPECT_LE(rates.size(), kTrayTipLimit) << "line-up tool-tip";
    std::vector<std::wstring> names = ListItems(text(IDS_LINE_STATES), 1);
    names.push_back(text(IDS_UNKNOWN));  // a state the list does not name
    std::wstring state = title + L"\n" + text(IDS_LABEL_STATE) + L" " + Longest(names);
    EXPECT_LE(state.size(), kTrayTipLimit) << "line-state tool-tip";
    EXPECT_LE((title + L"\n" + text(IDS_UNAVAILABLE)).size(), kTrayTipLimit) << "unreadable-state tool-tip";
}

TEST_P(LanguageModuleTest, TemplatesHaveTheirStylesAndControls)
{
    const DLGTEMPLATE* classic = FindTemplate(module(), IDD_CLASSIC);
    const DLGTEMPLATE* status = FindTemplate(module(), IDD_STATUS_PAGE);
    const DLGTEMPLATE* version = FindTemplate(module(), IDD_VERSION_PAGE);
    ASSERT_TRUE(classic && status && version);
    const DWORD popup = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    EXPECT_EQ(TemplateStyle(classic) & popup, popup);
    EXPECT_EQ(TemplateStyle(classic) & WS_VISIBLE, 0u) << "the program shows the dialog itself";
    for (const DLGTEMPLATE* page : {status, version}) {
        EXPECT_EQ(TemplateStyle(page) & (WS_CHILD | DS_CONTROL), DWORD(WS_CHILD | DS_CONTROL));
        EXPECT_EQ(TemplateStyle(page) & (WS_BORDER | WS_CAPTION | WS_VISIBLE), 0u);
    }

    CreateWindows();
    EXPECT_EQ(ClassName(tabs), L"SysTabControl32");
    EXPECT_EQ(ClassName(GetDlgItem(dialog.get(), IDC_CLOSE)), L"Button");
    EXPECT_EQ(ClassName(GetDlgItem(dialog.get(), IDC_LOGO_FRAME)), L"Static");
    for (int id : {IDC_STATE_TEXT, IDC_MODE_TEXT, IDC_UPSTREAM_TEXT, IDC_DOWNSTREAM_TEXT, IDC_METER_PLACE,
                   IDC_STATE_ICON_PLACE, IDC_CAPTION_STATE, IDC_CAPTION_MODE, IDC_CAPTION_CONNECTION,
                   IDC_CAPTION_LEGEND, IDC_CAPTION_RATES, IDC_CAPTION_ACTIVITY, IDC_CAPTION_DOWNSTREAM,
                   IDC_CAPTION_UPSTREAM}) {
        EXPECT_NE(GetDlgItem(statusPage.get(), id), nullptr) << "status page control " << id;
    }
    for (int id : {IDC_PROGRAM_VERSION, IDC_DRIVER_VERSION, IDC_CAPTION_DRIVER, IDC_CAPTION_PROGRAM}) {
        EXPECT_NE(GetDlgItem(versionPage.get(), id), nullptr) << "version page control " << id;
    }
}

// The classic dialog filled as the program fills it: the pictures have their
// room, the tabs fit on one row and the pages fit the tab's page area.
TEST_P(LanguageModuleTest, ClassicDialogHoldsPicturesTabsAndPages)
{
    CreateWindows();

    RECT logo;
    GetClientRect(GetDlgItem(dialog.get(), IDC_LOGO_FRAME), &logo);
    EXPECT_GE(logo.right, kLogoWidth);
    EXPECT_GE(logo.bottom, kLogoHeight);

    RECT client;
    GetClientRect(dialog.get(), &client);
    RECT banner = {kBannerSpaceFromBottomLeft.left, client.bottom - kBannerSpaceFromBottomLeft.top,
                   kBannerSpaceFromBottomLeft.right, client.bottom};
    for (int id : {IDC_TABS, IDC_CLOSE, IDC_LOGO_FRAME}) {
        RECT control = ChildRect(dialog.get(), GetDlgItem(dialog.get(), id)), overlap;
        EXPECT_FALSE(IntersectRect(&overlap, &control, &banner)) << "control " << id << " covers the banner";
        EXPECT_TRUE(control.left >= 0 && control.top >= 0 && control.right <= client.right &&
                    control.bottom <= client.bottom) << "control " << id << " leaves the dialog";
    }

    HWND close = GetDlgItem(dialog.get(), IDC_CLOSE);
    RECT button;
    GetClientRect(close, &button);
    EXPECT_LE(TextNeeds(close, text(IDS_CLOSE_BUTTON), false).right + 12, button.right);

    for (UINT title : {IDS_TAB_STATUS, IDS_TAB_VERSION}) {
        std::wstring caption = text(title);
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(tabs, TCM_INSERTITEMW, SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), reinterpret_cast<LPARAM>(&item));
    }
    RECT area, first, last;
    GetClientRect(tabs, &area);
    SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    SendMessageW(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&last));
    EXPECT_LE(last.right, area.right) << "tab titles do not fit on one row";

    // The page area the program computes: below the tab items, two pixels inside.
    area.top = first.bottom + 1;
    InflateRect(&area, -2, -2);
    for (HWND page : {statusPage.get(), versionPage.get()}) {
        for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            RECT r = ChildRect(page, child);
            EXPECT_LE(r.right, area.right - area.left) << "control " << GetDlgCtrlID(child);
            EXPECT_LE(r.bottom, area.bottom - area.top) << "control " << GetDlgCtrlID(child);
        }
    }
}

// Every caption and the longest value each control can get fit without clipping.
TEST_P(LanguageModuleTest, PageTextsFitTheirControls)
{
    CreateWindows();
    HWND status = statusPage.get(), version = versionPage.get();
    for (auto [control, string] : {std::pair{IDC_CAPTION_CONNECTION, IDS_GROUP_CONNECTION},
                                   {IDC_CAPTION_RATES, IDS_GROUP_RATES}, {IDC_CAPTION_ACTIVITY, IDS_GROUP_ACTIVITY}})
        ExpectFits(status, control, text(string), true);
    for (auto [control, string] : {std::pair{IDC_CAPTION_STATE, IDS_LABEL_STATE}, {IDC_CAPTION_MODE, IDS_LABEL_MODE},
                                   {IDC_CAPTION_DOWNSTREAM, IDS_RATE_DOWNSTREAM},
                                   {IDC_CAPTION_UPSTREAM, IDS_RATE_UPSTREAM}, {IDC_CAPTION_LEGEND, IDS_METER_LEGEND}})
        ExpectFits(status, control, text(string));
    std::vector<std::wstring> states = ListItems(text(IDS_LINE_STATES), 1), modes = ListItems(text(IDS_LINE_MODES), 1);
    states.push_back(text(IDS_UNAVAILABLE));
    modes.push_back(text(IDS_UNAVAILABLE));
    ExpectFits(status, IDC_STATE_TEXT, Longest(states));
    ExpectFits(status, IDC_MODE_TEXT, Longest(modes) + L" (DBM)");
    ExpectFits(status, IDC_DOWNSTREAM_TEXT, L"99999");
    ExpectFits(status, IDC_UPSTREAM_TEXT, L"99999");

    ExpectFits(version, IDC_CAPTION_PROGRAM, text(IDS_LABEL_PROGRAM));
    ExpectFits(version, IDC_CAPTION_DRIVER, text(IDS_LABEL_DRIVER));
    ExpectFits(version, IDC_PROGRAM_VERSION, L"4.2.4");
    ExpectFits(version, IDC_DRIVER_VERSION, kLongDriverText);
    ExpectFits(version, IDC_DRIVER_VERSION, text(IDS_UNKNOWN));

    RECT icon;
    GetClientRect(GetDlgItem(status, IDC_STATE_ICON_PLACE), &icon);
    EXPECT_GE(icon.right, GetSystemMetrics(SM_CXICON)) << "the state icon is clipped";
    EXPECT_GE(icon.bottom, GetSystemMetrics(SM_CYICON)) << "the state icon is clipped";
}

// The skinned window's labels fit columns of 161 pixels, a page title with
// its indicator a title bar of 321, in MS Sans Serif 8 (13 pixels high on
// Windows) or, for Japanese, the default face 14 high.
TEST_P(LanguageModuleTest, SkinTextsFitTheirColumns)
{
    const bool japanese = std::string(row().name) == "japanese";
    UniqueFont font(CreateFontW(japanese ? 14 : 13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS,
                                japanese ? L"" : L"MS Sans Serif"));
    ASSERT_TRUE(font);
    MemoryDC dc(nullptr);
    SelectObjectScope selected(dc.get(), font.get());
    auto width = [&](const std::wstring& text) {
        SIZE size = {};
        GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    };
    const int kColumn = 161, kTitleBar = 321, kGap = 8;
    for (UINT id : {IDS_LABEL_STATE, IDS_LABEL_MODE, IDS_LABEL_DOWNSTREAM, IDS_LABEL_UPSTREAM, IDS_LABEL_PACKAGE,
                    IDS_LABEL_DRIVER, IDS_LABEL_PROGRAM, IDS_LABEL_FIRMWARE, IDS_UNAVAILABLE}) {
        EXPECT_LE(width(text(id)), kColumn) << "string " << id;
    }
    const std::wstring format = text(IDS_PAGE_FORMAT);
    ASSERT_TRUE(Count(format, L"%") == 2 && Count(format, L"%d") == 2) << "string 36 needs two %d and no other %";
    wchar_t indicator[64];
    swprintf(indicator, 64, format.c_str(), 2, 2);
    for (UINT title : {IDS_TAB_STATUS, IDS_TAB_VERSION}) {
        EXPECT_LE(width(text(title)) + kGap + width(indicator), kTitleBar) << "string " << title;
    }
}

std::string RowName(const ::testing::TestParamInfo<int>& info)
{
    return kLanguageTable[info.param].name;
}

INSTANTIATE_TEST_SUITE_P(Modules, LanguageModuleTest, ::testing::Range(0, kLanguageCount), RowName);

// The texts are decoded from the UTF-8 sources into the right characters.
TEST(LanguageModuleTexts, NonLatinScriptsArriveIntact)
{
    const struct { const char* name; const wchar_t* status; } expected[] = {
        {"japanese", L"\u72B6\u614B"},
        {"chinese_simp", L"\u72B6\u6001"},
        {"chinese_trad", L"\u72C0\u614B"},
        {"korean", L"\uC0C1\uD0DC"},
        {"russian", L"\u0421\u043E\u0441\u0442\u043E\u044F\u043D\u0438\u0435"},
        {"french", L"\u00C9tat"},
        {"turkish", L"Durum"},
    };
    for (const auto& language : expected) {
        int row = FindLanguageByName(language.name);
        ASSERT_GE(row, 0) << language.name;
        UniqueModule module(LoadAsData(kLanguageTable[row]));
        ASSERT_TRUE(module) << language.name;
        EXPECT_EQ(ModuleString(module.get(), IDS_TAB_STATUS), language.status) << language.name;
    }
}

} // namespace
