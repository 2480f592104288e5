// Identifiers shared by the resource script and the dialogs. Russian resources are the Chinese
// identifier plus 1000.
#pragma once

#define IDI_SETUP 128

#define IDD_LANGUAGE 129
#define IDC_RUSSIAN_BUTTON 1012
#define IDC_CHINESE_BUTTON 1013
#define IDB_CHOOSE_CHINESE 142
#define IDB_RUSSIAN 143

#define IDD_PROGRESS 102
#define IDC_FIRST_STEP_LABEL 140
#define IDC_LAST_STEP_LABEL 151

#define IDS_START_CONFIRMATION 102
