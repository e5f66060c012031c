// The classic presentation of the status window: a modeless dialog with the
// logo, a tab control holding the status, version and history pages, a
// close button and the banner in the lower left corner. Logo and banner
// share one palette built from both. The pages that poll the modem stop
// while the PC sleeps and poll at once when it wakes.
#pragma once

#include "dib/Dib.h"
#include "dib/Palette.h"
#include "app/AppServices.h"
#include "framework/Dialog.h"
#include "framework/DialogScaler.h"
#include "framework/Handles.h"
#include "framework/PowerListener.h"

#include <exception>
#include <memory>
#include <vector>

class CStatusPage;
class CVersionPage;

class CClassicDlg : public CDialog, private CPowerListener {
public:
    // Loads the pictures, builds the palette, creates and shows the dialog.
    // Raises nothing: a failure is shown in the "Error" box and leaves the
    // object without a window (the application deals with that).
    CClassicDlg(IAppServices& app, CWnd* parent);
    ~CClassicDlg() override;

    // Where the banner's top-left corner goes: 10 pixels (at 96 DPI) from the left and bottom edges.
    POINT GetBannerOrigin() const;
    // The DPI the dialog is drawn at.
    unsigned GetDpi() const { return m_nDpi; }

    // The dialog's keyboard: Ctrl+Tab and Ctrl+Shift+Tab switch pages, Tab
    // and Shift+Tab go round the tab control, the shown page and Close,
    // the rest is the dialog manager's (Escape closes, as Close does).
    bool PreTranslateMessage(MSG& message) override;

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // Logo and banner at a DPI, with the palette built from both; raises
    // XVuk when either cannot be had.
    void LoadPictures(CDib& logo, CDib& banner, std::unique_ptr<CPalette>& palette, unsigned dpi) const;
    void LoadIcons(UniqueIcon& big, UniqueIcon& small, unsigned dpi) const;
    // WM_DPICHANGED: the dialog takes the suggested rectangle and is laid
    // out and drawn anew at `dpi`; when the pictures of that scale cannot be
    // had, it stays as it was.
    void ChangeDpi(unsigned dpi, const RECT& suggested);
    void OnSleep() override;
    void OnWake() override;
    void OnSessionEnd() override;
    // The pages that poll, with their timers.
    struct PollingPage {
        CDialog* page;
        UINT_PTR timer;
        UINT period;
    };
    std::vector<PollingPage> PollingPages() const;

    void LoadPictures();
    // When a page's window is made: with the dialog, or when its tab is first chosen.
    enum class PageWindow { AtOpen, WhenFirstShown };
    void CreatePages();
    void AddPage(std::unique_ptr<CDialog> page, UINT titleId, PageWindow when = PageWindow::AtOpen);
    void CreatePageWindow(CDialog& page);
    // Fits a page's window into the tab control's page area.
    void PlacePage(CDialog& page);
    // A read of the status page: handed to the line diary.
    void OnStatusPageRead(LineCondition condition, LineRates rates);
    void DrawLogo();
    // The banner's place in the window: a control of its own there, which
    // paints nothing (the dialog paints the banner) and gives screen readers its name.
    void PlaceBanner();
    void SelectPage(int index);
    CDialog* SelectedPage() const;
    HWND ShownPage() const; // the selected page's window, none before it is made
    std::vector<HWND> FocusStops() const;
    void MoveFocus(bool backwards);

    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnQueryNewPalette(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaletteChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnTabChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnCloseButton(WPARAM wParam, LPARAM lParam);
    LRESULT OnClose(WPARAM wParam, LPARAM lParam);
    LRESULT OnHandOver(WPARAM wParam, LPARAM lParam);
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);

    IAppServices* m_pApp;                       // not owned
    std::vector<std::unique_ptr<CDialog>> m_pages; // in tab order; children of the tab control
    CStatusPage* m_pStatusPage = nullptr;          // one of m_pages
    CVersionPage* m_pVersionPage = nullptr;        // one of m_pages
    bool m_bVersionTimerInStep = false;            // its timer was restarted in step with the status page's
    CDib m_logo{false};
    CDib m_banner{false};
    HWND m_hTabs = nullptr;                     // control of the dialog, destroyed with it
    HWND m_hBanner = nullptr;                   // likewise
    unsigned m_nDpi = 96;                       // what the pictures, icons and controls are made for
    CDialogScaler m_scaler;                     // lays the controls out at m_nDpi
    UniqueIcon m_hIconBig;
    UniqueIcon m_hIconSmall;
    // Lent to both pictures, so declared after them: it goes first.
    std::unique_ptr<CPalette> m_pPalette;
    // A failure while the pages were built, raised again by the constructor.
    std::exception_ptr m_initFailure;
};
