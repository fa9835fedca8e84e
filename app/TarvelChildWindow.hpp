// The "Drag Me" area: a left-button press takes the capture, the release reports to the
// main window and only then gives the capture back.
#pragma once

#include "framework/MWindowBase.hpp"

// WM_COMMAND identifier sent to m_hwndNotify on every left-button release in the child.
const WORD CMD_SHOW_POPUP = 999;

class TarvelChildWindow : public MWindowBase {
public:
    BOOL m_dragging;     // from a press in the child to the next release in it
    HWND m_hwndNotify;   // the main window

    TarvelChildWindow() : m_dragging(FALSE), m_hwndNotify(NULL) {}

    LRESULT HandleMessageDx(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
};
