#include "app/CVelDbCtrlDlg.h"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

#include "app/ImagePath.h"
#include "framework/ResText.h"
#include "app/ServiceControl.h"
#include "app/SingleInstance.h"
#include "app/VersionReport.h"
#include "config/VelServerConfig.h"
#include "framework/CPaintDC.h"
#include "framework/CWinApp.h"
#include "res/resource.h"
#include "treelist/TreeListMessages.h"
#include "utils/ExceptionDisplay.h"
#include "utils/VelExceptBase.h"

namespace {

const char kServiceName[] = "veldbsrv";
const UINT kStatusPeriodMs = 1000;
// A tab stop, so that the dialog gives the tree the keyboard when the window opens.
const DWORD kTreeStyle = TVS_HASBUTTONS | TVS_LINESATROOT | TVS_FULLROWSELECT | WS_TABSTOP;
// Selected rows filled across all columns; set with mask 0, which stands for every bit.
const LPARAM kTreeExtendedStyle = TVS_EX_FULLROWSELECT_TL;
const WPARAM kEveryExtendedStyleBit = 0;
// Pixel sizes at 96 DPI; the window scales them to its own.
const int kTreeFontHeight = 16;
const int kTreeFontWidth = 8;
const int kPropertyColumnWidth = 300;
const int kValueColumnWidth = 200;

// A shell that starts again (after a crash) announces itself with this message.
UINT TaskbarCreatedMessage()
{
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

}  // namespace

CVelDbCtrlDlg::CVelDbCtrlDlg(SingleInstance* instance)
    : CDialog(IDD_CONTROL_DIALOG),
      m_params(m_tree, m_menu),
      m_catalog(m_tree, m_modules),
      m_instance(instance)
{
    LoadIcons();            // the tray starts with the application's icon
}

CVelDbCtrlDlg::~CVelDbCtrlDlg()
{
    m_font.DeleteObject();
    m_menu.DestroyMenu();
    m_modules.clear();
}

// Every message runs under one guard: a failure in any handler is shown, and the
// program goes on.
LRESULT CVelDbCtrlDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    RunShowingFailures([&] {
        if (msg == WM_TRAYNOTIFY)
            result = OnTrayNotify(wParam, lParam);
        else if (msg == TaskbarCreatedMessage())
            OnTaskbarCreated();
        else if (msg == SingleInstance::ShowMessage())
            OnShowRequest();
        else
            result = CDialog::WindowProc(msg, wParam, lParam);
    }, VEL_ERRPOS("NULL"));
    return result;
}

bool CVelDbCtrlDlg::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_CREATE:
        result = OnCreate(reinterpret_cast<const CREATESTRUCTA*>(lParam));
        return true;
    case WM_PAINT:
        OnPaint();
        return true;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(m_hIcon);
        return true;
    case WM_SYSCOMMAND:
        OnSysCommand(wParam);
        return true;
    case WM_COMMAND:
        return OnCommand(wParam) || CDialog::OnWndMsg(msg, wParam, lParam, result);
    case WM_CLOSE:
        OnClose();
        return true;
    case WM_TIMER:
        OnTimer();
        return true;
    case WM_SIZE:
        Default();
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return true;
    case WM_SHOWWINDOW:
        OnShowWindow(static_cast<BOOL>(wParam), lParam);
        return true;
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<const NMHDR*>(lParam), result);
    case WM_CONTEXTMENU:
        return OnContextMenu(reinterpret_cast<HWND>(wParam), lParam) || CDialog::OnWndMsg(msg, wParam, lParam, result);
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return true;
    default:
        return CDialog::OnWndMsg(msg, wParam, lParam, result);
    }
}

// The shell speaks in one of two layouts. In the first, lParam is the mouse message
// alone, and the button releases are the clicks. A shell that took version 4 puts the
// message in LOWORD(lParam) with the icon's id above it and the icon's anchor in wParam;
// it follows each release with NIN_SELECT or WM_CONTEXTMENU, which it also sends for the
// keyboard (Enter, Space, the Apps key): those are the clicks then, so that one click
// acts once.
LRESULT CVelDbCtrlDlg::OnTrayNotify(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(lParam) != TrayIcon::kIconId) {
        switch (lParam) {
        case WM_LBUTTONUP: OnTrayClick(); break;
        case WM_RBUTTONUP: ShowTrayMenu(); break;
        default: break;
        }
        return 0;
    }
    switch (LOWORD(lParam)) {
    case NIN_SELECT:
    case NIN_KEYSELECT: OnTraySelect(); break;
    case WM_CONTEXTMENU: ShowMenuAt(POINT{ GET_X_LPARAM(wParam), GET_Y_LPARAM(wParam) }); break;
    default: break;
    }
    return 0;
}

