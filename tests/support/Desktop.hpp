// Real input and observed window state, shared by the tests that drive windows.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace support {

// Dispatches this thread's messages until the condition holds or the timeout passes.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = 5000) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (condition())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    }
}

// Keeps dispatching for a while: for waits that are about the clock itself (timer ticks).
inline void PumpFor(DWORD ms) {
    WaitUntil([] { return false; }, ms);
}

inline void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

// Absolute coordinates that land exactly on the pixel.
inline void MoveMouseTo(POINT screen) {
    LONG w = GetSystemMetrics(SM_CXSCREEN);
    LONG h = GetSystemMetrics(SM_CYSCREEN);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (screen.x * 65536 + w - 1) / w,
              (screen.y * 65536 + h - 1) / h);
}

inline bool CursorAt(POINT screen) {
    POINT now;
    return GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
}

inline void LeftDown() { SendMouse(MOUSEEVENTF_LEFTDOWN); }
inline void LeftUp() { SendMouse(MOUSEEVENTF_LEFTUP); }

inline POINT ClientToScreenPoint(HWND hwnd, int x, int y) {
    POINT pt = {x, y};
    ClientToScreen(hwnd, &pt);
    return pt;
}

// Capture, active and focus windows of another thread, as that thread sees them.
inline GUITHREADINFO ThreadState(DWORD threadId) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(threadId, &info);
    return info;
}

inline std::string ClassOf(HWND hwnd) {
    char name[256] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

struct WindowSearch {
    DWORD processId;
    const char* className;
    std::vector<HWND> found;
};

inline BOOL CALLBACK MatchProcessWindow(HWND hwnd, LPARAM param) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->processId && ClassOf(hwnd) == search->className)
        search->found.push_back(hwnd);
    return TRUE;
}

// The top-level windows of the process with that class.
inline std::vector<HWND> ProcessWindows(DWORD processId, const char* className) {
    WindowSearch search = {processId, className, {}};
    EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline HWND FindProcessWindow(DWORD processId, const char* className) {
    std::vector<HWND> found = ProcessWindows(processId, className);
    return found.empty() ? NULL : found.front();
}

// A bare window class of the test's own module with that procedure.
inline bool RegisterBareClass(const char* name, WNDPROC proc) {
    WNDCLASSEXA wcx = {};
    wcx.cbSize = sizeof wcx;
    wcx.lpfnWndProc = proc;
    wcx.hInstance = GetModuleHandleA(NULL);
    wcx.lpszClassName = name;
    return RegisterClassExA(&wcx) != 0;
}

// "%p" as the 32-bit program prints a window handle.
inline std::string HandleText(HWND hwnd) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X",
                  static_cast<unsigned>(reinterpret_cast<UINT_PTR>(hwnd) & 0xFFFFFFFFu));
    return text;
}

}  // namespace support
