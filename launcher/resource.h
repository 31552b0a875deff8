#pragma once

#define IDI_TOLVANE 1

/* Tray menu commands */
#define IDM_AUTOSTART 200
#define IDM_ABOUT 201
#define IDM_SETTINGS 202
#define IDM_EXIT 203
#define IDM_EXPLORER 205
/* One item a favourite, from here up (as many as the list holds) */
#define IDM_FIRST_FAVOURITE 300
