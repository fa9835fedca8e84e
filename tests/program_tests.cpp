// The program itself, started as a separate process with its standard output redirected and
// driven with real mouse input; the trace is read back from the file (or pipe) it wrote.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/Desktop.hpp"
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

void PressInChild(TarvelRun& t) {
    MoveTo(InChild(t));
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
