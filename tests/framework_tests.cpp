// The window framework against real windows: registration, binding, dispatch, teardown.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "framework/MWindowBase.hpp"
#include "support/Checks.hpp"
#include "support/Desktop.hpp"
#include "support/Dialogs.hpp"
#include "support/Process.hpp"

namespace {

const UINT WM_ANSWER = WM_APP + 1;       // answered 42 by every recording window
const UINT WM_SEND_NESTED = WM_APP + 2;  // makes the window send itself WM_ANSWER
const UINT WM_MAKE_DIALOG = WM_APP + 3;  // makes the window show an owned "#32770" window

// A visible window of that class, at (0, 0), owned by owner, shown and so activated.
HWND MakeActivatedWindow(const char* className, HWND owner) {
    HWND hwnd = CreateWindowExA(0, className, "dialog", WS_POPUP | WS_CAPTION, 0, 0, 120, 70, owner,
                                NULL, GetModuleHandleA(NULL), NULL);
    ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

// Records every message that reaches its handler, and what m_hwnd was at that moment.
class RecordingWindow : public MWindowBase {
public:
    explicit RecordingWindow(const char* className, LRESULT createResult = 0)
        : m_className(className), m_createResult(createResult) {}

    struct Seen {
        UINT message;
        HWND hwnd;
    };
    std::vector<Seen> m_seen;
    int m_adjustCalls = 0;
    UINT m_lastMsgAfterNested = 0;
    HBRUSH m_brush = NULL;  // put into the class description when non-null
    HWND m_dialog = NULL;   // made on WM_MAKE_DIALOG

    LPCSTR ClassNameDx() override { return m_className; }

    void AdjustClassDx(WNDCLASSEXA& wcx) override {
        ++m_adjustCalls;
        if (m_brush)
            wcx.hbrBackground = m_brush;
    }

    LRESULT HandleMessageDx(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        m_seen.push_back({message, m_hwnd});
        switch (message) {
        case WM_CREATE:
            return m_createResult;
        case WM_ANSWER:
            return 42;
        case WM_MAKE_DIALOG:
            m_dialog = MakeActivatedWindow(support::DIALOG_CLASS, hwnd);
            return 0;
        case WM_SEND_NESTED:
            SendMessageA(hwnd, WM_ANSWER, 0, 0);
            m_lastMsgAfterNested = m_lastMsg.message;
            return DefaultProcessingDx();
        default:
            return MWindowBase::HandleMessageDx(hwnd, message, wParam, lParam);
        }
    }

    bool Saw(UINT message) const {
        for (const Seen& s : m_seen)
            if (s.message == message)
                return true;
        return false;
    }

private:
    const char* m_className;
    LRESULT m_createResult;
};

// Destroys what a test made, also when an assertion ends it early.
struct WindowGuard {
    HWND hwnd;
    ~WindowGuard() {
        if (IsWindow(hwnd))
            DestroyWindow(hwnd);
    }
};

TEST(Registration, ObjectsOfOneClassNameShareTheFirstObjectsRegistration) {
    RecordingWindow first("tests shared class");
    RecordingWindow second("tests shared class");
    first.m_brush = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    second.m_brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));

    ASSERT_TRUE(first.CreateWindowDx(NULL, "first", WS_OVERLAPPED, 0, 0, 0, 50, 50, NULL));
    WindowGuard g1{first.m_hwnd};
    ASSERT_TRUE(second.CreateWindowDx(NULL, "second", WS_OVERLAPPED, 0, 0, 0, 50, 50, NULL));
    WindowGuard g2{second.m_hwnd};

    EXPECT_EQ(first.m_adjustCalls, 1);
    EXPECT_EQ(second.m_adjustCalls, 0);
    EXPECT_EQ(GetClassLongPtrA(second.m_hwnd, GCW_ATOM), GetClassLongPtrA(first.m_hwnd, GCW_ATOM));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(GetClassLongPtrA(second.m_hwnd, GCLP_HBRBACKGROUND)),
              first.m_brush);
}

