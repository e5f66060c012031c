#include "framework/ErrorBox.h"

#include "settings/XVuk.h"

#include <windows.h>

#include <new>
#include <stdexcept>

namespace {
bool g_errorBoxOpen = false;
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
    MessageBoxA(nullptr, error.GetMessageText().c_str(), "Error", MB_OK | MB_ICONHAND);
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
