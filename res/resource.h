// Resource and command identifiers, shared by Kelvaran.rc and the code.
#pragma once

// Resource numbers.
#define IDI_APP 1
#define IDM_MAIN 1
#define IDA_MAIN 1
#define IDM_PIE_CONTEXT 2

// Drop-down menus (their ids carry the hint strings).
#define CM_ROOT_MENU 11842
#define CM_COMMANDS_MENU 11846
#define CM_OPTIONS_MENU 11855
#define CM_HELP_MENU 11859
#define CM_VIEW_MENU 18873
#define CM_MODE_MENU 18874
#define CM_INFO_MENU 18878

// Menu commands.
#define CM_ANY_FOLDER 11843
#define CM_IMPORT 11844
#define CM_EXPORT 11845
#define CM_BACK 11847
#define CM_FORWARD 11848
#define CM_PARENT 11849
#define CM_RESCAN 11850
#define CM_RESCAN_ALL 11851
#define CM_OPEN_FOLDER 11852
#define CM_EXPLORE_FOLDER 11853
#define CM_EXPLORE_FROM_HERE 11854
#define CM_STATISTICS 11856
#define CM_HISTOGRAM 11857
#define CM_SETTINGS 11858
#define CM_BRIEF_DOCUMENT 11860
#define CM_HELP_TOPICS 11861
#define CM_ABOUT 11862
#define CM_FORCE_CLUSTER_SIZE 11863
#define CM_CLUSTER_INFO 11864
#define CM_COPY_NAME 11865
#define CM_MODE_LOGICAL 11866
#define CM_MODE_PHYSICAL 11867
#define CM_MODE_WASTED 11868
#define CM_FIND_USERS 11869
#define CM_SYSTEM_DRIVES 11870
// Comparison with an earlier data file: 11940..11959.
#define CM_COMPARE 11940
#define CM_END_COMPARISON 11941
#define CM_EXIT 24310

// Commands on a file or folder of the tree (the selection, the item under the mouse, statistics rows) and
// the menu resource of their context menu.
#define CM_OPEN_ITEM 11900
#define CM_PROPERTIES 11901
#define CM_DELETE 11902
#define CM_DELETE_PERMANENTLY 11903
#define CM_COPY_PATH 11904
#define IDM_ITEM_CONTEXT 11910

// Command ranges assigned at run time.
#define CM_DRIVE_FIRST 29000
#define CM_RECENT_ROOT_FIRST 29100
#define CM_MODE_BOX_FIRST 29200

// Scan progress dialog (template 1) and its controls.
#define IDD_THREAD 1
#define IDC_THREAD_GAUGE 101
#define IDC_THREAD_CANCEL 102
#define IDC_THREAD_COUNTERS 103
#define IDC_THREAD_PRIO_IDLE 104
#define IDC_THREAD_PAUSE 105
#define IDC_THREAD_ELAPSED 106
#define IDC_THREAD_PRIO_LOWEST 107
#define IDC_THREAD_PRIO_BELOW 108
#define IDC_THREAD_PRIO_NORMAL 109
#define IDC_THREAD_PRIO_ABOVE 110
#define IDC_THREAD_PRIO_HIGHEST 111
#define IDC_THREAD_PRIO_CRITICAL 112
#define IDC_THREAD_LOWER_PROCESS 113
#define IDC_THREAD_ROOT 115
#define IDC_THREAD_CLASS_IDLE 116
#define IDC_THREAD_CLASS_NORMAL 117
#define IDC_THREAD_CLASS_HIGH 118
#define IDC_THREAD_CLASS_REALTIME 119

// System drives dialog (resizable) and its controls.
#define IDD_SYS_DRIVES 30
#define IDC_SYS_DRIVES_LIST 108

// Main window parts: tool bar, path and mode boxes, folder tree, status bars (200 + bar number), bitmaps.
#define IDB_TOOLBAR 1
#define IDB_DRIVES 2
#define IDB_FOLDERS 3
// The same pictures drawn at 150 % and 200 %: the 100 % id plus kArtStep150 and kArtStep200 (fw/ImageList.h).
#define IDB_TOOLBAR_150 101
#define IDB_DRIVES_150 102
#define IDB_FOLDERS_150 103
#define IDB_TOOLBAR_200 201
#define IDB_DRIVES_200 202
#define IDB_FOLDERS_200 203
#define IDC_FOLDER_TREE 101
#define IDC_PATH_BOX 123
#define IDC_MODE_BOX 164
#define IDC_CONTROL_BAR 199
#define IDC_STATUS_HEADER 201
#define IDC_STATUS_DEEP 202
#define IDC_STATUS_SHALLOW 203