TEST(Registration, DefaultDescription) {
    RecordingWindow window("tests default description");
    ASSERT_TRUE(window.CreateWindowDx(NULL, NULL, WS_OVERLAPPED, 0, 0, 0, 50, 50, NULL));
    WindowGuard guard{window.m_hwnd};
    WNDCLASSEXA wcx = {};
    wcx.cbSize = sizeof wcx;
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(NULL), "tests default description", &wcx));
    EXPECT_EQ(wcx.style, static_cast<UINT>(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS));
    EXPECT_EQ(wcx.lpfnWndProc, &MWindowBase::StaticWindowProcDx);
    EXPECT_EQ(wcx.hCursor, LoadCursorA(NULL, IDC_ARROW));
    EXPECT_EQ(wcx.hbrBackground, GetSysColorBrush(COLOR_3DFACE));
    EXPECT_EQ(std::string(MWindowBase().ClassNameDx()), "pelmora's MWindowBase Class");
}

TEST(Registration, FailedRegistrationMakesNoWindow) {
    RecordingWindow window("");  // an empty class name cannot be registered
    EXPECT_FALSE(window.CreateWindowDx(NULL, NULL, WS_OVERLAPPED, 0, 0, 0, 50, 50, NULL));
    EXPECT_EQ(window.m_hwnd, nullptr);
    EXPECT_TRUE(window.m_seen.empty());
}

TEST(Titles, NullResourceNumberAndString) {
    struct Case {
        LPCSTR title;
        const char* text;
    };
    const Case cases[] = {
        {NULL, ""},
        {MAKEINTRESOURCEA(7), ""},  // the program carries no string resources
        {"Tarvel", "Tarvel"},
    };
    for (const Case& c : cases) {
        RecordingWindow window("tests titles");
        ASSERT_TRUE(window.CreateWindowDx(NULL, c.title, WS_OVERLAPPED, 0, 0, 0, 50, 50, NULL));
        WindowGuard guard{window.m_hwnd};
        char text[64] = "unset";
        GetWindowTextA(window.m_hwnd, text, sizeof text);
        EXPECT_STREQ(text, c.text);
    }
    EXPECT_STREQ(MWindowBase::LoadResStringDx(7), "");
}

TEST(Binding, ObjectSeesWmCreateFirstAndNothingUntilTheCreatingCallReturns) {
    // Child and popup windows get WM_SIZE and WM_MOVE inside the creating call.
    RecordingWindow parent("tests binding");
    ASSERT_TRUE(parent.CreateWindowDx(NULL, NULL, WS_OVERLAPPEDWINDOW, 0, 0, 0, 200, 200, NULL));
    WindowGuard g1{parent.m_hwnd};
    struct Case {
        const char* name;
        DWORD style;
        HWND parent;
    };
    const Case cases[] = {
        {"child", WS_CHILD | WS_VISIBLE, parent.m_hwnd},
        {"hidden popup", WS_POPUP, parent.m_hwnd},
        {"overlapped", WS_OVERLAPPEDWINDOW, NULL},
    };
    for (const Case& c : cases) {
        RecordingWindow window("tests binding");
        ASSERT_TRUE(window.CreateWindowDx(c.parent, NULL, c.style, 0, 10, 10, 50, 50, NULL));
        WindowGuard g2{window.m_hwnd};
        ASSERT_EQ(window.m_seen.size(), 1u) << c.name;
        EXPECT_EQ(window.m_seen[0].message, static_cast<UINT>(WM_CREATE)) << c.name;
        EXPECT_EQ(window.m_seen[0].hwnd, window.m_hwnd) << c.name << ": m_hwnd set at WM_CREATE";
        EXPECT_EQ(reinterpret_cast<RecordingWindow*>(GetWindowLongPtrA(window.m_hwnd, GWLP_USERDATA)),
                  &window);
        EXPECT_EQ(SendMessageA(window.m_hwnd, WM_ANSWER, 0, 0), 42) << c.name;
    }
}

TEST(Binding, WindowWithEmptySlotGetsDefWindowProcAndReachesNoObject) {
    RecordingWindow registrar("tests empty slot");
    ASSERT_TRUE(registrar.CreateWindowDx(NULL, NULL, WS_OVERLAPPED, 0, 0, 0, 50, 50, NULL));
    WindowGuard g1{registrar.m_hwnd};
    // Made past CreateWindowDx: the object sees WM_CREATE, but the slot is never written.
    RecordingWindow unbound("tests empty slot");
    HWND hwnd = CreateWindowExA(0, "tests empty slot", NULL, WS_OVERLAPPED, 0, 0, 50, 50, NULL, NULL,
                                GetModuleHandleA(NULL), &unbound);
    ASSERT_NE(hwnd, nullptr);
    WindowGuard g2{hwnd};
    ASSERT_EQ(unbound.m_seen.size(), 1u);
    std::size_t registrarSeen = registrar.m_seen.size();

    EXPECT_EQ(SendMessageA(hwnd, WM_ANSWER, 0, 0), 0);  // DefWindowProcA's answer, not 42
    EXPECT_EQ(SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("plain")), TRUE);
    char text[16] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    EXPECT_STREQ(text, "plain");
    EXPECT_EQ(unbound.m_seen.size(), 1u);
    EXPECT_EQ(registrar.m_seen.size(), registrarSeen);
}

