// The control window: a dialog that lives hidden beside its tray icon, polls the server
// service every second, and shows everything in its one tree-list control.
#pragma once
#include <map>
#include <string>

#include "app/ProgramIcons.h"
#include "app/StatusChangeWatch.h"
#include "app/TrayIcon.h"
#include "catalog/CatalogBrowser.h"
#include "config/ParameterView.h"
#include "framework/CDialog.h"
#include "framework/CFont.h"
#include "framework/CMenu.h"
#include "treelist/CTreeListCtrl.h"
#include "utils/DpiScale.h"

class SingleInstance;

class CVelDbCtrlDlg : public CDialog {
public:
    static const UINT WM_TRAYNOTIFY = TrayIcon::kCallbackMessage;
    static const UINT_PTR STATUS_TIMER_ID = 0;

    // `instance`, when given, learns the window so that later starts find it.
    explicit CVelDbCtrlDlg(SingleInstance* instance = nullptr);
    ~CVelDbCtrlDlg() override;

    // Shown when the operator opens the window or the parameters are filled.
    void NotifyTray(TrayIcon::Action action, std::string tip, HICON icon);
    // The popup menu at the mouse, or at a point of the screen.
    void ShowTrayMenu();
    void ShowMenuAt(POINT at);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    CTreeListCtrl m_tree;
    std::map<HTREEITEM, std::string> m_modules;   // "Kiegészítő modulok" node -> database
    HTREEITEM m_hVersionRoot = nullptr;
    ParameterView m_params;                       // the parameter rows and the databases
    CatalogBrowser m_catalog;                     // loads "Kiegészítő modulok" when expanded
    HICON m_hIcon = nullptr;
    HICON m_hIconStopped = nullptr;
    HICON m_hIconRunning = nullptr;
    HICON m_hIconUnavailable = nullptr;
    HICON m_hIconCurrent = nullptr;
    CFont m_font;
    std::string m_strTipBase;
    std::string m_strServerDir;
    CMenu m_menu;
    TrayIcon m_tray;
    StatusChangeWatch m_statusWatch;
    velutils::DpiScale m_dpi = velutils::DpiScale::OfSystem();  // of the monitor the window is on
    ProgramIcons m_icons;                         // the icons above, at the sizes of the DPI

private:
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    void OnTrayClick();
    void OnTraySelect();
    void OnTaskbarCreated();
    void OnShowRequest();
    int OnCreate(const CREATESTRUCTA* create);
    void OnPaint();
    void OnSysCommand(WPARAM id);
    bool OnCommand(WPARAM wParam);
    void OnClose();
    void OnTimer();
    void OnSize(int cx, int cy);
    void OnShowWindow(BOOL show, LPARAM status);
    bool OnNotify(const NMHDR* header, LRESULT& result);
    bool OnContextMenu(HWND from, LPARAM where);
    void OnDpiChanged(UINT dpi, const RECT* suggested);

    void OnOpenControlWindow();
    void OnStartServer();
    void OnStopServer();
    void OnRestartServer();
    void OnNetLock();
    void OnExit();
    void OnTreeItemExpanded(const NMHDR* header);

    // Service control, run by the timer and the menu commands.
    void PollServiceStatus();
    void StartServer();
    void StopService(const char* name);
    void RefreshServerDir();

    void InitDialog();
    void HideToTray();
    void ShowStatus(UINT textId, HICON icon);
    void NoticeStatusChange(ServiceStatus status);
    void ShowBalloon(UINT titleId, UINT textId, DWORD infoFlags);
    void EnableServiceCommands(bool running);
    void RebuildTree();
    POINT CaretMenuPoint();
    void BuildVersionReport();
    void FillTreeValues();
    void FillParameters();

    // What depends on the DPI: the tree's font and columns, the icons.
    void ApplyTreeFont();
    void ScaleColumns(velutils::DpiScale from);
    void LoadIcons();

    SingleInstance* m_instance;
};
