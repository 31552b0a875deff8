#pragma once

#define IDI_TOLVANE 1
#define IDR_TRAYMENU 100

/* Tray menu items: IDM_FIRST + the item's index in the menu. */
#define IDM_FIRST 200
#define IDM_AUTOSTART 200
#define IDM_ABOUT 201
#define IDM_SETTINGS 202
#define IDM_EXIT 203
#define IDM_EXPLORER 205