// About box (template and banner bitmap) and its controls.
#define IDB_BANNER 9
#define IDD_ABOUT 31
#define IDC_ABOUT_ICON 101
#define IDC_ABOUT_HOME 102
#define IDC_ABOUT_MAIL 103
#define IDC_ABOUT_PAGE 104
#define IDC_ABOUT_BANNER 106

// Questions about the tree: cluster table, forced cluster size, statistics, sizes histogram.
#define IDM_HISTOGRAM 3
#define CM_MORE_DETAIL 11864
#define CM_LESS_DETAIL 11863
#define IDD_STATISTICS 40
#define IDD_CLUSTER_INFO 41
#define IDD_SET_CLUSTER_SIZE 42
#define IDC_CLUSTER_LIST 108
#define IDC_CLUSTER_UNITS 102
#define IDC_SET_CLUSTER_SIZE 101
#define IDC_SET_CLUSTER_NOTE 103
#define IDC_STATS_HELP 101
#define IDC_STATS_ABSOLUTE 102
#define IDC_STATS_ROOT 103
#define IDC_STATS_SELECTED 104
#define IDC_STATS_FOLDER 105
#define IDC_STATS_COPY 106
#define IDC_STATS_RECURSE 107
#define IDC_STATS_LIST 108
#define IDC_STATS_MAX_ITEMS 109
#define IDC_STATS_SCOPE 110
#define IDC_STATS_QUERY 112

// Settings dialog (template 2) and tip text editor (template 8). The Help button shares id 101 with the
// central disk size box, which comes first in the template, so lookups by id find the box.
#define IDD_SETTINGS 2
#define IDD_TIP_TEXT 8
#define IDC_SET_CENTRE 101
#define IDC_SET_HELP 101
#define IDC_SET_FIXED_CLR 102
#define IDC_SET_GUIDE_LINES 103
#define IDC_SET_TIP_INFO 104
#define IDC_SET_DIALOG_LOOK 105
#define IDC_SET_SIZE_CLR1 106
#define IDC_SET_MIN_VIS 107
#define IDC_SET_CLR_FIXED 108
#define IDC_SET_CLR_SIZE 109
#define IDC_SET_CLR_RAINBOW 110
#define IDC_SET_CLR_NAME 111
#define IDC_SET_EDIT_DIR_TIP 112
#define IDC_SET_TIP_NAME 113
#define IDC_SET_EDIT_FILE_TIP 114
#define IDC_SET_PREVIEW 115
#define IDC_SET_REPAIR 116
#define IDC_SET_SIZE_CLR2 117
#define IDC_SET_SORT_NAME 118
#define IDC_SET_GROUP_DIRS 119
#define IDC_SET_SORT_GROUP 120
#define IDC_SET_SORT_NONE 121
#define IDC_SET_SORT_SIZE 122
#define IDC_SET_LARGE_TOOLBAR 124
#define IDC_SET_AUTOSCAN 125
#define IDC_SET_RESIZE_DELAY 126
#define IDC_SET_AUTOSCAN_DIR 128
#define IDC_SET_TRANSPARENCY 129
#define IDC_TIP_TEXT 101
#define IDC_TIP_SYMBOLS 108
#define IDC_TIP_HELP 9

// File types: the command, the dialog (resizable) and its controls, and the type-encoded colouring's
// button in the settings.
#define CM_FILE_TYPES 11920
#define IDD_FILE_TYPES 50
#define IDC_TYPES_ROOT 2000
#define IDC_TYPES_CURRENT 2001
#define IDC_TYPES_RECURSE 2002
#define IDC_TYPES_SCOPE 2003
#define IDC_TYPES_SCOPE_TEXT 2004
#define IDC_TYPES_LIST 2005
#define IDC_TYPES_COPY 2006
#define IDC_TYPES_HINT 2007
#define IDC_SET_CLR_TYPE 2010
