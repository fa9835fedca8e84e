// MWindowBase: binds one window object to one platform window, registers its class on
// first use and routes every message of the window to the object's HandleMessageDx.
#pragma once

#include <windows.h>

#include <string>

#include "crt/Assert.hpp"

inline SIZE RectSizeDx(const RECT& rc) {
    SIZE size = {rc.right - rc.left, rc.bottom - rc.top};
    return size;
}

// Top-left corner for a window of size own centred over around, then pulled inside bounds.
// The right and bottom edges are fixed first, so a window larger than bounds ends up on its
// left and top edges. The halving rounds toward zero (-3 / 2 is -1).
inline POINT CenteredPositionDx(const RECT& around, SIZE own, const RECT& bounds) {
    SIZE outer = RectSizeDx(around);
    POINT pt = {around.left + (outer.cx - own.cx) / 2, around.top + (outer.cy - own.cy) / 2};
    if (pt.x + own.cx > bounds.right)
        pt.x = bounds.right - own.cx;
    if (pt.y + own.cy > bounds.bottom)
        pt.y = bounds.bottom - own.cy;
    if (pt.x < bounds.left)
        pt.x = bounds.left;
    if (pt.y < bounds.top)
        pt.y = bounds.top;
    return pt;
}

// Centres hwnd over its parent (a child) or owner, or over the work area of its monitor when it
// belongs to no window, and keeps it visible. Moves only: no resizing, z-order or activation.
inline void PlaceCenteredDx(HWND hwnd) {
    DX_ASSERT(IsWindow(hwnd));
    bool isChild = (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) != 0;
    HWND reference = isChild ? GetParent(hwnd) : GetWindow(hwnd, GW_OWNER);

    // The monitor of the window itself, not of the one it is centred over.
    RECT work;
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    if (GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi))
        work = mi.rcWork;
    else
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);

    RECT around = work;
    if (reference)
        GetWindowRect(reference, &around);
    RECT own;
    GetWindowRect(hwnd, &own);

    // A child is centred on the parent's whole window but kept inside its client area.
    bool inParent = isChild && reference;
    RECT bounds = work;
    if (inParent) {
        GetClientRect(reference, &bounds);
        MapWindowPoints(reference, NULL, reinterpret_cast<POINT*>(&bounds), 2);
    }
    POINT pt = CenteredPositionDx(around, RectSizeDx(own), bounds);
    if (inParent)
        ScreenToClient(reference, &pt);
    SetWindowPos(hwnd, NULL, pt.x, pt.y, 0, 0, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE);
}

// Non-null while a framework message box is open (or after an unhooking that failed).
inline HHOOK g_hCenterHook = NULL;

// Centres every dialog-class window ("#32770": message boxes and dialogs) that the thread
// activates while installed. Lets every operation proceed; does not chain to other hooks.
inline LRESULT CALLBACK CenterDialogCbtProc(int nCode, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    if (nCode != HCBT_ACTIVATE)
        return 0;
    HWND hwnd = reinterpret_cast<HWND>(wParam);
    // Zeroed first: a name that cannot be read never matches. Longer names come cut to
    // 15 characters, so they never match either.
    char name[16] = {};
    GetClassNameA(hwnd, name, sizeof name);
    if (lstrcmpiA(name, "#32770") != 0)
        return 0;
    PlaceCenteredDx(hwnd);
    return 0;
}

// Installs (once, however often asked) or removes the centring hook of this thread.
// Returns the hook now installed, null when there is none.
inline HHOOK CenterDialogHookDx(bool install) {
    if (install) {
        if (!g_hCenterHook)
            g_hCenterHook =
                SetWindowsHookExA(WH_CBT, CenterDialogCbtProc, NULL, GetCurrentThreadId());
    } else if (g_hCenterHook && UnhookWindowsHookEx(g_hCenterHook)) {
        g_hCenterHook = NULL;
    }
    return g_hCenterHook;
}

// The window's text; always as long as the platform said the text is.
inline std::string WindowTextDx(HWND hwnd) {
    int length = GetWindowTextLengthA(hwnd);
    if (length < 0)
        length = 0;
    std::string text(static_cast<std::size_t>(length), '\0');
    GetWindowTextA(hwnd, &text[0], length + 1);
    return text;
}

// Resource strings share one buffer: each load overwrites the text the previous one returned.
inline char g_szResStringDx[1024];

class MWindowBase {
public:
    MSG m_lastMsg;       // message being handled; rewritten by every dispatch, nested ones too
    HWND m_hwnd;         // null until WM_CREATE, and again after WM_NCDESTROY
    WNDPROC m_prevProc;  // null: default processing is DefWindowProcA

    // m_lastMsg stays unset until the first dispatch.
    MWindowBase() : m_hwnd(NULL), m_prevProc(NULL) {}

    // Never destroys the window: windows outlive or predecease their objects on their own.
    virtual ~MWindowBase() {}