TEST(Dispatch, LastMsgHoldsTheNestedMessageAfterANestedSend) {
    RecordingWindow window("tests nested");
    ASSERT_TRUE(window.CreateWindowDx(NULL, NULL, WS_OVERLAPPED, 0, 0, 0, 50, 50, NULL));
    WindowGuard guard{window.m_hwnd};
    SendMessageA(window.m_hwnd, WM_SEND_NESTED, 5, 6);
    EXPECT_EQ(window.m_lastMsgAfterNested, WM_ANSWER);
    EXPECT_EQ(window.m_lastMsg.message, WM_ANSWER);
}

TEST(Dispatch, LastMsgCarriesTheRetrievedMessagesTimeAndPosition) {
    RecordingWindow window("tests last message");
    ASSERT_TRUE(window.CreateWindowDx(NULL, NULL, WS_OVERLAPPED, 0, 0, 0, 50, 50, NULL));
    WindowGuard guard{window.m_hwnd};
    PostMessageA(window.m_hwnd, WM_ANSWER, 11, 22);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, window.m_hwnd, WM_ANSWER, WM_ANSWER, PM_REMOVE));
    DispatchMessageA(&msg);
    EXPECT_EQ(window.m_lastMsg.hwnd, window.m_hwnd);
    EXPECT_EQ(window.m_lastMsg.message, WM_ANSWER);
    EXPECT_EQ(window.m_lastMsg.wParam, 11u);
    EXPECT_EQ(window.m_lastMsg.lParam, 22);
    EXPECT_EQ(window.m_lastMsg.time, msg.time);
    EXPECT_EQ(window.m_lastMsg.pt.x, msg.pt.x);
    EXPECT_EQ(window.m_lastMsg.pt.y, msg.pt.y);
}

LRESULT CALLBACK ForwardTarget(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ANSWER + 10)
        return 77;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST(Dispatch, DefaultProcessingForwardsToPrevProcWhenSet) {
    RecordingWindow window("tests prev proc");
    ASSERT_TRUE(window.CreateWindowDx(NULL, NULL, WS_OVERLAPPED, 0, 0, 0, 50, 50, NULL));
    WindowGuard guard{window.m_hwnd};
    EXPECT_EQ(SendMessageA(window.m_hwnd, WM_ANSWER + 10, 0, 0), 0);
    window.m_prevProc = ForwardTarget;
    EXPECT_EQ(SendMessageA(window.m_hwnd, WM_ANSWER + 10, 0, 0), 77);
}

TEST(Teardown, ObjectLetsGoOfItsWindowOnlyAfterWmNcDestroy) {
    RecordingWindow window("tests teardown");
    ASSERT_TRUE(window.CreateWindowDx(NULL, NULL, WS_OVERLAPPED, 0, 0, 0, 50, 50, NULL));
    HWND hwnd = window.m_hwnd;
    ASSERT_TRUE(DestroyWindow(hwnd));
    EXPECT_EQ(window.m_hwnd, nullptr);
    EXPECT_EQ(window.m_lastMsg.message, static_cast<UINT>(WM_NCDESTROY));
    EXPECT_EQ(window.m_lastMsg.hwnd, hwnd);
    ASSERT_GE(window.m_seen.size(), 2u);
    EXPECT_EQ(window.m_seen.back().message, static_cast<UINT>(WM_NCDESTROY));
    EXPECT_EQ(window.m_seen.back().hwnd, hwnd) << "still bound while handling WM_NCDESTROY";

    // The object is reusable for a new window of the same, already registered class.
    ASSERT_TRUE(window.CreateWindowDx(NULL, NULL, WS_OVERLAPPED, 0, 0, 0, 50, 50, NULL));
    WindowGuard guard{window.m_hwnd};
    EXPECT_EQ(window.m_adjustCalls, 1);
}