void CVelDbCtrlDlg::OnTrayClick()
{
    NotifyTray(TrayIcon::Delete, m_strTipBase, m_hIconCurrent);
    ShowWindow(SW_SHOW);
    SetForegroundWindow();
    FillTreeValues();
}

// A selection that reaches a window the icon already opened (a second one the shell had
// queued) only brings it forward: the databases are not listed twice.
void CVelDbCtrlDlg::OnTraySelect()
{
    if (!m_tray.IsShown() && IsWindowVisible())
        SetForegroundWindow();
    else
        OnTrayClick();
}

// A restarted shell has lost the icon: give it back while it is meant to be there.
void CVelDbCtrlDlg::OnTaskbarCreated()
{
    if (m_tray.IsShown() || !IsWindowVisible())
        NotifyTray(TrayIcon::Add, m_tray.Tip().empty() ? m_strTipBase : m_tray.Tip(), m_hIconCurrent);
}

// A second start of the program asks for the window: as a click on the icon would. An
// open window (perhaps with a login dialog over it) only comes to the front: the click
// would fill the databases once more into a tree built only when the window is shown.
void CVelDbCtrlDlg::OnShowRequest()
{
    if (!IsWindowVisible()) {
        PostMessage(WM_TRAYNOTIFY, TrayIcon::kIconId, WM_LBUTTONUP);
        return;
    }
    ::SetForegroundWindow(::GetLastActivePopup(m_hWnd));
}

int CVelDbCtrlDlg::OnCreate(const CREATESTRUCTA* create)
{
    if (Default() == -1)
        return -1;
    RECT rect = { 0, 0, create->cx, create->cy };
    m_tree.Create(kTreeStyle, rect, this, IDC_TREELIST);
    return 0;
}

void CVelDbCtrlDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    RECT rect;
    GetClientRect(&rect);
    const int side = m_dpi.SystemMetric(SM_CXICON);
    int x = (rect.right - side + 1) / 2;
    int y = (rect.bottom - side + 1) / 2;
    DrawIconEx(dc, x, y, m_hIcon, side, side, 0, nullptr, DI_NORMAL);
}

void CVelDbCtrlDlg::OnSysCommand(WPARAM id)
{
    switch (id & 0xFFF0) {
    case SC_MINIMIZE:
    case SC_CLOSE:
        HideToTray();
        break;
    default:
        Default();
        break;
    }
}

bool CVelDbCtrlDlg::OnCommand(WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case ID_OPEN_CONTROL:
        OnOpenControlWindow();
        return true;
    case ID_SERVER_START:
        OnStartServer();
        return true;
    case ID_SERVER_STOP:
        OnStopServer();
        return true;
    case ID_SERVER_RESTART:
        OnRestartServer();
        return true;
    case ID_NET_LOCK:
        OnNetLock();
        return true;
    case ID_EXIT:
        OnExit();
        return true;
    default:
        return false;
    }
}

void CVelDbCtrlDlg::OnClose()
{
    KillTimer(STATUS_TIMER_ID);
    NotifyTray(TrayIcon::Delete, m_strTipBase, m_hIconCurrent);
    CDialog::OnCancel();
}

void CVelDbCtrlDlg::OnTimer()
{
    RunShowingFailures([this] { PollServiceStatus(); }, VEL_ERRPOS("NULL"));
}

void CVelDbCtrlDlg::OnSize(int cx, int cy)
{
    if (m_tree.GetSafeHwnd())
        m_tree.SetWindowPos(HWND_TOP, 0, 0, cx, cy, SWP_SHOWWINDOW);
}

void CVelDbCtrlDlg::OnShowWindow(BOOL show, LPARAM status)
{
    Default();
    if (!show) {
        // The hide request posted at start-up; nothing else sends this status here.
        if (status == SW_PARENTCLOSING && IsWindowVisible())
            ShowWindow(SW_HIDE);
        return;
    }
    RebuildTree();
}

