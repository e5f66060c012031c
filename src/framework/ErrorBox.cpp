#include "framework/ErrorBox.h"

#include "settings/XVuk.h"

#include <windows.h>

#include <algorithm>
#include <deque>
#include <new>
#include <stdexcept>
#include <string>

namespace {

void ShowErrorBox(const char* text)
{
    MessageBoxA(nullptr, text, "Error", MB_OK | MB_ICONHAND);
}

// More distinct errors than this while one box is open are not kept.
constexpr size_t kMostWaiting = 8;

bool g_errorBoxOpen = false;
std::string g_shown;              // the text of the open box
std::deque<std::string> g_waiting; // errors that came while it was open, oldest first
ErrorBoxShower g_shower = ShowErrorBox;

} // namespace

ErrorBoxShower SetErrorBoxShower(ErrorBoxShower shower)
{
    ErrorBoxShower previous = g_shower;
    g_shower = shower ? shower : ShowErrorBox;
    return previous;
}

void ReportError(const XVuk& error)
{
    std::string text = error.GetMessageText();
    if (g_errorBoxOpen) {
        if (text != g_shown && std::find(g_waiting.begin(), g_waiting.end(), text) == g_waiting.end() &&
            g_waiting.size() < kMostWaiting)
            g_waiting.push_back(text);
        return;
    }
    g_errorBoxOpen = true;
    g_waiting.push_back(text);
    while (!g_waiting.empty()) {
        g_shown = std::move(g_waiting.front());
        g_waiting.pop_front();
        g_shower(g_shown.c_str());
    }
    g_shown.clear();
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
