// Runs of the framework and the program that a test can only watch from outside:
// they end the process, or set the platform up before the program starts.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app/Tarvel.hpp"
#include "app/Trace.hpp"
#include "framework/MWindowBase.hpp"
#include "support/Desktop.hpp"

namespace {

// A window of a framework class made without the object as creation parameter.
int CreateWithoutParameter() {
    MWindowBase registrar;
    if (!registrar.CreateWindowDx(NULL, NULL, WS_OVERLAPPED, 0, 0, 0, 50, 50, NULL))
        return 10;
    TracePrint("printed before the check\n");
    CreateWindowExA(0, registrar.ClassNameDx(), NULL, WS_OVERLAPPED, 0, 0, 50, 50, NULL, NULL,
                    GetModuleHandleA(NULL), NULL);
    return 11;  // not reached: the check ends the process
}

// PlaceCenteredDx on a handle that is no window.
int CenterNonWindow() {
    TracePrint("printed before the check\n");
    PlaceCenteredDx(reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x1234)));
    return 11;  // not reached: the check ends the process
}

const char* const POPUP_CLASS = "Tarvel another child window";

LRESULT CALLBACK RefuseCreation(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        return FALSE;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The program, with one of its classes taken first by a class whose windows cannot be made.
int RunTarvelRefusing(const char* className) {
    if (!support::RegisterBareClass(className, RefuseCreation))
        return 10;
    return RunTarvel();
}

int RefusePopup() { return RunTarvelRefusing(POPUP_CLASS); }

int RefuseMain() { return RunTarvelRefusing("pelmora's MWindowBase Class"); }

bool IsPopup(HWND hwnd) {
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return std::strcmp(name, POPUP_CLASS) == 0;
}

// Traces what happens to popups, in the program's own trace, as the platform delivers it.
LRESULT CALLBACK WatchPopups(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && IsPopup(call->hwnd)) {
        switch (call->message) {
        case WM_CREATE:
            TracePrint("hook: popup created\n");
            break;
        case WM_WINDOWPOSCHANGED:
            if (reinterpret_cast<const WINDOWPOS*>(call->lParam)->flags & SWP_SHOWWINDOW) {
                char digits[9];
                char line[64];
                crt::FormatHandleBits(reinterpret_cast<UINT_PTR>(GetCapture()), digits);
                std::snprintf(line, sizeof line, "hook: popup shown, capture %s\n", digits);
                TracePrint(line);
            }
            break;
        case WM_DESTROY:
            TracePrint("hook: popup destroyed\n");
            break;
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

// The program, with the popups' lifecycle traced next to its own lines.
int WatchPopupsRun() {
    if (!SetWindowsHookExA(WH_CALLWNDPROC, WatchPopups, NULL, GetCurrentThreadId()))
        return 10;
    return RunTarvel();
}

// Closes the running program's main window as its close box would.
int CloseTarvel() {
    HWND main = FindWindowA("pelmora's MWindowBase Class", "Tarvel");
    return main && PostMessageA(main, WM_CLOSE, 0, 0) ? 0 : 1;
}

// One press, drag and release in "Drag Me" of the running program, then closes it: a
// demonstration run where nobody is at the display.
int DriveOneDrag() {
    HWND main = NULL;
    if (!support::WaitUntil(
            [&] {
                main = FindWindowA("pelmora's MWindowBase Class", "Tarvel");
                return main && IsWindowVisible(main);
            },
            30000))
        return 1;
    HWND child = FindWindowExA(main, NULL, "pelmora's MWindowBase Class", NULL);
    support::PumpFor(1500);  // an idle polling line first
    POINT at = support::ClientToScreenPoint(child, 40, 40);
    support::MoveMouseTo(at);
    support::WaitUntil([&] { return support::CursorAt(at); });
    support::LeftDown();
    for (int step = 0; step < 12; ++step) {  // held long enough for a polling line
        at.x += 10;
        at.y += 5;
        support::MoveMouseTo(at);
        support::PumpFor(120);
    }
    support::LeftUp();
    support::PumpFor(1500);
    PostMessageA(main, WM_CLOSE, 0, 0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    struct Scenario {
        const char* name;
        int (*run)();
    };
    const Scenario scenarios[] = {
        {"create-without-parameter", CreateWithoutParameter},
        {"center-non-window", CenterNonWindow},
        {"refuse-popup", RefusePopup},
        {"refuse-main", RefuseMain},
        {"watch-popups", WatchPopupsRun},
        {"drive-one-drag", DriveOneDrag},
        {"close-tarvel", CloseTarvel},
    };
    for (const Scenario& scenario : scenarios)
        if (argc == 2 && std::strcmp(argv[1], scenario.name) == 0)
            return scenario.run();
    std::fprintf(stderr, "usage: tarvel_scenarios NAME\n");
    return 2;
}
