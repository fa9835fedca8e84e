#include "app/TarvelChildWindow2.hpp"

#include "app/Trace.hpp"

LRESULT TarvelChildWindow2::HandleMessageDx(HWND hwnd, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    (void)wParam;
    (void)lParam;
    switch (message) {
    case WM_CREATE:
        return 0;
    case WM_DESTROY:
        EnableWindow(m_hwndOwner, TRUE);
        return 0;
    case WM_LBUTTONUP:
        DestroyWindow(hwnd);
        return 0;
    case WM_CANCELMODE:
        TracePrint("m_child2: WM_CANCELMODE\n");
        return DefaultProcessingDx();
    case WM_CAPTURECHANGED:
        TracePrint("m_child2: WM_CAPTURECHANGED\n");
        return DefaultProcessingDx();
    default:
        return DefaultProcessingDx();
    }
}
