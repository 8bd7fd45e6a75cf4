// Identifiers shared by Zarn.rc, the program and its end-to-end tests.
#pragma once

// ---- icons: the application's, then the image list's
#define IDI_ZARN 1
// The image list, by index: its strip (IDB_IMAGELIST) and its icons (IDI_IMAGELIST_FIRST + index) are
// drawn in this order by scripts/make-icons.py, which reads these lines.
#define ZARN_IMAGE_CASCADE 0
#define ZARN_IMAGE_TILE 1
#define ZARN_IMAGE_CLOSE_ALL 2
#define ZARN_IMAGE_SETTINGS 3
#define ZARN_IMAGE_ORGANISE 4
#define ZARN_IMAGE_LOAD 5
#define ZARN_IMAGE_SAVE 6
#define ZARN_IMAGE_NEW 7
#define ZARN_IMAGE_TITLEBAR 8
#define ZARN_IMAGE_EXIT 9
#define ZARN_IMAGE_MOVE_UP 10
#define ZARN_IMAGE_MOVE_DOWN 11
#define ZARN_IMAGE_REGION 12
#define ZARN_IMAGELIST_COUNT 13
#define IDI_IMAGELIST_FIRST 101
#define IDB_IMAGELIST 150  // the same images in one 16-pixel-high strip
#define IDI_CORNER_TOP_LEFT 120      // the region editor's glyphs and its drag handle
#define IDI_CORNER_TOP_RIGHT 121
#define IDI_CORNER_BOTTOM_LEFT 122
#define IDI_CORNER_BOTTOM_RIGHT 123
#define IDI_REGION_CONFIRM 124
#define IDI_REGION_MOVE 125

// ---- dialogs
#define IDD_CONFIRM 201
#define IDD_INPUT 202
#define IDC_MESSAGE 1201       // the question of the confirmation dialog
#define IDC_INPUT_PROMPT 1202  // the prompt of the input dialog
#define IDC_INPUT_EDIT 1203    // its edit field

// ---- the main window
#define IDC_TOOLBAR 1000

// Commands (WM_COMMAND), from the tool bar's buttons and the popup menus.
#define IDM_CASCADE_DEFAULT 101   // body of the cascade button: the variant UponDef names
#define IDM_CASCADE_KEEP_SIZE 102 // "重ねて表示", in the cascade drop-down and the right-click menu
#define IDM_CASCADE_UNIFORM 103   // "サイズを揃えて重ねて表示"
#define IDM_TILE 104              // "並べて表示"
#define IDM_CLOSE_ALL 105         // "すべて閉じる"
#define IDM_WB_SAVE_BUTTON 106    // body of the save button
#define IDM_WB_LOAD_BUTTON 107    // body of the load button
#define IDM_NEW_WB 108            // "新規ワークベンチの保存"
#define IDM_ORGANISE_WB 109       // "ワークベンチの整理"
#define IDM_CONFIG_DIALOG 110     // "設定ダイアログの表示"
#define IDM_TITLEBAR_TOGGLE 111   // "タイトルバー表示/非表示"
#define IDM_EXIT 112              // "終了"
#define IDM_STOP_RESTORE 113      // "ワークベンチの読込を中止", the one item of the menus during a restore

// Workbench items: first id + the workbench's position in the file. One range per menu, so a click
// says which menu it came from.
#define IDM_WB_RANGE_SIZE 10000
#define IDM_WB_LOAD_DROPDOWN_FIRST 10000  // load button's drop-down
#define IDM_WB_SAVE_DROPDOWN_FIRST 20000  // save button's drop-down
#define IDM_WB_LOAD_SUBMENU_FIRST 30000   // "ワークベンチの読込" of the right-click menu
#define IDM_WB_SAVE_SUBMENU_FIRST 40000   // "ワークベンチの保存" of the right-click menu

// ---- version resource
#define VS_VERSION_INFO_ID 1

// ---- the settings dialog's controls, in the order of their pages
#define IDC_CONFIG_TABS 2001       // ZarnPCSetting
#define IDC_LST_WB 2002            // ZarnLstWB
#define IDC_BTN_UP 2003            // ZarnBtnUp
#define IDC_BTN_DOWN 2004          // ZarnBtnDown
#define IDC_BTN_CHANGENAME 2005    // ZarnBtnChangeName
#define IDC_BTN_DELETE 2006        // ZarnBtnDelete
#define IDC_CMB_MONITMODE 2007     // ZarnCmbMonitMode
#define IDC_CMB_SHOWMODE 2008      // ZarnCmbShowMode
#define IDC_CMB_LAYERTYPE 2009     // ZarnCmbLayerType
#define IDC_TKB_MAINLAYER 2010     // ZarnTkBMainLayer
#define IDC_CK_TITLEBARVIEW 2011   // ZarnCkTitleBarView
#define IDC_CMB_WBLOAD 2012        // ZarnCmbWBLoad
#define IDC_BTN_CONFIG_OK 2013     // ZarnBtnOK: not IDOK, so Enter does not press it
#define IDC_BTN_CONFIG_CANCEL 2014 // ZarnBtnCancel: not IDCANCEL, so Escape does not press it