TEST(Teardown, DestroyingTheObjectLeavesTheWindow) {
    HWND hwnd;
    {
        RecordingWindow window("tests object lifetime");
        ASSERT_TRUE(window.CreateWindowDx(NULL, NULL, WS_OVERLAPPED, 0, 0, 0, 50, 50, NULL));
        hwnd = window.m_hwnd;
        // Unbind before the object goes, so later messages do not reach freed memory.
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    }
    EXPECT_TRUE(IsWindow(hwnd));
    DestroyWindow(hwnd);
}

TEST(Creation, WmCreateReturningMinusOneGivesFalseAndNoWindow) {
    RecordingWindow window("tests refused create", -1);
    EXPECT_FALSE(window.CreateWindowDx(NULL, NULL, WS_OVERLAPPED, 0, 0, 0, 50, 50, NULL));
    EXPECT_EQ(window.m_hwnd, nullptr);
    EXPECT_TRUE(window.Saw(WM_CREATE));
}

TEST(MessageLoop, DispatchesUntilQuitAndReturnsItsCode) {
    RecordingWindow window("tests loop");
    ASSERT_TRUE(window.CreateWindowDx(NULL, NULL, WS_OVERLAPPED, 0, 0, 0, 50, 50, NULL));
    WindowGuard guard{window.m_hwnd};
    PostMessageA(window.m_hwnd, WM_ANSWER, 1, 0);
    PostQuitMessage(7);
    EXPECT_EQ(MWindowBase::RunMessageLoopDx(), 7);
    EXPECT_TRUE(window.Saw(WM_ANSWER));
    PostQuitMessage(0);
    EXPECT_EQ(window.RunMessageLoopDx(), 0);
}

TEST(Checks, FailedCheckEndsTheProcessWithTheReportAfterTheBufferedTrace) {
    struct Case {
        const char* scenario;
        const char* expression;
        int line;
    };
    const Case cases[] = {
        {"create-without-parameter", "pcs->lpCreateParams", TARVEL_CHECK_LINE_CREATE_PARAMS},
        {"center-non-window", "IsWindow(hwnd)", TARVEL_CHECK_LINE_IS_WINDOW},
    };
    for (const Case& c : cases) {
        support::CapturedRun run;
        ASSERT_TRUE(run.Start("\"" + support::SiblingPath("tarvel_scenarios.exe") + "\" " +
                              c.scenario));
        EXPECT_EQ(run.child.WaitExit(20000), 3) << c.scenario;
        EXPECT_EQ(run.Err(), support::CheckReport(c.expression, c.line)) << c.scenario;
        // What was printed before the check is not lost with the process.
        EXPECT_EQ(run.Out(), "printed before the check\r\n") << c.scenario;
    }
}

// Where a window is, in its parent's client coordinates for a child, else on the screen.
POINT PositionOf(HWND hwnd) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    POINT pt = {rc.left, rc.top};
    if (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD)
        ScreenToClient(GetParent(hwnd), &pt);
    return pt;
}

