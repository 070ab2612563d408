// Identifiers shared by the resource script and the code. Plain #defines, as the resource
// compiler reads this file too.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_SWITCH_WIZARD 102

#define IDS_WELCOME_TITLE 104
#define IDS_WELCOME_BODY 105
#define IDS_UPDATING 106
#define IDS_UPDATE_SUCCESSFUL 107
#define IDS_CLICK_FINISH 108
#define IDS_CARD_NOT_FOUND 109
#define IDS_OPEN_PORT_FAILED 110
#define IDS_CARD_NOT_RESPONDING 111
#define IDS_WIZARD_PURPOSE 113
#define IDS_UNKNOWN_ERROR 114
#define IDS_UPDATE_FAILED 115
#define IDS_CONFIG_MISSING 116
#define IDS_CARD_TYPE_NOT_CONFIGURED 117
#define IDS_CONFIG_MISTAKE 118
#define IDS_CONFIG_WITHOUT_AT_COMMAND 119

#define IDI_APPLICATION_ICON 128
#define IDB_WIZARD_PICTURE 129

#define IDC_BODY_TEXT 1000
#define IDC_NEXT_BUTTON 1001
#define IDC_CANCEL_BUTTON 1002
#define IDC_PICTURE 1003
#define IDC_TITLE_TEXT 1004
#define IDC_FOOTER_TEXT 1005
#define IDC_FIRST_CHOICE 1006
#define IDC_SECOND_CHOICE 1007

#define IDC_ABOUT_ICON 1010
#define IDC_ABOUT_VERSION 1011
#define IDC_ABOUT_COPYRIGHT 1012

// The system-menu command that opens the About box; the low four bits are the system's own.
#define IDM_ABOUTBOX 0x0010
