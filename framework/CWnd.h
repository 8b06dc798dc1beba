// A window owned by a C++ object: its messages reach the virtual WindowProc, whose
// default hands them to the message map (OnWndMsg) and then to default processing.
#pragma once
#include <windows.h>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL ShowWindow(int cmdShow);
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    void GetClientRect(RECT* rect) const;
    BOOL SetForegroundWindow();
    HICON SetIcon(HICON icon, BOOL bigIcon);
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse);
    BOOL KillTimer(UINT_PTR id);
    void SetFont(HFONT font, BOOL redraw = TRUE);
    BOOL DestroyWindow();

    // The object of a window this program made, or null.
    static CWnd* FromHandlePermanent(HWND hwnd);

    HWND m_hWnd = nullptr;

protected:
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The message map: handles a message and returns true, or returns false.
    virtual bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Default processing of the message being handled now.
    LRESULT Default();
    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // The next window made on this thread is attached to `wnd` before it sees any message.
    static void HookWindowCreate(CWnd* wnd);
    static void UnhookWindowCreate();

private:
    struct Message { UINT msg; WPARAM wParam; LPARAM lParam; };

    void Attach(HWND hwnd);
    static LRESULT CALLBACK StdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);

    WNDPROC m_superProc = nullptr;
    Message m_current = { 0, 0, 0 };
};