TEST(Centring, PlacesRealWindowsOverTheirOwnerParentOrWorkArea) {
    RecordingWindow owner("tests centring");
    ASSERT_TRUE(owner.CreateWindowDx(NULL, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 100, 100,
                                     400, 300, NULL));
    WindowGuard g1{owner.m_hwnd};
    RECT client;
    GetClientRect(owner.m_hwnd, &client);
    POINT clientOrigin = {0, 0};
    ClientToScreen(owner.m_hwnd, &clientOrigin);
    const RECT work = support::PrimaryWorkArea();
    ASSERT_GE(work.right, 500);
    ASSERT_GE(work.bottom, 400);

    struct Case {
        const char* name;
        HWND parent;
        DWORD style;
        SIZE size;
        POINT expected;
    };
    const Case cases[] = {
        {"owned popup: over the owner's window", owner.m_hwnd, WS_POPUP | WS_VISIBLE, {80, 80},
         {260, 210}},
        {"no owner: over the work area", NULL, WS_POPUP | WS_VISIBLE, {80, 80},
         {work.left + (work.right - work.left - 80) / 2, work.top + (work.bottom - work.top - 80) / 2}},
        {"child: over the parent's window, in client coordinates", owner.m_hwnd,
         WS_CHILD | WS_VISIBLE, {80, 80}, {260 - clientOrigin.x, 210 - clientOrigin.y}},
        {"child wider than the client area: on its left edge", owner.m_hwnd, WS_CHILD | WS_VISIBLE,
         {client.right + 10, 80}, {0, 210 - clientOrigin.y}},
    };
    for (const Case& c : cases) {
        RecordingWindow window("tests centring");
        ASSERT_TRUE(window.CreateWindowDx(c.parent, NULL, c.style, 0, 0, 0, c.size.cx, c.size.cy,
                                          NULL));
        WindowGuard g2{window.m_hwnd};
        HWND active = GetActiveWindow();
        HWND above = GetWindow(window.m_hwnd, GW_HWNDPREV);
        PlaceCenteredDx(window.m_hwnd);
        POINT pt = PositionOf(window.m_hwnd);
        EXPECT_EQ(pt.x, c.expected.x) << c.name;
        EXPECT_EQ(pt.y, c.expected.y) << c.name;
        RECT rc;
        GetWindowRect(window.m_hwnd, &rc);
        EXPECT_EQ(rc.right - rc.left, c.size.cx) << c.name << ": size unchanged";
        EXPECT_EQ(rc.bottom - rc.top, c.size.cy) << c.name << ": size unchanged";
        EXPECT_EQ(GetActiveWindow(), active) << c.name << ": activation unchanged";
        EXPECT_EQ(GetWindow(window.m_hwnd, GW_HWNDPREV), above) << c.name << ": z-order unchanged";
    }
}

POINT TopLeft(HWND hwnd) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    return {rc.left, rc.top};
}

TEST(CentringHook, InstalledOnceItCentresDialogClassActivationsOnly) {
    RecordingWindow owner("tests hook owner");
    ASSERT_TRUE(owner.CreateWindowDx(NULL, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 100, 100,
                                     400, 300, NULL));
    WindowGuard g1{owner.m_hwnd};
    // Cut to its first 15 characters, "#32770 lookalik", when read.
    ASSERT_TRUE(support::RegisterBareClass("#32770 lookalike class", DefWindowProcA));
    ASSERT_TRUE(support::RegisterBareClass("tests plain", DefWindowProcA));
    struct Case {
        const char* name;
        const char* className;
        bool removedAgain;  // installed twice, then removed once
        bool centred;
    };
    const Case cases[] = {
        {"dialog class", support::DIALOG_CLASS, false, true},
        {"longer class name starting like it", "#32770 lookalike class", false, false},
        {"ordinary class", "tests plain", false, false},
        {"dialog class after one removal", support::DIALOG_CLASS, true, false},
    };
    for (const Case& c : cases) {
        HHOOK first = CenterDialogHookDx(true);
        EXPECT_NE(first, nullptr) << c.name;
        EXPECT_EQ(CenterDialogHookDx(true), first) << c.name << ": installing again changes nothing";
        EXPECT_EQ(g_hCenterHook, first) << c.name;
        if (c.removedAgain) {
            EXPECT_EQ(CenterDialogHookDx(false), nullptr) << c.name;
        }
        HWND window = MakeActivatedWindow(c.className, owner.m_hwnd);
        WindowGuard g2{window};
        ASSERT_NE(window, nullptr) << c.name;
        RECT ownerRect, rc;
        GetWindowRect(owner.m_hwnd, &ownerRect);
        GetWindowRect(window, &rc);
        POINT expected = c.centred ? support::CentredOver(ownerRect, rc) : POINT{0, 0};
        EXPECT_EQ(rc.left, expected.x) << c.name;
        EXPECT_EQ(rc.top, expected.y) << c.name;
        EXPECT_EQ(CenterDialogHookDx(false), nullptr) << c.name;
    }
}

