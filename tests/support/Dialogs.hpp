// Dialog-class windows ("#32770", message boxes among them) of another thread: found, read
// and closed from the test while their own thread sits in the modal loop.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/Desktop.hpp"

namespace support {

const char* const DIALOG_CLASS = "#32770";

struct ThreadWindowSearch {
    const char* className;
    std::vector<HWND> found;
};

inline BOOL CALLBACK MatchThreadWindow(HWND hwnd, LPARAM param) {
    ThreadWindowSearch* search = reinterpret_cast<ThreadWindowSearch*>(param);
    if (IsWindowVisible(hwnd) && ClassOf(hwnd) == search->className)
        search->found.push_back(hwnd);
    return TRUE;
}

// The visible top-level windows of that class belonging to the thread.
inline std::vector<HWND> ThreadWindows(DWORD threadId, const char* className) {
    ThreadWindowSearch search = {className, {}};
    EnumThreadWindows(threadId, MatchThreadWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// What an open message box shows.
struct BoxSeen {
    HWND box = NULL;
    HWND owner = NULL;
    std::string caption;
    std::string text;
    RECT rect = {};
};

inline std::string TextOf(HWND hwnd) {
    char text[256] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// Waits for the thread's message box and reads it; the text is the box's static text
// control, which message boxes give the identifier 0xFFFF.
inline BoxSeen WaitForBox(DWORD threadId, DWORD timeoutMs = 10000) {
    BoxSeen seen;
    WaitUntil(
        [&] {
            std::vector<HWND> boxes = ThreadWindows(threadId, DIALOG_CLASS);
            seen.box = boxes.empty() ? NULL : boxes.front();
            return seen.box != NULL;
        },
        timeoutMs);
    if (!seen.box)
        return seen;
    seen.owner = GetWindow(seen.box, GW_OWNER);
    seen.caption = TextOf(seen.box);
    seen.text = TextOf(GetDlgItem(seen.box, 0xFFFF));
    GetWindowRect(seen.box, &seen.rect);
    return seen;
}

// Where a window of that size is centred over the given rectangle (both sides fit).
inline POINT CentredOver(const RECT& around, const RECT& window) {
    return {around.left + ((around.right - around.left) - (window.right - window.left)) / 2,
            around.top + ((around.bottom - around.top) - (window.bottom - window.top)) / 2};
}

inline RECT PrimaryWorkArea() {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

}  // namespace support
