#include "app/TarvelChildWindow.hpp"

#include "app/Trace.hpp"

namespace {

const int MARK_RADIUS = 5;

}  // namespace

LRESULT TarvelChildWindow::HandleMessageDx(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)wParam;
    (void)lParam;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hwnd, &ps);
        if (!hdc)
            return 0;
        RECT rc;
        GetClientRect(hwnd, &rc);
        DrawTextA(hdc, "Drag Me", -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        if (m_dragging) {
            // Where the cursor is now, not where the last mouse message said it was.
            POINT pt;
            GetCursorPos(&pt);
            ScreenToClient(hwnd, &pt);
            Ellipse(hdc, pt.x - MARK_RADIUS, pt.y - MARK_RADIUS, pt.x + MARK_RADIUS,
                    pt.y + MARK_RADIUS);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_MOUSEMOVE:
        InvalidateRect(hwnd, NULL, TRUE);
        return 0;
    case WM_LBUTTONDOWN:
        m_dragging = TRUE;
        SetCapture(hwnd);
        return 0;
    case WM_LBUTTONUP:
        // The main window shows its popup while this window still holds the capture.
        SendMessageA(m_hwndNotify, WM_COMMAND, CMD_SHOW_POPUP, 0);
        ReleaseCapture();
        m_dragging = FALSE;
        return 0;
    case WM_CANCELMODE:
        TracePrint("m_child: WM_CANCELMODE\n");
        return DefaultProcessingDx();
    case WM_CAPTURECHANGED:
        TracePrint("m_child: WM_CAPTURECHANGED\n");
        return DefaultProcessingDx();
    default:
        return DefaultProcessingDx();
    }
}