TEST(CentringHook, OnlyTheActivationCodeMovesTheDialog) {
    RecordingWindow owner("tests hook owner");
    ASSERT_TRUE(owner.CreateWindowDx(NULL, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 100, 100,
                                     400, 300, NULL));
    WindowGuard g1{owner.m_hwnd};
    HWND dialog = MakeActivatedWindow(support::DIALOG_CLASS, owner.m_hwnd);  // no hook: stays
    WindowGuard g2{dialog};
    const int ignored[] = {HCBT_CREATEWND, HCBT_MOVESIZE, HCBT_SETFOCUS, HCBT_MINMAX,
                           HCBT_SYSCOMMAND, HCBT_DESTROYWND};
    for (int code : ignored) {
        EXPECT_EQ(CenterDialogCbtProc(code, reinterpret_cast<WPARAM>(dialog), 0), 0) << code;
        POINT pt = TopLeft(dialog);
        EXPECT_EQ(pt.x, 0) << code;
        EXPECT_EQ(pt.y, 0) << code;
    }
    EXPECT_EQ(CenterDialogCbtProc(HCBT_ACTIVATE, reinterpret_cast<WPARAM>(dialog), 0), 0);
    RECT ownerRect, rc;
    GetWindowRect(owner.m_hwnd, &ownerRect);
    GetWindowRect(dialog, &rc);
    POINT expected = support::CentredOver(ownerRect, rc);
    EXPECT_EQ(rc.left, expected.x);
    EXPECT_EQ(rc.top, expected.y);
}

TEST(CenteredMessageBox, CaptionedByItsWindowAndCentredOverItWhileOpen) {
    struct Case {
        const char* name;
        bool hasWindow;
        const char* title;
        const char* caption;
    };
    const Case cases[] = {
        {"window with a title", true, "Box owner", "Box owner"},
        {"window without a title", true, NULL, ""},
        {"no window", false, NULL, "ERROR"},
    };
    const DWORD thread = GetCurrentThreadId();
    for (const Case& c : cases) {
        RecordingWindow owner("tests box owner");
        if (c.hasWindow) {
            ASSERT_TRUE(owner.CreateWindowDx(NULL, c.title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 150,
                                             120, 420, 320, NULL));
        }
        WindowGuard g1{owner.m_hwnd};
        RECT around = support::PrimaryWorkArea();
        if (c.hasWindow)
            GetWindowRect(owner.m_hwnd, &around);

        support::BoxSeen box;
        bool boxCentred = false;
        bool dialogCentred = false;
        HWND dialog = NULL;
        std::thread watcher([&] {
            box = support::WaitForBox(thread);
            if (!box.box)
                return;
            boxCentred = support::WaitUntil([&] {
                GetWindowRect(box.box, &box.rect);
                POINT want = support::CentredOver(around, box.rect);
                return box.rect.left == want.x && box.rect.top == want.y;
            });
            if (c.hasWindow) {
                // Another dialog activated on the box's thread while the box is open.
                PostMessageA(owner.m_hwnd, WM_MAKE_DIALOG, 0, 0);
                dialogCentred = support::WaitUntil([&] {
                    for (HWND d : support::ThreadWindows(thread, support::DIALOG_CLASS)) {
                        if (d == box.box)
                            continue;
                        dialog = d;
                        RECT rc;
                        GetWindowRect(d, &rc);
                        POINT want = support::CentredOver(around, rc);
                        return rc.left == want.x && rc.top == want.y;
                    }
                    return false;
                });
            }
            PostMessageA(box.box, WM_COMMAND, IDOK, 0);
        });
        int result = owner.CenteredMessageBoxDx("box text", MB_OK);
        watcher.join();
        WindowGuard g2{owner.m_dialog};

        ASSERT_NE(box.box, nullptr) << c.name;
        EXPECT_EQ(result, IDOK) << c.name;
        EXPECT_EQ(box.caption, c.caption) << c.name;
        EXPECT_EQ(box.text, "box text") << c.name;
        EXPECT_EQ(box.owner, owner.m_hwnd) << c.name;
        EXPECT_TRUE(boxCentred) << c.name << ": box at (" << box.rect.left << "," << box.rect.top
                                << ")";
        if (c.hasWindow) {
            EXPECT_TRUE(dialogCentred && dialog == owner.m_dialog) << c.name << ": second dialog";
        }
        EXPECT_EQ(g_hCenterHook, nullptr) << c.name << ": no hook left";
    }
}

TEST(WindowText, StringAsLongAsTheWindowsText) {
    const std::string texts[] = {"", "Tarvel", std::string(300, 'x')};
    for (const std::string& text : texts) {
        RecordingWindow window("tests window text");
        ASSERT_TRUE(window.CreateWindowDx(NULL, text.c_str(), WS_OVERLAPPED, 0, 0, 0, 50, 50, NULL));
        WindowGuard guard{window.m_hwnd};
        std::string read = WindowTextDx(window.m_hwnd);
        EXPECT_EQ(read.size(), text.size());
        EXPECT_EQ(read, text);
    }
}

}  // namespace
