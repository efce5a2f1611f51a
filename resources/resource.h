/* Ids shared by the resource scripts and the code. */
#ifndef KELVRA_RESOURCE_H
#define KELVRA_RESOURCE_H

#define IDI_LAUNCHER 102

/* Main window controls and commands. */
#define IDC_ADDRESS_LABEL     1
#define IDC_ADDRESS           2
#define IDC_PORT_LABEL        3
#define IDC_PORT              4
#define IDC_ENGINE_LABEL      5
#define IDC_ENGINE            6
#define IDC_BROWSE            7
#define IDC_PARAMETERS_LABEL  8
#define IDC_PARAMETERS        9
#define IDC_LAUNCH           10
#define IDC_EXIT             11
#define IDC_WHITELIST        24

/* System menu entries of the main window (13 is not used). */
#define IDM_ABOUT            12
#define IDM_LANGUAGE_DEFAULT 14
#define IDM_LANGUAGE_ENGLISH 15
#define IDM_LANGUAGE_GERMAN  16
#define IDM_LANGUAGE_FRENCH  17
#define IDM_LANGUAGE_SWEDISH 18
#define IDM_LANGUAGE_RUSSIAN 19
#define IDM_LANGUAGE_FINNISH 20
#define IDM_LANGUAGE_HUNGARIAN 21
#define IDM_LANGUAGE_DANISH  22
#define IDM_LANGUAGE_DUTCH   23

/* Whitelist window controls and commands (25 is not used). */
#define IDC_WL_LABEL         26
#define IDC_WL_ADDRESS       27
#define IDC_WL_ADD           28
#define IDC_WL_REMOVE        29
#define IDC_WL_LIST          30
#define IDC_WL_OK            31
#define IDC_WL_CANCEL        32
#define IDC_WL_INFORMATION   33

/* Interface strings, 40000 to 40028. */
#define IDS_SERVER_ADDRESS      40000
#define IDS_PORT                40001
#define IDS_ENGINE_LOCATION     40002
#define IDS_BROWSE              40003
#define IDS_PARAMETERS          40004
#define IDS_LAUNCH              40005
#define IDS_EXIT                40006
#define IDS_SELECT_ENGINE       40007
#define IDS_NO_ADDRESS          40008
#define IDS_NO_PORT             40009
#define IDS_NO_ENGINE           40010
#define IDS_ERROR               40011
#define IDS_ABOUT_CAPTION       40012
#define IDS_ABOUT_ITEM          40013
#define IDS_FATAL_ERROR         40014
#define IDS_LAUNCH_FAILED       40015
#define IDS_ABOUT_TEXT          40016
#define IDS_ADD                 40017
#define IDS_REMOVE              40018
#define IDS_WHITELIST_TITLE     40019
#define IDS_WHITELIST_INFO      40020
#define IDS_LANGUAGE            40021
#define IDS_LANGUAGE_DEFAULT    40022
#define IDS_RESTART             40023
#define IDS_INFORMATION         40024
#define IDS_WHITELIST           40025
#define IDS_OK                  40026
#define IDS_CANCEL              40027
#define IDS_INFORMATION_BUTTON  40028

/* Failures told beyond those above (40029 to 40031 stay empty). */
#define IDS_LINE_TOO_LONG       40032
#define IDS_WHITELIST_UNSAVED   40033
#define IDS_ENGINE_UNSAVED      40034
#define IDS_PARAMETERS_UNSAVED  40035
#define IDS_LANGUAGE_UNSAVED    40036
#define IDS_WHITELIST_DAMAGED   40037

#define IDS_FIRST  IDS_SERVER_ADDRESS
#define IDS_LAST   IDS_WHITELIST_DAMAGED

#endif
