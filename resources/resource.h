// Resource ids of both editions: one name per number, grouped by dialog or use.
#ifndef ZENTIL_RESOURCE_H
#define ZENTIL_RESOURCE_H

// ---- Program icon and menus (the menu id differs by edition)
#define IDI_APP                         101
#define IDR_MENU_CZ                     102
#define IDR_MENU_EN                     340

// ---- Menu commands (the same in both editions)
#define IDM_EXIT                        40002
#define IDM_ABOUT                       40004
#define IDM_MANUAL_CALIBRATION          40015
#define IDM_SUPPORTED_DEVICES           40023
#define IDM_SUPPORTED_FUNCTIONS         40026
#define IDM_HID_ID_DEVICE               40028
#define IDM_HID_ID_CALIBRATOR           40029
#define IDM_AUTO_CALIBRATION            40031
#define IDM_BOOTLOADER                  40032

// ---- Texts: main window and connection
#define IDS_MAIN_TITLE                  1000
#define IDS_LABEL_HID_ID                1001
#define IDS_LABEL_DEVICE                1002
#define IDS_LABEL_FW_VERSION            1003
#define IDS_BUTTON_START                1004
#define IDS_BUTTON_STOP                 1005
#define IDS_BUTTON_CONFIG               1006
#define IDS_BUTTON_DATA                 1007
#define IDS_BUTTON_READ                 1008
#define IDS_BUTTON_WRITE                1009
#define IDS_CAPTION_HID_DEVICE_INFO     1010
#define IDS_CAPTION_DEVICE_INFO_FW      1011
#define IDS_NO_HID_DEVICE               1012
#define IDS_MY_HID_DEVICE_NOT_DETECTED  1013
#define IDS_STRINGS_READ_ERROR          1014
#define IDS_FIRMWARE_OLD                1015
#define IDS_FUNCTION_NOT_AVAILABLE      1016
#define IDS_CAPTION_TOOLS               1017
#define IDS_SUPPORTED_DEVICES           1018
#define IDS_CAPTION_DEVICES             1019
#define IDS_SUPPORTED_FUNCTIONS         1020
#define IDS_CAPTION_FUNCTIONS           1021
#define IDS_ABOUT                       1022
#define IDS_CAPTION_ABOUT               1023

// ---- Texts: engines, edit-field checks, settings files, picker and USB id dialogs
// (1100-1199)

// ---- Texts: model dialogs of the sensors and transmitters (1200-1399)

// ---- Texts: live values and calibration device (1400-1499)

// ---- Texts: bootloader (1500-1599)

#endif
