// Resource ids shared by the program and the language resource modules.
// Plain #defines so that resource scripts can include this file too.
#pragma once

// ---- Strings of the language module -------------------------------------
#define IDS_TITLE               1   // program window title (also the tray tip's first line)
#define IDS_TAB_STATUS          3   // first tab / skin page 0 title
#define IDS_TAB_VERSION         4   // second tab / skin page 1 title
#define IDS_UNAVAILABLE         5   // text of a value that cannot be read
#define IDS_UNKNOWN             6   // unlisted line state; driver version unavailable
#define IDS_LINE_STATES         12  // enumeration list of the line state (command 0x0004)
#define IDS_LINE_MODES          13  // enumeration list of the line mode (0x0206, 0x0113)
#define IDS_TIP_PREVIOUS        14  // skin button tool-tips
#define IDS_TIP_NEXT            15
#define IDS_TIP_MINIMISE        16
#define IDS_TIP_CLOSE           17
#define IDS_LABEL_STATE         18  // "State:" (also put before the state name in the tray tip)
#define IDS_LABEL_MODE          19  // "Mode:"
#define IDS_LABEL_UPSTREAM      20  // skin page 0 row 3 (rate of command 0x0107)
#define IDS_LABEL_DOWNSTREAM    21  // skin page 0 row 2 (rate of command 0x0103)
#define IDS_LABEL_DRIVER        22  // "Driver version:" (command 0x0001)
#define IDS_LABEL_PROGRAM       23  // "Program version:"
#define IDS_GROUP_RATES         24  // status page group box around the two rates
#define IDS_GROUP_ACTIVITY      25  // status page group box around the activity meter
#define IDS_METER_LEGEND        26  // status page legend of the meter's two bars
#define IDS_RATE_DOWNSTREAM     27  // label of the rate of command 0x0103 (page and tray tip)
#define IDS_RATE_UPSTREAM       28  // label of the rate of command 0x0107 (page and tray tip)
#define IDS_GROUP_CONNECTION    29  // status page group box around state and mode
#define IDS_CLOSE_BUTTON        30  // classic dialog close button
#define IDS_MENU_OPEN           31  // tray menu item 100
#define IDS_MENU_CLOSE          32  // tray menu item 101
#define IDS_MENU_EXIT           33  // tray menu item 102
#define IDS_LABEL_PACKAGE       34  // skin page 1 row 0: installed package version
#define IDS_LABEL_FIRMWARE      35  // skin page 1 row 3: text of command 0x01E4
#define IDS_PAGE_FORMAT         36  // page indicator, two %d: page number and page count
#define IDS_ALERT_LINE_UP       37  // tray balloons: %1 is "downstream/upstream" in kbit/s
#define IDS_ALERT_LINE_DOWN     38  // %1 is how long the line was up (one of 41..44)
#define IDS_ALERT_MODEM_LOST    39
#define IDS_ALERT_MODEM_FOUND   40
#define IDS_DURATION_SECONDS    41  // %1 seconds, under a minute
#define IDS_DURATION_MINUTES    42  // %1 minutes, under an hour
#define IDS_DURATION_HOURS      43  // %1 hours %2 minutes, under a day
#define IDS_DURATION_DAYS       44  // %1 days %2 hours
#define IDS_TAB_HISTORY         45  // third tab: the line diary
#define IDS_HISTORY_UP_DAY      46  // history page figure captions
#define IDS_HISTORY_UP_WEEK     47
#define IDS_HISTORY_DROPS       48
#define IDS_HISTORY_LONGEST     49
#define IDS_HISTORY_SESSION     50
#define IDS_HISTORY_EXPORT      51  // the export button
#define IDS_HISTORY_PERIOD_DAY  52  // the periods the export offers
#define IDS_HISTORY_PERIOD_WEEK 53
#define IDS_HISTORY_PERIOD_ALL  54
#define IDS_HISTORY_FILTER      55  // the Save dialog's file type: "CSV files (*.csv)"
#define IDS_HISTORY_ASLEEP      56  // the graph's legend: the shade of the time the PC was asleep
#define IDS_METER_VALUE         57  // the meter in words: %1 received, %2 sent, in per cent
#define IDS_MENU_SETTINGS       58  // tray menu item 110, the classic dialog's system menu, the skinned window's menu
#define IDS_SETTINGS_TITLE      59  // the Settings window (never string 1: a second start looks for that title)
#define IDS_SETTINGS_WINDOW     60  // group: the status window
#define IDS_SETTINGS_CLASSIC    61
#define IDS_SETTINGS_SKINNED    62
#define IDS_SETTINGS_TRAY       63
#define IDS_SETTINGS_TRAY_NOTE  64  // without the icon, closing the status window ends the program
#define IDS_SETTINGS_AUTOSTART  65  // start with Windows for this user
#define IDS_SETTINGS_AUTOSTART_NOTE 66 // the installer's entry for every user is there
#define IDS_SETTINGS_LANGUAGE   67  // group: the language
#define IDS_SETTINGS_LANG_WINDOWS 68
#define IDS_SETTINGS_LANG_INSTALLER 69
#define IDS_SETTINGS_LANG_ONE   70
#define IDS_SETTINGS_LANG_NOTE  71  // a change takes effect at the next start
#define IDS_SETTINGS_LANG_NAMES 72  // the fourteen languages in the table's order, separated by ","
#define IDS_SETTINGS_ALERTS     73  // group: balloons and the line diary
#define IDS_SETTINGS_BALLOONS   74
#define IDS_SETTINGS_DIARY      75
#define IDS_SETTINGS_DAYS       76  // label of HistoryDays
#define IDS_SETTINGS_FOLDER     77  // opens the diary's folder
#define IDS_SETTINGS_COLOURS    78  // group: the skinned window's colours
#define IDS_SETTINGS_HUE        79
#define IDS_SETTINGS_SAT        80
#define IDS_SETTINGS_TITLE_HUE  81
#define IDS_SETTINGS_TITLE_SAT  82
#define IDS_SETTINGS_BUTTONS    83  // UseHueAndSat
#define IDS_SETTINGS_LOGO       84  // TransparentBitmap
#define IDS_SETTINGS_TITLE_TEXT 85  // the three colour buttons
#define IDS_SETTINGS_LABEL_TEXT 86
#define IDS_SETTINGS_VALUE_TEXT 87
#define IDS_SETTINGS_OK         88
#define IDS_SETTINGS_CANCEL     89
#define IDS_SETTINGS_APPLY      90
#define IDS_SETTINGS_RANGE      91  // %1 and %2: the range a number must lie in
#define IDS_SETTINGS_CHANGED    92  // the file changed underneath: Yes reload, No write mine into it, Cancel
#define IDS_LAST_STRING         IDS_SETTINGS_CHANGED

