// Interim skinned window: a plain window of the program's class and title.
#include "skin/SkinMainWnd.h"

#include "framework/ProgramClass.h"
#include "settings/ResourceIds.h"
#include "settings/ResourceModule.h"

CSkinMainWnd::CSkinMainWnd(IAppServices& app) : m_pApp(&app)
{
    std::wstring title = LoadResString(IDS_TITLE);
    CreateEx(0, kProgramWindowClass, title.c_str(), WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU, 200, 200,
             388, 263, nullptr, 0);
}

CSkinMainWnd::~CSkinMainWnd()
{
    DestroyWindow();
}

bool CSkinMainWnd::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(m_hWnd, &paint);
        RECT client;
        GetClientRect(m_hWnd, &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
        EndPaint(m_hWnd, &paint);
        result = 0;
        return true;
    }
    return false;
}
