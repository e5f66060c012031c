// Message tables: each window class lists (message, notification code,
// control id, handler) rows and dispatches through them in its OnMessage,
// then falls back to its base class. For WM_COMMAND the code and id come
// from wParam; for WM_NOTIFY from the NMHDR; for other messages they are
// ignored. kAnyCode / kAnyId match everything.
#pragma once

#include <windows.h>

#include <cstddef>

inline constexpr UINT kAnyCode = 0xFFFFFFFFu;
inline constexpr UINT kAnyId = 0xFFFFFFFFu;

template <class T>
struct MessageEntry {
    UINT message;
    UINT code;
    UINT id;
    LRESULT (T::*handler)(WPARAM, LPARAM);
};

template <class T>
bool MessageEntryMatches(const MessageEntry<T>& entry, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (entry.message != message)
        return false;
    UINT code = kAnyCode;
    UINT id = kAnyId;
    if (message == WM_COMMAND) {
        code = HIWORD(wParam);
        id = LOWORD(wParam);
    } else if (message == WM_NOTIFY && lParam) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        code = header->code;
        id = UINT(header->idFrom);
    } else {
        return true;
    }
    return (entry.code == kAnyCode || entry.code == code) && (entry.id == kAnyId || entry.id == id);
}

template <class T, size_t N>
bool DispatchMessageTable(T* self, const MessageEntry<T> (&table)[N], UINT message, WPARAM wParam,
                          LPARAM lParam, LRESULT& result)
{
    for (const MessageEntry<T>& entry : table) {
        if (MessageEntryMatches(entry, message, wParam, lParam)) {
            result = (self->*entry.handler)(wParam, lParam);
            return true;
        }
    }
    return false;
}