// ---- Dialog templates of the language module -----------------------------
#define IDD_CLASSIC             1001
#define IDD_STATUS_PAGE         106
#define IDD_VERSION_PAGE        1002
#define IDD_HISTORY_PAGE        1003
#define IDD_SETTINGS            1004

// Controls of template 1001 (classic dialog)
#define IDC_TABS                1002
#define IDC_LOGO_FRAME          1009
#define IDC_CLOSE               1014

// Controls of template 106 (status page)
#define IDC_STATE_TEXT          1001
#define IDC_MODE_TEXT           1002
#define IDC_UPSTREAM_TEXT       1006  // rate of command 0x0107
#define IDC_DOWNSTREAM_TEXT     1007  // rate of command 0x0103
#define IDC_METER_PLACE         1008
#define IDC_STATE_ICON_PLACE    1013
#define IDC_CAPTION_STATE       1015  // string 18
#define IDC_CAPTION_MODE        1016  // string 19
#define IDC_CAPTION_CONNECTION  1017  // string 29
#define IDC_CAPTION_LEGEND      1018  // string 26
#define IDC_CAPTION_RATES       1019  // string 24
#define IDC_CAPTION_ACTIVITY    1020  // string 25
#define IDC_CAPTION_DOWNSTREAM  1021  // string 27
#define IDC_CAPTION_UPSTREAM    1022  // string 28

// Controls of template 1002 (version page)
#define IDC_PROGRAM_VERSION     1003
#define IDC_DRIVER_VERSION      1005
#define IDC_CAPTION_DRIVER      1023  // string 22
#define IDC_CAPTION_PROGRAM     1024  // string 23

// Controls of template 1003 (history page)
#define IDC_HISTORY_GRAPH       1030  // owner-drawn: the last 24 hours
#define IDC_CAPTION_UP_DAY      1031  // strings 46..50
#define IDC_CAPTION_UP_WEEK     1032
#define IDC_CAPTION_DROPS       1033
#define IDC_CAPTION_LONGEST     1034
#define IDC_CAPTION_SESSION     1035
#define IDC_UP_DAY_TEXT         1036
#define IDC_UP_WEEK_TEXT        1037
#define IDC_DROPS_TEXT          1038
#define IDC_LONGEST_TEXT        1039
#define IDC_SESSION_TEXT        1040
#define IDC_HISTORY_PERIOD      1041  // strings 52..54
#define IDC_HISTORY_EXPORT      1042  // string 51
#define IDC_HISTORY_ASLEEP_SAMPLE 1043  // owner-drawn: the asleep shade
#define IDC_HISTORY_ASLEEP_TEXT 1044  // string 56

