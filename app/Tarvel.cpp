#include "app/Tarvel.hpp"

#include "app/Trace.hpp"

LRESULT Tarvel::HandleMessageDx(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        // Sized by the first WM_SIZE, which comes with the first ShowWindow.
        m_child.CreateWindowDx(hwnd, NULL, WS_CHILD | WS_VISIBLE, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, NULL);
        m_child.m_hwndNotify = hwnd;
        SetTimer(hwnd, CAPTURE_TIMER_ID, CAPTURE_TIMER_PERIOD_MS, NULL);
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd, CAPTURE_TIMER_ID);
        PostQuitMessage(0);
        return 0;
    case WM_SIZE:
        // Minimised too: the child then becomes 0x0 until the restore sizes it back.
        MoveWindow(m_child.m_hwnd, 0, 0, static_cast<SHORT>(LOWORD(lParam)),
                   static_cast<SHORT>(HIWORD(lParam)), TRUE);
        return 0;
    case WM_TIMER:
        if (wParam == CAPTURE_TIMER_ID)
            TracePrint(FormatCaptureLine(GetCapture()).text);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == CMD_SHOW_POPUP)
            ReplacePopup(hwnd);
        return 0;
    case WM_CANCELMODE:
        TracePrint("MainWnd: WM_CANCELMODE\n");
        return DefaultProcessingDx();
    case WM_CAPTURECHANGED:
        TracePrint("MainWnd: WM_CAPTURECHANGED\n");
        return DefaultProcessingDx();
    default:
        return DefaultProcessingDx();
    }
}

// Runs inside the drag child's release handling, while the child still holds the capture.
void Tarvel::ReplacePopup(HWND hwnd) {
    if (m_child2.m_hwnd)
        DestroyWindow(m_child2.m_hwnd);  // its WM_NCDESTROY clears m_child2.m_hwnd
    m_child2.m_hwndOwner = hwnd;
    m_child2.CreateWindowDx(hwnd, "another window", WS_POPUPWINDOW, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                            80, 80, NULL);
    // Still hidden at (0, 0): kept inside the work area of the monitor nearest that point.
    PlaceCenteredDx(m_child2.m_hwnd);
    ShowWindow(m_child2.m_hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(m_child2.m_hwnd);
}

int RunTarvel() {
    Tarvel wnd;
    if (!wnd.CreateWindowDx(NULL, "Tarvel", WS_OVERLAPPEDWINDOW, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                            350, 220, NULL)) {
        wnd.CenteredMessageBoxDx("CreateWindowDx failed", MB_ICONERROR);
        return -1;
    }
    ShowWindow(wnd.m_hwnd, SW_SHOWNORMAL);
    UpdateWindow(wnd.m_hwnd);
    return wnd.RunMessageLoopDx();
}
