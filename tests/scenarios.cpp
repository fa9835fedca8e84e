// Runs of the framework and the program that a test can only watch from outside:
// they end the process, or set the platform up before the program starts.
#include <windows.h>

#include <cstring>

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
    if (argc == 2 && std::strcmp(argv[1], "create-without-parameter") == 0)
        return CreateWithoutParameter();
    if (argc == 2 && std::strcmp(argv[1], "drive-one-drag") == 0)
        return DriveOneDrag();
    if (argc == 2 && std::strcmp(argv[1], "close-tarvel") == 0)
        return CloseTarvel();
    return 2;
}
