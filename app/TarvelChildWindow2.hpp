// The yellow popup the main window shows on every release in the drag child: owned by the
// main window, never activated, closed by a left-button release inside it.
#pragma once

#include "framework/MWindowBase.hpp"

class TarvelChildWindow2 : public MWindowBase {
public:
    HWND m_hwndOwner;  // the main window, set before each creation

    TarvelChildWindow2() : m_hwndOwner(NULL) {}

    LRESULT HandleMessageDx(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    LPCSTR ClassNameDx() override { return "Tarvel another child window"; }

    // Runs once, at registration: the brush belongs to the class for the life of the process.
    void AdjustClassDx(WNDCLASSEXA& wcx) override {
        wcx.hbrBackground = CreateSolidBrush(RGB(255, 255, 0));
    }
};
