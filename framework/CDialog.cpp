#include "framework/CDialog.h"

#include "framework/CWinApp.h"

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_parent(parent) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal()
{
    HWND owner = m_parent ? m_parent->GetSafeHwnd() : nullptr;
    m_ended = false;
    m_result = -1;
    HookWindowCreate(this);
    HWND hwnd = CreateDialogParamA(CWinApp::ResourceHandle(), MAKEINTRESOURCEA(m_templateId), owner,
                                   DialogProc, 0);
    UnhookWindowCreate();
    if (!hwnd)
        return -1;
    if (owner)
        EnableWindow(owner, FALSE);
    RunModalLoop();
    if (owner) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    ::DestroyWindow(hwnd);
    return m_result;
}

void CDialog::RunModalLoop()
{
    MSG msg;
    while (!m_ended) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));   // for the loop outside
            break;
        }
        if (got < 0)
            break;
        if (!m_hWnd || !IsDialogMessageA(m_hWnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void CDialog::EndDialog(int result)
{
    m_result = result;
    m_ended = true;
    ::PostMessageA(m_hWnd, WM_NULL, 0, 0);   // wakes the loop
}

BOOL CDialog::OnInitDialog()
{
    return TRUE;
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

bool CDialog::OnWndMsg(UINT msg, WPARAM wParam, LPARAM, LRESULT& result)
{
    switch (msg) {
    case WM_INITDIALOG:
        UnhookWindowCreate();
        result = OnInitDialog();
        return true;
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED)
            return false;
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return true;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return true;
        }
        return false;
    default:
        return false;
    }
}

// Every message reaches the object through the window procedure; the dialog manager's
// own procedure is left nothing to do.
INT_PTR CALLBACK CDialog::DialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
