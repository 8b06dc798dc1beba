// Resource ids of veldbctrl.exe: dialog, menu, icons, commands and string table.
#pragma once

#define IDD_CONTROL_DIALOG      102
#define IDR_MAINFRAME           128
#define IDI_RUNNING             130
#define IDI_STOPPED             131
#define IDI_UNAVAILABLE         132
#define IDC_TREELIST            1002

// Message box template and its controls.
#define IDD_VELMSGBOX           24100
#define IDC_VELMSGBOX_ICON      24101
#define IDC_VELMSGBOX_TEXT      24102
#define IDC_VELMSGBOX_DETAIL    24103
#define IDC_VELMSGBOX_BUTTONS   24110

// Popup menu commands.
#define ID_OPEN_CONTROL         52771
#define ID_SERVER_START         52772
#define ID_SERVER_STOP          52773
#define ID_SERVER_RESTART       52774
#define ID_EXIT                 52775
#define ID_NET_LOCK             32776

// Strings.
#define IDS_TRAY_TIP            1
#define IDS_ERRPOS_FILE         24047
#define IDS_ERRPOS_FUNCTION     24048
#define IDS_ERRPOS_LINE         24049
#define IDS_ADDITIONAL_DATAS    24050
#define IDS_ERRCODE             24051
#define IDS_ERROR_OCCURED       24052
#define IDS_SERVER_PARAMS       52776
#define IDS_SERVER_DIR          52777
#define IDS_ARCHIVE_HOME        52778
#define IDS_DB_HOME             52779
#define IDS_DEBUG_LOG           52780
#define IDS_SYNC_TIMEOUT        52781
#define IDS_ALLOW_SAME_UID      52782
#define IDS_CLIENT_CHECK        52783
#define IDS_MAX_CONNECTIONS     52784
#define IDS_PORT                52785
#define IDS_SERVER_LOCKED       52786
#define IDS_DATABASES           52787
#define IDS_STATUS_UNAVAILABLE  52788
#define IDS_STATUS_RUNNING      52789
#define IDS_STATUS_STOPPED      52790
#define IDS_FORBIDDEN           52791
#define IDS_SUPPORTED           52792
#define IDS_NO                  52793
#define IDS_YES                 52794
#define IDS_DB_PATH             52795
#define IDS_DB_SESSION          52796
#define IDS_DB_PARAM_FILE       52797
#define IDS_DB_DATA_CACHE       52798
#define IDS_DB_TRANS_CACHE      52799
#define IDS_DB_ARCHIVE_PATH     52800
#define IDS_DB_STARTED          52801
#define IDS_VERSION_INFO        52802
#define IDS_VER_SERVER          52803
#define IDS_VER_ENGINE          52804
#define IDS_VER_CLIENT          52805
#define IDS_VER_LINK            52806
#define IDS_VER_CONTROL         52807
#define IDS_VER_MONITOR         52808
#define IDS_NOT_AVAILABLE       52809
#define IDS_VER_ARCHIVER        52810
#define IDS_NET_LOCKED          52812
#define IDS_EXT_MODULES         52813
#define IDS_COL_PROPERTY        52814
#define IDS_COL_VALUE           52815

// Balloons from the tray icon when the service changes state on its own.
#define IDS_BALLOON_STOPPED_TITLE       52900
#define IDS_BALLOON_STOPPED             52901
#define IDS_BALLOON_UNAVAILABLE_TITLE   52902
#define IDS_BALLOON_UNAVAILABLE         52903
#define IDS_BALLOON_RUNNING_TITLE       52904
#define IDS_BALLOON_RUNNING             52905