    virtual LRESULT DefaultHandlerDx(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (m_prevProc)
            return CallWindowProcA(m_prevProc, hwnd, message, wParam, lParam);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

    virtual LRESULT HandleMessageDx(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return DefaultHandlerDx(hwnd, message, wParam, lParam);
    }

    virtual LPCSTR ClassNameDx() { return "pelmora's MWindowBase Class"; }

    // Last chance to change the class description; called only by the registering object.
    virtual void AdjustClassDx(WNDCLASSEXA& wcx) { (void)wcx; }

    bool CreateWindowDx(HWND hwndParent, LPCSTR text, DWORD style, DWORD exStyle, INT x, INT y,
                        INT width, INT height, HMENU menu) {
        HINSTANCE instance = GetModuleHandleA(NULL);
        WNDCLASSEXA wcx = {};
        LPCSTR className = ClassNameDx();
        // A class of that name is used as registered, whoever registered it.
        if (!GetClassInfoExA(instance, className, &wcx)) {
            wcx.cbSize = sizeof(wcx);
            wcx.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
            wcx.lpfnWndProc = StaticWindowProcDx;
            wcx.cbClsExtra = 0;
            wcx.cbWndExtra = 0;
            wcx.hInstance = instance;
            wcx.hIcon = LoadIconA(NULL, IDI_APPLICATION);
            wcx.hCursor = LoadCursorA(NULL, IDC_ARROW);
            wcx.hbrBackground = GetSysColorBrush(COLOR_3DFACE);
            wcx.lpszMenuName = NULL;
            wcx.lpszClassName = className;
            wcx.hIconSm = LoadIconA(NULL, IDI_APPLICATION);
            AdjustClassDx(wcx);
            if (!RegisterClassExA(&wcx))
                return false;
        }
        m_hwnd = CreateWindowExA(exStyle, ClassNameDx(), ResTextDx(text), style, x, y, width, height,
                                 hwndParent, menu, GetModuleHandleA(NULL), this);
        if (m_hwnd)
            SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        return m_hwnd != NULL;
    }

    static LRESULT CALLBACK StaticWindowProcDx(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
        MWindowBase* self;
        if (message == WM_CREATE) {
            CREATESTRUCTA* pcs = reinterpret_cast<CREATESTRUCTA*>(lParam);
            DX_ASSERT(pcs->lpCreateParams);
            self = static_cast<MWindowBase*>(pcs->lpCreateParams);
            self->m_hwnd = hwnd;
        } else {
            // 0 until the creating call has returned.
            self = reinterpret_cast<MWindowBase*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        }
        if (!self)
            return DefWindowProcA(hwnd, message, wParam, lParam);

        DWORD pos = GetMessagePos();
        self->m_lastMsg.hwnd = hwnd;
        self->m_lastMsg.message = message;
        self->m_lastMsg.wParam = wParam;
        self->m_lastMsg.lParam = lParam;
        self->m_lastMsg.time = GetMessageTime();
        self->m_lastMsg.pt.x = static_cast<SHORT>(LOWORD(pos));
        self->m_lastMsg.pt.y = static_cast<SHORT>(HIWORD(pos));

        LRESULT result = self->HandleMessageDx(hwnd, message, wParam, lParam);
        // The last message a window gets: the object lets go of it only now.
        if (message == WM_NCDESTROY)
            self->m_hwnd = NULL;
        return result;
    }

    // A text argument below 65536 is a string-resource number.
    static bool IsResourceNumberDx(LPCSTR text) {
        return text != NULL && (reinterpret_cast<UINT_PTR>(text) >> 16) == 0;
    }

    static LPCSTR ResTextDx(LPCSTR text) {
        if (IsResourceNumberDx(text))
            return LoadResStringDx(LOWORD(reinterpret_cast<UINT_PTR>(text)));
        return text;
    }

    static LPSTR LoadResStringDx(UINT id) {
        g_szResStringDx[0] = 0;
        LoadStringA(GetModuleHandleA(NULL), id, g_szResStringDx, sizeof g_szResStringDx);
        return g_szResStringDx;
    }

    // Runs the thread's loop, for every window of the thread; returns the quit code.
    static INT RunMessageLoopDx() {
        MSG msg;
        while (GetMessageA(&msg, NULL, 0, 0)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return static_cast<INT>(msg.wParam);
    }

    // A message box owned by this object's window, with its text as caption, centred over it
    // (over the work area when the object has no window, and then captioned "ERROR").
    int CenteredMessageBoxDx(LPCSTR text, UINT type) {
        std::string caption = m_hwnd ? WindowTextDx(m_hwnd) : std::string("ERROR");
        CenterDialogHookDx(true);
        int result = MessageBoxA(m_hwnd, ResTextDx(text), caption.c_str(), type);
        CenterDialogHookDx(false);
        return result;
    }

protected:
    // What a handler returns for a message it leaves to the framework: the recorded
    // message, which after a nested dispatch is the nested one.
    LRESULT DefaultProcessingDx() {
        return DefaultHandlerDx(m_lastMsg.hwnd, m_lastMsg.message, m_lastMsg.wParam,
                                m_lastMsg.lParam);
    }
};