// Controls of template 1004 (the Settings window), in their tab order
#define IDC_SET_WINDOW          1100  // group boxes: strings 58, 65, 71, 76
#define IDC_SET_CLASSIC         1101
#define IDC_SET_SKINNED         1102
#define IDC_SET_TRAY            1103
#define IDC_SET_TRAY_NOTE       1104
#define IDC_SET_AUTOSTART       1105
#define IDC_SET_AUTOSTART_NOTE  1106
#define IDC_SET_LANGUAGE        1110
#define IDC_SET_LANG_WINDOWS    1111  // the three in one group, so that arrows go round them
#define IDC_SET_LANG_INSTALLER  1112
#define IDC_SET_LANG_ONE        1113
#define IDC_SET_LANG_LIST       1114
#define IDC_SET_LANG_NOTE       1115
#define IDC_SET_ALERTS          1120
#define IDC_SET_BALLOONS        1121
#define IDC_SET_DIARY           1122
#define IDC_SET_FOLDER          1123
#define IDC_SET_DAYS_LABEL      1124
#define IDC_SET_DAYS            1125  // each number's edit, then its up-down control
#define IDC_SET_DAYS_SPIN       1126
#define IDC_SET_COLOURS         1130
#define IDC_SET_HUE_LABEL       1131
#define IDC_SET_HUE             1132
#define IDC_SET_HUE_SPIN        1133
#define IDC_SET_SAT_LABEL       1134
#define IDC_SET_SAT             1135
#define IDC_SET_SAT_SPIN        1136
#define IDC_SET_TITLE_HUE_LABEL 1137
#define IDC_SET_TITLE_HUE       1138
#define IDC_SET_TITLE_HUE_SPIN  1139
#define IDC_SET_TITLE_SAT_LABEL 1140
#define IDC_SET_TITLE_SAT       1141
#define IDC_SET_TITLE_SAT_SPIN  1142
#define IDC_SET_BUTTONS         1143
#define IDC_SET_LOGO            1144
#define IDC_SET_TITLE_TEXT      1145  // each colour's button, then its sample showing "r,g,b"
#define IDC_SET_TITLE_SAMPLE    1146
#define IDC_SET_LABEL_TEXT      1147
#define IDC_SET_LABEL_SAMPLE    1148
#define IDC_SET_VALUE_TEXT      1149
#define IDC_SET_VALUE_SAMPLE    1150
#define IDC_SET_APPLY           1160  // besides IDOK and IDCANCEL

// ---- Program file resources ----------------------------------------------
#define IDI_PROGRAM             1001  // window icon
#define IDI_PAGE_IDLE           1003  // status page: line not up, blink off
#define IDI_PAGE_IDLE_BLINK     1004
#define IDI_PAGE_UP             1005
#define IDI_PAGE_UP_BLINK       1006
#define IDI_PAGE_UNREADABLE     1007
#define IDI_PAGE_UNREADABLE_BLINK 1008
#define IDI_TRAY_UP_QUIET       1009  // tray: line up, no traffic
#define IDI_TRAY_UP_BOTH        1010  // traffic both ways
#define IDI_TRAY_UP_DOWN        1011  // only counter 0x0381 (downstream) moved
#define IDI_TRAY_UP_UP          1012  // only counter 0x0301 (upstream) moved
#define IDI_TRAY_UNREADABLE     1013
#define IDI_TRAY_TRAINING       1014  // line state 1, alternating with 1015
#define IDI_TRAY_DOWN           1015  // any other state
#define IDB_SKIN_BACKGROUND     1016
#define IDB_SKIN_BUTTONS        1017
#define IDB_SKIN_LIGHTS         1018
#define IDB_SKIN_TITLEBAR       1019
#define IDR_BANNER              1020  // the classic dialog's banner: a whole .bmp file image
// The same pictures drawn for 200 % display scale, twice as large each way.
#define IDB_SKIN_BACKGROUND_200 2016
#define IDB_SKIN_BUTTONS_200    2017
#define IDB_SKIN_LIGHTS_200     2018
#define IDB_SKIN_TITLEBAR_200   2019
#define IDR_BANNER_200          2020