bool CVelDbCtrlDlg::OnNotify(const NMHDR* header, LRESULT& result)
{
    if (!header || header->idFrom != IDC_TREELIST)
        return false;
    switch (header->code) {
    case NM_RCLICK:                        // answered 0: the tree asks for the menu next
        result = 0;
        return true;
    case TVN_ITEMEXPANDEDA:
        OnTreeItemExpanded(header);
        result = 0;
        return true;
    case NM_RETURN:                        // the tree takes Enter from the dialog
        OnOK();
        result = TRUE;
        return true;
    default:
        return false;
    }
}

BOOL CVelDbCtrlDlg::OnInitDialog()
{
    RunShowingFailures([this] { InitDialog(); }, VEL_ERRPOS("NULL"));
    return TRUE;
}

void CVelDbCtrlDlg::InitDialog()
{
    CDialog::OnInitDialog();
    m_tray.Attach(m_hWnd);
    m_dpi = velutils::DpiScale::OfWindow(m_hWnd);
    ApplyTreeFont();
    m_menu.LoadMenu(IDR_MAINFRAME);
    m_tree.SendMessage(TVM_SETEXTENDEDSTYLE, kEveryExtendedStyleBit, kTreeExtendedStyle);
    m_tree.InsertColumn(0, FormatResString(IDS_COL_PROPERTY), 0, m_dpi.Scale(kPropertyColumnWidth));
    m_tree.InsertColumn(1, FormatResString(IDS_COL_VALUE), 0, m_dpi.Scale(kValueColumnWidth));
    LoadIcons();
    PostMessage(WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
    m_strTipBase = FormatResString(IDS_TRAY_TIP);
    NotifyTray(TrayIcon::Add, m_strTipBase, m_hIconCurrent);
    SetTimer(STATUS_TIMER_ID, kStatusPeriodMs);
    if (m_instance)
        m_instance->Publish(m_hWnd);
}

void CVelDbCtrlDlg::OnOK()
{
    HideToTray();
}

void CVelDbCtrlDlg::OnCancel()
{
    HideToTray();
}

void CVelDbCtrlDlg::HideToTray()
{
    NotifyTray(TrayIcon::Add, m_strTipBase, m_hIconCurrent);
    ShowWindow(SW_HIDE);
}

void CVelDbCtrlDlg::NotifyTray(TrayIcon::Action action, std::string tip, HICON icon)
{
    m_tray.Notify(action, tip, icon);
}

// The tree's context menu: the right button, the Apps key and Shift+F10 (at the caret,
// -1, -1). Other windows' requests get the default handling.
bool CVelDbCtrlDlg::OnContextMenu(HWND from, LPARAM where)
{
    if (!from || from != m_tree.GetSafeHwnd())
        return false;
    POINT at = { GET_X_LPARAM(where), GET_Y_LPARAM(where) };
    if (at.x == -1 && at.y == -1)
        at = CaretMenuPoint();
    ShowMenuAt(at);
    return true;
}

// Below the caret's label, scrolled into view; the tree's corner without a caret.
POINT CVelDbCtrlDlg::CaretMenuPoint()
{
    POINT at = { 0, 0 };
    HTREEITEM caret = m_tree.GetSelectedItem();
    RECT label;
    if (caret && m_tree.EnsureVisible(caret) && m_tree.GetItemRect(caret, &label, TRUE))
        at = POINT{ label.left, label.bottom };
    ::ClientToScreen(m_tree.GetSafeHwnd(), &at);
    return at;
}

void CVelDbCtrlDlg::ShowTrayMenu()
{
    POINT at;
    GetCursorPos(&at);
    ShowMenuAt(at);
}

void CVelDbCtrlDlg::ShowMenuAt(POINT at)
{
    SetForegroundWindow();
    TrackPopupMenu(m_menu.GetSubMenu(0), TPM_RIGHTBUTTON | TPM_LEFTALIGN, at.x, at.y, 0, m_hWnd, nullptr);
    PostMessage(WM_USER, 0, 0);
}

void CVelDbCtrlDlg::OnOpenControlWindow()
{
    ShowWindow(SW_SHOW);
}

void CVelDbCtrlDlg::OnStartServer()
{
    StatusChangeWatch::OwnCommand own(m_statusWatch, ServiceStatus::Running);
    StartServer();
}

void CVelDbCtrlDlg::OnStopServer()
{
    StatusChangeWatch::OwnCommand own(m_statusWatch, ServiceStatus::Stopped);
    try {
        StopService(kServiceName);
    } catch (const VelExceptBase& e) {
        ShowCaughtException(e);
    }
}

void CVelDbCtrlDlg::OnRestartServer()
{
    StatusChangeWatch::OwnCommand own(m_statusWatch, ServiceStatus::Running);
    try {
        StopService(kServiceName);
        StartServer();
    } catch (const VelExceptBase& e) {
        ShowCaughtException(e);
    }
}

// Switches the server's network lock in its configuration file; the check mark moves
// only when the file was written.
void CVelDbCtrlDlg::OnNetLock()
{
    VelServerConfig config(m_strServerDir, "velsrv");
    bool locked = (m_menu.GetMenuState(ID_NET_LOCK, MF_BYCOMMAND) & MF_CHECKED) != 0;
    if (config.WriteValue("net_lock", locked ? "false" : "true") == VelServerConfig::Success)
        m_menu.CheckMenuItem(ID_NET_LOCK, locked ? MF_UNCHECKED : MF_CHECKED);
}

void CVelDbCtrlDlg::OnExit()
{
    PostMessage(WM_CLOSE, 0, 0);
}

void CVelDbCtrlDlg::OnTreeItemExpanded(const NMHDR* header)
{
    m_catalog.OnItemExpanded(*reinterpret_cast<const NMTREEVIEWA*>(header), m_params.DatabasesRoot());
}

void CVelDbCtrlDlg::PollServiceStatus()
{
    ServiceStatus status = ServiceControl::QueryStatus(kServiceName);
    switch (status) {
    case ServiceStatus::Unavailable:
        ShowStatus(IDS_STATUS_UNAVAILABLE, m_hIconUnavailable);
        break;
    case ServiceStatus::Running:
        ShowStatus(IDS_STATUS_RUNNING, m_hIconRunning);
        EnableServiceCommands(true);
        break;
    case ServiceStatus::Stopped:
        ShowStatus(IDS_STATUS_STOPPED, m_hIconStopped);
        EnableServiceCommands(false);
        break;
    }
    NoticeStatusChange(status);
}

// A server that stops or comes back without a command from here is worth a word.
void CVelDbCtrlDlg::NoticeStatusChange(ServiceStatus status)
{
    switch (m_statusWatch.Observe(status)) {
    case StatusChangeWatch::Change::Stopped:
        ShowBalloon(IDS_BALLOON_STOPPED_TITLE, IDS_BALLOON_STOPPED, NIIF_WARNING);
        break;
    case StatusChangeWatch::Change::Unavailable:
        ShowBalloon(IDS_BALLOON_UNAVAILABLE_TITLE, IDS_BALLOON_UNAVAILABLE, NIIF_WARNING);
        break;
    case StatusChangeWatch::Change::Running:
        ShowBalloon(IDS_BALLOON_RUNNING_TITLE, IDS_BALLOON_RUNNING, NIIF_INFO);
        break;
    case StatusChangeWatch::Change::None:
        break;
    }
}

// While the window is open from the tray there is no icon to speak from.
void CVelDbCtrlDlg::ShowBalloon(UINT titleId, UINT textId, DWORD infoFlags)
{
    std::string title = FormatResString(titleId);
    m_tray.ShowBalloon(title, FormatResString(textId), infoFlags);
}

// A running server can be stopped or restarted; any other can be started.
void CVelDbCtrlDlg::EnableServiceCommands(bool running)
{
    m_menu.EnableMenuItem(ID_SERVER_START, running ? MF_GRAYED : MF_ENABLED);
    m_menu.EnableMenuItem(ID_SERVER_STOP, running ? MF_ENABLED : MF_GRAYED);
    m_menu.EnableMenuItem(ID_SERVER_RESTART, running ? MF_ENABLED : MF_GRAYED);
}

// Updates the icon and its tip. While the window is hidden the icon must exist: when
// the shell has lost it (it was not ready at logon, or restarted unnoticed), add it.
void CVelDbCtrlDlg::ShowStatus(UINT textId, HICON icon)
{
    std::string tip = m_strTipBase + FormatResString(textId);
    m_hIconCurrent = icon;
    if (!m_tray.Notify(TrayIcon::Modify, tip, icon) && !IsWindowVisible())
        m_tray.Notify(TrayIcon::Add, tip, icon);
}

void CVelDbCtrlDlg::StartServer()
{
    ServiceControl::Start(kServiceName);
}

void CVelDbCtrlDlg::StopService(const char* name)
{
    ServiceControl::Stop(name, ServiceControl::kStopWaitMs);
}

void CVelDbCtrlDlg::RefreshServerDir()
{
    std::string imagePath;
    if (ServiceControl::QueryImagePath(kServiceName, imagePath))
        m_strServerDir = ImagePath::DirectoryOf(imagePath);
}

// Each showing starts from an empty tree: versions, then parameters and databases
// without their values.
void CVelDbCtrlDlg::RebuildTree()
{
    m_tree.DeleteAllItems();
    m_modules.clear();
    RefreshServerDir();
    BuildVersionReport();
    m_params.Build();
    m_tree.SelectItem(m_tree.GetRootItem());    // the keys start from the first row
}

void CVelDbCtrlDlg::BuildVersionReport()
{
    m_hVersionRoot = VersionReport(m_tree).Build();
}

void CVelDbCtrlDlg::FillTreeValues()
{
    FillParameters();
    m_params.FillDatabases(m_strServerDir);
}

// A failure here is shown, and the databases are filled all the same.
void CVelDbCtrlDlg::FillParameters()
{
    RunShowingFailures([this] { m_params.FillParameters(m_strServerDir); }, VEL_ERRPOS("NULL"));
}

// The window moved to a monitor of another DPI, or the scale changed: it takes the size
// Windows suggests, and what depends on the DPI is made again. The tree keeps its rows,
// its expanded and loaded nodes and its selection.
void CVelDbCtrlDlg::OnDpiChanged(UINT dpi, const RECT* suggested)
{
    const velutils::DpiScale old = m_dpi;
    m_dpi = velutils::DpiScale(dpi);
    if (m_dpi != old) {
        ApplyTreeFont();
        ScaleColumns(old);
        LoadIcons();
    }
    if (suggested)
        SetWindowPos(nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The tree's font (16 x 8 pixels at 96 DPI) at the window's DPI. The old font goes only
// once the tree has the new one.
void CVelDbCtrlDlg::ApplyTreeFont()
{
    CFont font;
    font.CreateFont(m_dpi.Scale(kTreeFontHeight), m_dpi.Scale(kTreeFontWidth), 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                    DEFAULT_CHARSET, OUT_RASTER_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                    nullptr);
    if (m_tree.GetSafeHwnd())
        m_tree.SetFont(font, TRUE);
    m_font = std::move(font);
}

// The columns keep their share of the window: widths the operator chose scale as well.
void CVelDbCtrlDlg::ScaleColumns(velutils::DpiScale from)
{
    const int count = static_cast<int>(m_tree.SendMessage(TVM_GETCOLUMNCOUNT));
    for (int column = 0; column < count; ++column) {
        HDITEMA item = {};
        item.mask = HDI_WIDTH;
        if (!m_tree.SendMessage(TVM_GETCOLUMN, column, reinterpret_cast<LPARAM>(&item)))
            continue;
        item.cxy = m_dpi.ScaleFrom(item.cxy, from.Dpi());
        m_tree.SendMessage(TVM_SETCOLUMN, column, reinterpret_cast<LPARAM>(&item));
    }
}

// The icons at the sizes of the tray's and the window's DPI. The window and the tray take
// the new ones before the old ones go; the tray keeps showing the same status.
void CVelDbCtrlDlg::LoadIcons()
{
    ProgramIcons icons;
    icons.Load(CWinApp::ResourceHandle(), velutils::DpiScale::OfPrimaryMonitor(), m_dpi);
    const ProgramIcons::Tray current = m_icons.Which(m_hIconCurrent);
    m_hIcon = icons.Big();
    m_hIconRunning = icons.TrayIcon(ProgramIcons::Running);
    m_hIconStopped = icons.TrayIcon(ProgramIcons::Stopped);
    m_hIconUnavailable = icons.TrayIcon(ProgramIcons::Unavailable);
    m_hIconCurrent = icons.TrayIcon(current);
    if (m_hWnd) {
        SetIcon(icons.Big(), TRUE);
        SetIcon(icons.Small(), FALSE);
        if (m_tray.IsShown())
            m_tray.Notify(TrayIcon::Modify, m_tray.Tip(), m_hIconCurrent);
    }
    m_icons = std::move(icons);
}
