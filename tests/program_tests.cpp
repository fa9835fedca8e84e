// The program itself, started as a separate process with its standard output redirected and
// driven with real mouse input; the trace is read back from the file (or pipe) it wrote.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/Checks.hpp"
#include "support/Desktop.hpp"
#include "support/Dialogs.hpp"
#include "support/Process.hpp"
#include "support/Tarvel.hpp"

namespace {

using support::Changes;
using support::IsPollLine;
using support::Poll;
using support::TarvelRun;
using support::TraceLines;

// Long enough for at least one tick of the one-second polling timer.
const DWORD ONE_TICK_MS = 1300;

void MoveTo(POINT pt) {
    support::MoveMouseTo(pt);
    ASSERT_TRUE(support::WaitUntil([&] { return support::CursorAt(pt); }));
}

// Corner of the drag child, away from the middle of the main window.
POINT InChild(const TarvelRun& t, int dx = 0) { return support::ClientToScreenPoint(t.child, 40 + dx, 40); }

RECT ClientOf(HWND hwnd) {
    RECT rc = {};
    GetClientRect(hwnd, &rc);
    return rc;
}

// Whether the child's rectangle, in the main window's client coordinates, is exactly this.
bool ChildCovers(const TarvelRun& t, const RECT& expected) {
    RECT rc;
    GetWindowRect(t.child, &rc);
    MapWindowPoints(NULL, t.main, reinterpret_cast<POINT*>(&rc), 2);
    return EqualRect(&rc, &expected) != 0;
}

TEST(Program, OpensTheMainWindowFilledByTheDragChild) {
    TarvelRun t;
    ASSERT_TRUE(t.Start());
    char title[32] = "";
    GetWindowTextA(t.main, title, sizeof title);
    EXPECT_STREQ(title, "Tarvel");
    RECT rc;
    GetWindowRect(t.main, &rc);
    EXPECT_EQ(rc.right - rc.left, 350);
    EXPECT_EQ(rc.bottom - rc.top, 220);
    EXPECT_EQ(GetWindowLongA(t.main, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(GetWindowLongA(t.child, GWL_STYLE) & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
    // The first WM_SIZE, from the first ShowWindow, gives the child the client area.
    EXPECT_TRUE(support::WaitUntil([&] { return ChildCovers(t, ClientOf(t.main)); }));
    EXPECT_EQ(t.Close(), 0);
}

TEST(Program, IdlePollsOncePerSecondAndEveryLineReachesTheFile) {
    TarvelRun t;
    DWORD start = GetTickCount();
    ASSERT_TRUE(t.Start());
    support::PumpFor(3300);
    ASSERT_EQ(t.Close(), 0);
    DWORD seconds = (GetTickCount() - start) / 1000;
    std::string out = t.Out();
    std::size_t lines = out.size() / 24;
    EXPECT_EQ(out, [&] {
        std::string expected;
        for (std::size_t i = 0; i < lines; ++i)
            expected += "GetCapture(): 00000000\r\n";
        return expected;
    }());
    EXPECT_GE(lines, 3u);
    EXPECT_LE(lines, seconds);
}

// One way of driving the program, and the changes of the trace it must produce.
struct Scenario {
    const char* name;
    std::function<void(TarvelRun&)> drive;
    std::function<std::vector<std::string>(const TarvelRun&)> expected;
};

void PressInChild(TarvelRun& t, int dx = 0) {
    MoveTo(InChild(t, dx));
    support::LeftDown();
    ASSERT_TRUE(support::WaitUntil([&] { return t.Capture() == t.child; }));
}

void ReleaseAndSettle(TarvelRun& t) {
    support::LeftUp();
    ASSERT_TRUE(support::WaitUntil([&] { return t.Capture() == NULL; }));
    support::PumpFor(ONE_TICK_MS);
}

const Scenario SCENARIOS[] = {
    {"press, hold, release in the child",
     [](TarvelRun& t) {
         PressInChild(t);
         support::PumpFor(ONE_TICK_MS);
         ReleaseAndSettle(t);
     },
     [](const TarvelRun& t) {
         return std::vector<std::string>{Poll(NULL), Poll(t.child), "m_child: WM_CAPTURECHANGED",
                                         Poll(NULL)};
     }},
    {"drag out of the main window and release outside",
     [](TarvelRun& t) {
         PressInChild(t);
         RECT rc;
         GetWindowRect(t.main, &rc);
         for (int step = 1; step <= 4; ++step)
             MoveTo({rc.right + 30 * step, rc.bottom + 20 * step});
         support::PumpFor(ONE_TICK_MS);
         ASSERT_EQ(t.Capture(), t.child);
         ReleaseAndSettle(t);
     },
     [](const TarvelRun& t) {
         return std::vector<std::string>{Poll(NULL), Poll(t.child), "m_child: WM_CAPTURECHANGED",
                                         Poll(NULL)};
     }},
    {"double click takes the capture once",
     [](TarvelRun& t) {
         MoveTo(InChild(t));
         support::LeftDown();
         support::LeftUp();
         support::LeftDown();  // arrives as WM_LBUTTONDBLCLK
         ASSERT_TRUE(support::WaitUntil([&] { return t.Capture() == NULL; }));
         support::PumpFor(300);
         ASSERT_EQ(t.Capture(), nullptr);
         ReleaseAndSettle(t);
     },
     [](const TarvelRun&) {
         return std::vector<std::string>{Poll(NULL), "m_child: WM_CAPTURECHANGED"};
     }},
    {"cancel mode sent to the child while it holds the capture",
     [](TarvelRun& t) {
         PressInChild(t);
         support::PumpFor(ONE_TICK_MS);
         SendMessageA(t.child, WM_CANCELMODE, 0, 0);  // default processing releases the capture
         ASSERT_EQ(t.Capture(), nullptr);
         support::PumpFor(ONE_TICK_MS);
         ReleaseAndSettle(t);  // nothing to release any more: no line
     },
     [](const TarvelRun& t) {
         return std::vector<std::string>{Poll(NULL), Poll(t.child), "m_child: WM_CANCELMODE",
                                         "m_child: WM_CAPTURECHANGED", Poll(NULL)};
     }},
    {"each notification reaching each window prints its line once",
     [](TarvelRun& t) {
         SendMessageA(t.main, WM_CANCELMODE, 0, 0);
         SendMessageA(t.main, WM_CAPTURECHANGED, 0, 0);
         SendMessageA(t.child, WM_CANCELMODE, 0, 0);
         SendMessageA(t.child, WM_CAPTURECHANGED, 0, 0);
         support::PumpFor(ONE_TICK_MS);
     },
     [](const TarvelRun&) {
         return std::vector<std::string>{Poll(NULL), "MainWnd: WM_CANCELMODE",
                                         "MainWnd: WM_CAPTURECHANGED", "m_child: WM_CANCELMODE",
                                         "m_child: WM_CAPTURECHANGED"};
     }},
};

TEST(Program, TraceOfEachScenario) {
    for (const Scenario& s : SCENARIOS) {
        SCOPED_TRACE(s.name);
        TarvelRun t;
        ASSERT_TRUE(t.Start());
        support::PumpFor(ONE_TICK_MS);  // one idle poll first
        s.drive(t);
        if (HasFatalFailure())
            return;
        ASSERT_EQ(t.Close(), 0);
        std::vector<std::string> lines = TraceLines(t.Out());
        EXPECT_EQ(Changes(lines), s.expected(t));
    }
}

TEST(Program, ResizingKeepsTheChildCoveringTheClientArea) {
    TarvelRun t;
    ASSERT_TRUE(t.Start());
    struct Case {
        const char* name;
        std::function<void()> change;
        SIZE child;  // expected; {-1, -1}: the main window's client area
    };
    const Case cases[] = {
        {"larger", [&] { SetWindowPos(t.main, NULL, 0, 0, 500, 320, SWP_NOMOVE | SWP_NOZORDER); },
         {-1, -1}},
        {"smaller", [&] { SetWindowPos(t.main, NULL, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER); },
         {-1, -1}},
        {"minimised", [&] { ShowWindow(t.main, SW_MINIMIZE); }, {0, 0}},
        {"restored", [&] { ShowWindow(t.main, SW_RESTORE); }, {-1, -1}},
    };
    for (const Case& c : cases) {
        c.change();
        EXPECT_TRUE(support::WaitUntil([&] {
            return ChildCovers(t, c.child.cx < 0 ? ClientOf(t.main)
                                                 : RECT{0, 0, c.child.cx, c.child.cy});
        })) << c.name;
    }
    EXPECT_EQ(t.Close(), 0);
}

TEST(Program, MarkFollowsTheCursorOnlyWhileDragging) {
    TarvelRun t;
    ASSERT_TRUE(t.Start());
    HDC screen = GetDC(NULL);
    const COLORREF face = GetSysColor(COLOR_3DFACE);
    POINT first = InChild(t);
    POINT moved = InChild(t, 30);
    auto pixel = [&](POINT p, int dx) { return GetPixel(screen, p.x + dx, p.y); };
    MoveTo(first);
    EXPECT_TRUE(support::WaitUntil([&] { return pixel(first, 0) == face; }));
    PressInChild(t);
    MoveTo(moved);
    // A white disc with a black outline, 10 pixels across, around the cursor.
    EXPECT_TRUE(support::WaitUntil([&] {
        return pixel(moved, 0) == RGB(255, 255, 255) && pixel(moved, -5) == RGB(0, 0, 0) &&
               pixel(moved, -7) == face && pixel(first, 0) == face;
    })) << std::hex << pixel(moved, 0) << " " << pixel(moved, -5) << " " << pixel(moved, -7);
    support::LeftUp();
    MoveTo(first);
    EXPECT_TRUE(support::WaitUntil([&] { return pixel(moved, 0) == face && pixel(first, 0) == face; }))
        << std::hex << pixel(moved, 0) << " " << pixel(first, 0);
    ReleaseDC(NULL, screen);
    EXPECT_EQ(t.Close(), 0);
}

const char* const POPUP_CLASS = "Tarvel another child window";

std::string ScenarioCommand(const char* name) {
    return "\"" + support::SiblingPath("tarvel_scenarios.exe") + "\" " + name;
}

std::vector<HWND> Popups(const TarvelRun& t) {
    return support::ProcessWindows(t.run.child.ProcessId(), POPUP_CLASS);
}

// Waits until the program shows exactly one popup, other than the previous one.
HWND WaitForNewPopup(const TarvelRun& t, HWND previous) {
    HWND popup = NULL;
    support::WaitUntil([&] {
        std::vector<HWND> popups = Popups(t);
        popup = popups.size() == 1 && popups[0] != previous && IsWindowVisible(popups[0])
                    ? popups[0]
                    : NULL;
        return popup != NULL;
    });
    return popup;
}

void ClickAt(POINT pt) {
    MoveTo(pt);
    support::LeftDown();
    support::LeftUp();
}

// Clicks in a row go to points apart, so that none of them counts as a double click.
void ClickInChild(TarvelRun& t, int dx) {
    PressInChild(t, dx);
    support::LeftUp();
    ASSERT_TRUE(support::WaitUntil([&] { return t.Capture() == NULL; }));
}

POINT CentreOf(HWND hwnd) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

RECT WindowRectOf(HWND hwnd) {
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    return rc;
}

using support::PrimaryWorkArea;

TEST(Popup, EveryReleaseInTheChildShowsOneFreshPopupCentredOwnedAndInactive) {
    TarvelRun t;
    ASSERT_TRUE(t.Start());
    ASSERT_TRUE(support::WaitUntil([&] { return support::ThreadState(t.Thread()).hwndActive == t.main; }));
    HWND previous = NULL;
    for (int release = 1; release <= 2; ++release) {
        SCOPED_TRACE("release " + std::to_string(release));
        ClickInChild(t, 20 * release);
        HWND popup = WaitForNewPopup(t, previous);
        ASSERT_NE(popup, nullptr);
        EXPECT_FALSE(previous && IsWindow(previous)) << "the previous popup is gone";
        EXPECT_EQ(GetWindow(popup, GW_OWNER), t.main);
        LONG style = GetWindowLongA(popup, GWL_STYLE);
        EXPECT_EQ(style & (WS_POPUPWINDOW | WS_DLGFRAME | WS_CHILD), WS_POPUPWINDOW);
        char title[32] = "";
        GetWindowTextA(popup, title, sizeof title);
        EXPECT_STREQ(title, "another window");
        RECT rc = WindowRectOf(popup);
        EXPECT_EQ(rc.right - rc.left, 80);
        EXPECT_EQ(rc.bottom - rc.top, 80);
        POINT centred = support::CentredOver(WindowRectOf(t.main), rc);
        EXPECT_EQ(rc.left, centred.x);
        EXPECT_EQ(rc.top, centred.y);
        HDC screen = GetDC(NULL);
        POINT inside = CentreOf(popup);
        EXPECT_TRUE(support::WaitUntil(
            [&] { return GetPixel(screen, inside.x, inside.y) == RGB(255, 255, 0); }))
            << "yellow client area";
        ReleaseDC(NULL, screen);
        const GUITHREADINFO after = support::ThreadState(t.Thread());
        EXPECT_EQ(after.hwndActive, t.main) << "the main window stays active";
        EXPECT_EQ(after.hwndFocus, t.main) << "and keeps the focus";
        EXPECT_TRUE(IsWindowEnabled(t.main));
        previous = popup;
    }

    ClickAt(CentreOf(previous));  // a release inside the popup closes it
    EXPECT_TRUE(support::WaitUntil([&] { return !IsWindow(previous) && Popups(t).empty(); }));
    EXPECT_TRUE(IsWindowEnabled(t.main));
    ClickInChild(t, 0);
    EXPECT_NE(WaitForNewPopup(t, previous), nullptr);
    EXPECT_EQ(t.Close(), 0);
}

TEST(Popup, LifecycleAndNotificationsInTheTrace) {
    TarvelRun t;
    ASSERT_TRUE(t.Start(ScenarioCommand("watch-popups")));
    ClickInChild(t, 0);
    HWND first = WaitForNewPopup(t, NULL);
    ASSERT_NE(first, nullptr);
    ClickInChild(t, 20);
    HWND second = WaitForNewPopup(t, first);
    ASSERT_NE(second, nullptr);
    SendMessageA(second, WM_CANCELMODE, 0, 0);
    SendMessageA(second, WM_CAPTURECHANGED, 0, 0);
    ClickAt(CentreOf(second));
    ASSERT_TRUE(support::WaitUntil([&] { return Popups(t).empty(); }));
    ClickInChild(t, 40);
    ASSERT_NE(WaitForNewPopup(t, second), nullptr);
    ASSERT_EQ(t.Close(), 0);

    // Shown while the child still holds the capture; the child's line only after that.
    const std::string shown = "hook: popup shown, capture " + support::HandleText(t.child);
    const std::vector<std::string> expected = {
        "hook: popup created", shown, "m_child: WM_CAPTURECHANGED",
        "hook: popup destroyed", "hook: popup created", shown, "m_child: WM_CAPTURECHANGED",
        "m_child2: WM_CANCELMODE", "m_child2: WM_CAPTURECHANGED",
        "hook: popup destroyed",  // released inside it
        // The platform's own, as the popup that the click activated goes (seen on Wine 8).
        "MainWnd: WM_CANCELMODE",
        "hook: popup created", shown, "m_child: WM_CAPTURECHANGED",
        "hook: popup destroyed",  // with the main window
    };
    std::vector<std::string> observed;
    for (const std::string& line : TraceLines(t.Out()))
        if (!IsPollLine(line))
            observed.push_back(line);
    EXPECT_EQ(observed, expected);
}

TEST(Popup, NearTheWorkAreasRightEdgeItIsPulledBackOntoIt) {
    TarvelRun t;
    ASSERT_TRUE(t.Start());
    const RECT work = PrimaryWorkArea();
    // The main window's centre 20 pixels from the right edge: the popup would cross it by 20.
    SetWindowPos(t.main, NULL, work.right - 20 - 175, work.top + 100, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(support::WaitUntil([&] { return CentreOf(t.main).x == work.right - 20; }));
    ClickInChild(t, 0);
    HWND popup = WaitForNewPopup(t, NULL);
    ASSERT_NE(popup, nullptr);
    RECT rc = WindowRectOf(popup);
    RECT main = WindowRectOf(t.main);
    EXPECT_EQ(rc.right, work.right);
    EXPECT_EQ(rc.left, work.right - 80);
    EXPECT_EQ(rc.top, main.top + (main.bottom - main.top - 80) / 2);
    EXPECT_EQ(t.Close(), 0);
}

TEST(Popup, MinimisingTheMainWindowHidesIt) {
    TarvelRun t;
    ASSERT_TRUE(t.Start());
    ClickInChild(t, 0);
    HWND popup = WaitForNewPopup(t, NULL);
    ASSERT_NE(popup, nullptr);
    PostMessageA(t.main, WM_SYSCOMMAND, SC_MINIMIZE, 0);  // what the minimise button does
    EXPECT_TRUE(support::WaitUntil([&] { return IsIconic(t.main) && !IsWindowVisible(popup); }));
    EXPECT_EQ(t.Close(), 0);
}

TEST(Popup, APopupThatCannotBeMadeEndsTheProgramWithTheCheckAndKeepsTheTrace) {
    TarvelRun t;
    ASSERT_TRUE(t.Start(ScenarioCommand("refuse-popup")));
    support::PumpFor(ONE_TICK_MS);
    PressInChild(t);
    support::PumpFor(ONE_TICK_MS);
    support::LeftUp();
    EXPECT_EQ(t.run.child.WaitExit(10000), 3);
    EXPECT_EQ(t.run.Err(), support::CheckReport("IsWindow(hwnd)", TARVEL_CHECK_LINE_IS_WINDOW));
    EXPECT_EQ(Changes(TraceLines(t.Out())), (std::vector<std::string>{Poll(NULL), Poll(t.child)}));
}

struct IconSearch {
    HWND icon;
};

BOOL CALLBACK MatchIcon(HWND hwnd, LPARAM param) {
    if ((GetWindowLongA(hwnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        reinterpret_cast<IconSearch*>(param)->icon = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Share of the pixels of the box's icon, on screen, that are clearly red: the error icon's.
double RedShareOfIcon(HWND box) {
    IconSearch search = {NULL};
    EnumChildWindows(box, MatchIcon, reinterpret_cast<LPARAM>(&search));
    if (!search.icon)
        return 0;
    RECT rc;
    GetWindowRect(search.icon, &rc);
    HDC screen = GetDC(NULL);
    int red = 0;
    int all = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x, ++all) {
            COLORREF c = GetPixel(screen, x, y);
            if (GetRValue(c) > 150 && GetGValue(c) < 100 && GetBValue(c) < 100)
                ++red;
        }
    }
    ReleaseDC(NULL, screen);
    return all ? static_cast<double>(red) / all : 0;
}

TEST(Entry, MainWindowThatCannotBeMadeIsReportedInACentredBoxThenExitsMinusOne) {
    support::CapturedRun run;
    ASSERT_TRUE(run.Start(ScenarioCommand("refuse-main")));
    support::BoxSeen box = support::WaitForBox(run.child.ThreadId(), 20000);
    ASSERT_NE(box.box, nullptr);
    EXPECT_EQ(box.caption, "ERROR");
    EXPECT_EQ(box.text, "CreateWindowDx failed");
    EXPECT_EQ(box.owner, nullptr);
    const RECT work = PrimaryWorkArea();
    EXPECT_TRUE(support::WaitUntil([&] {
        GetWindowRect(box.box, &box.rect);
        POINT want = support::CentredOver(work, box.rect);
        return box.rect.left == want.x && box.rect.top == want.y;
    })) << "box at (" << box.rect.left << "," << box.rect.top << ")";
    double red = 0;
    EXPECT_TRUE(support::WaitUntil([&] { return (red = RedShareOfIcon(box.box)) > 0.2; }))
        << "error icon: " << red << " of its pixels red";
    PostMessageA(box.box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(run.child.WaitExit(10000), -1);
    EXPECT_EQ(run.Out(), "");
    EXPECT_EQ(run.Err(), "");
}

// Reads one write of the program from a message-mode pipe: a pipe message is one WriteFile.
std::string ReadOneWrite(HANDLE pipe) {
    char chunk[4096];
    DWORD got = 0;
    if (!ReadFile(pipe, chunk, sizeof chunk, &got, NULL))
        return "<read failed>";
    return std::string(chunk, got);
}

TEST(Program, RedirectedOutputIsWrittenInWholeLinesOfAtMost512Bytes) {
    const char* name = "\\\\.\\pipe\\tarvel-trace-writes";
    HANDLE server = CreateNamedPipeA(name, PIPE_ACCESS_INBOUND,
                                     PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 65536,
                                     65536, 0, NULL);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, TRUE};
    HANDLE client = CreateFileA(name, GENERIC_WRITE, 0, &sa, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(client, INVALID_HANDLE_VALUE);

    support::Child program;
    ASSERT_TRUE(program.Start("\"" + support::SiblingPath("tarvel.exe") + "\"", client,
                              GetStdHandle(STD_ERROR_HANDLE)));
    CloseHandle(client);
    HWND main = NULL;
    ASSERT_TRUE(support::WaitUntil([&] {
        main = support::FindProcessWindow(program.ProcessId(), support::FRAMEWORK_CLASS);
        return main != NULL;
    }, 20000));

    // Every line is 24 bytes as written, so 21 fit in the buffer and the 22nd flushes them.
    const std::string line = "MainWnd: WM_CANCELMODE\r\n";
    for (int i = 0; i < 21; ++i)
        SendMessageA(main, WM_CANCELMODE, 0, 0);
    DWORD available = 0;
    PeekNamedPipe(server, NULL, 0, NULL, &available, NULL);
    std::vector<std::string> writes;
    if (available == 0) {  // unless a polling line came in between, nothing is written yet
        SendMessageA(main, WM_CANCELMODE, 0, 0);
        ASSERT_TRUE(support::WaitUntil([&] {
            return PeekNamedPipe(server, NULL, 0, NULL, &available, NULL) && available > 0;
        }));
    }
    writes.push_back(ReadOneWrite(server));
    EXPECT_EQ(writes[0].size(), 21u * 24u) << "written while the program runs";
    EXPECT_TRUE(program.Running());

    for (int i = 0; i < 40; ++i)
        SendMessageA(main, WM_CANCELMODE, 0, 0);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitExit(10000), 0);
    for (;;) {
        if (!PeekNamedPipe(server, NULL, 0, NULL, &available, NULL) || available == 0)
            break;
        writes.push_back(ReadOneWrite(server));
    }
    CloseHandle(server);

    std::string all;
    for (const std::string& w : writes) {
        EXPECT_LE(w.size(), 512u);
        EXPECT_EQ(w.size() % 24, 0u) << "whole lines only";
        all += w;
    }
    std::vector<std::string> lines = TraceLines(all);
    EXPECT_EQ(writes.size(), (lines.size() + 20) / 21);
    for (std::size_t i = 0; i + 1 < writes.size(); ++i)
        EXPECT_EQ(writes[i].size(), 21u * 24u) << "write " << i;
    std::size_t cancelLines = 0;
    for (const std::string& l : lines) {
        if (l == "MainWnd: WM_CANCELMODE")
            ++cancelLines;
        else
            EXPECT_EQ(l, "GetCapture(): 00000000");
    }
    EXPECT_GE(cancelLines, 61u);
    EXPECT_LE(cancelLines, 62u);
}

}  // namespace
