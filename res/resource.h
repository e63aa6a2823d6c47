// Identifiers of the resource set, shared by the resource script and the program.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_WISPFOLD_DIALOG 102
#define IDR_MAINFRAME 128
#define IDR_TRAYMENU 129

#define IDB_HELP_DOWN 131
#define IDB_NO_UP 132
#define IDB_NO_DOWN 133
#define IDB_YES_UP 134
#define IDB_YES_DOWN 135
#define IDB_HELP_UP 136
#define IDB_SITES_DOWN 137
#define IDB_SPARE_1 138
#define IDB_SPARE_2 139
#define IDB_SITES_UP 140
#define IDB_NEWS_DOWN 141
#define IDB_NEWS_UP 142
#define IDB_OPEN_UP 143
#define IDB_OPEN_DOWN 144

#define IDM_ABOUTBOX 0x0010

#define ID_TRAY_OPEN 32771
#define ID_TRAY_EXIT 32772

#define IDC_BTN_YES 1000
#define IDC_BTN_NO 1001
#define IDC_BTN_HELP 1002
#define IDC_BTN_OPEN 1003
#define IDC_BTN_SITES 1004
#define IDC_BTN_NEWS 1005
#define IDC_BROWSER_HOST 1006
#define IDC_CHK_AUTOSTART 1007
#define IDC_CHK_KEEPFAVORITES 1008

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
