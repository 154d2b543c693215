// Resource numbers, shared by the resource script and the code that loads them.
#pragma once

#define IDD_INTERSTITIAL 104
#define IDC_HAND_CURSOR 108
#define IDB_BACKGROUND_24 115
#define IDB_EXIT_OVERLAY_24 118
#define IDB_BACKGROUND_8 123
#define IDB_EXIT_OVERLAY_8 124

#define IDS_INFO_URL_BASE 1
#define IDS_GAMES_TEXT_FIRST 2 /* lines 1 to 9 are strings 2 to 10 */
#define IDS_GAMES_TEXT_LAST 10
#define IDS_GAME_NAME_TOGGLE 11
#define IDS_PROFILE_ERROR_CAPTION 12
#define IDS_PROFILE_ERROR_TEXT 13
