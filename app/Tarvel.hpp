// The main window: its client area is the drag child; it polls the thread's capture once a
// second and prints the capture notifications it receives.
#pragma once

#include "app/TarvelChildWindow.hpp"
#include "app/TarvelChildWindow2.hpp"
#include "framework/MWindowBase.hpp"

const UINT_PTR CAPTURE_TIMER_ID = 666;
const UINT CAPTURE_TIMER_PERIOD_MS = 1000;

class Tarvel : public MWindowBase {
public:
    TarvelChildWindow m_child;
    TarvelChildWindow2 m_child2;  // one object for every popup; at most one popup at a time

    LRESULT HandleMessageDx(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ReplacePopup(HWND hwnd);
};

// The program: makes and shows the main window and runs the loop until it is closed.
// Returns the exit status: 0 after the close, -1 when the main window cannot be made.
int RunTarvel();
