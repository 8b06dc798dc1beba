// A dialog made from a resource template and run modally in a loop of its own. The
// window is attached to its object before WM_CREATE, so the object's message map sees
// every message; the window is shown only as its template and its code say.
#pragma once
#include "framework/CWnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Runs the dialog until EndDialog; returns its result, or -1 when it could not be made.
    INT_PTR DoModal();
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

protected:
    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    UINT m_templateId;
    CWnd* m_parent;

private:
    void RunModalLoop();
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);

    bool m_ended = false;
    INT_PTR m_result = -1;
};
