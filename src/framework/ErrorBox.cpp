#include "framework/ErrorBox.h"

#include "settings/XVuk.h"

#include <windows.h>

#include <new>
#include <stdexcept>

namespace {

void ShowErrorBox(const char* text)
{
    MessageBoxA(nullptr, text, "Error", MB_OK | MB_ICONHAND);
}

bool g_errorBoxOpen = false;
ErrorBoxShower g_shower = ShowErrorBox;

} // namespace

ErrorBoxShower SetErrorBoxShower(ErrorBoxShower shower)
{
    ErrorBoxShower previous = g_shower;
    g_shower = shower ? shower : ShowErrorBox;
    return previous;
}

bool IsErrorBoxOpen()
{
    return g_errorBoxOpen;
}

void ReportError(const XVuk& error)
{
    if (g_errorBoxOpen)
        return;
    g_errorBoxOpen = true;
    g_shower(error.GetMessageText().c_str());
    g_errorBoxOpen = false;
}

void ReportCurrentException()
{
    try {
        throw;
    } catch (const XVuk& error) {
        ReportError(error);
    } catch (const std::bad_alloc&) {
        ReportError(XVuk("Out of memory"));
    } catch (const std::exception& error) {
        ReportError(XVuk("%s", error.what()));
    } catch (...) {
        ReportError(XVuk("Unexpected error"));
    }
}
