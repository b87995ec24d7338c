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

// ---- Progress windows of the read and write engines
#define IDD_WRITE_PROGRESS              108
#define IDD_READ_PROGRESS               109
#define IDC_READ_PROGRESS_TEXT          1035
#define IDC_WRITE_PROGRESS_TEXT         1036

// ---- Off-line model picker (a button's id picks the model; TDO carries the id of IDCANCEL)
#define IDD_OFFLINE                     124
#define IDC_OFFLINE_TDO                 2
#define IDC_OFFLINE_TDG                 3
#define IDC_OFFLINE_DMO                 1259
#define IDC_OFFLINE_TKRG                9
#define IDC_OFFLINE_TKDG                1260
#define IDC_OFFLINE_KDG                 8
#define IDC_OFFLINE_KRG                 7
#define IDC_OFFLINE_TQSRG               10
#define IDC_OFFLINE_TQSRO               15
#define IDC_OFFLINE_TYSO                11
#define IDC_OFFLINE_TYSG                12
#define IDC_OFFLINE_GQU2                5
#define IDC_OFFLINE_DMG1A               13
#define IDC_OFFLINE_RMG1A               14
#define IDC_OFFLINE_KDG1KY              41
#define IDC_OFFLINE_DMG1KY              26
#define IDC_OFFLINE_DMG1T               18
#define IDC_OFFLINE_DMG9A               21
#define IDC_OFFLINE_TODG                22
#define IDC_OFFLINE_T1CGA               40
#define IDC_OFFLINE_LO2                 6
#define IDC_OFFLINE_TNTDG               25
#define IDC_OFFLINE_TNTRG               27
#define IDC_OFFLINE_NRDG                24
#define IDC_OFFLINE_ODG                 23
#define IDC_OFFLINE_G_QKE1              20
#define IDC_OFFLINE_TORG                28
#define IDC_OFFLINE_ORG                 29
#define IDC_OFFLINE_LB_DMG              31
#define IDC_OFFLINE_LB_RMG              32
#define IDC_OFFLINE_LB_KDG              30
#define IDC_OFFLINE_LB_KDG_S            34
#define IDC_OFFLINE_LB_ODG              33
#define IDC_OFFLINE_LB_DMO              35
#define IDC_OFFLINE_LB_KDO              36
#define IDC_OFFLINE_LB_KDO_S            38
#define IDC_OFFLINE_LB_ODO              37
#define IDC_OFFLINE_LB_RMO              39

// ---- USB id dialogs: configured device (103) and calibration device (121)
#define IDD_DEVICE_HID_ID               103
#define IDC_DEVICE_HID_ID_GROUP         4111
#define IDC_DEVICE_HID_ID_VENDOR        1001
#define IDC_DEVICE_HID_ID_PRODUCT       1002
#define IDD_CALIBRATOR_HID_ID           121
#define IDC_CALIBRATOR_HID_ID_GROUP     1218
#define IDC_CALIBRATOR_HID_ID_VENDOR    1219
#define IDC_CALIBRATOR_HID_ID_PRODUCT   1220
#ifndef IDC_STATIC
#define IDC_STATIC                      (-1)
#endif

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
#define IDS_CAPTION_SET_INFO            1100
#define IDS_DATA_READ_POINTER_ERROR     1101
#define IDS_DATA_READ_ERROR             1102
#define IDS_DATA_WRITE_POINTER_ERROR    1103
#define IDS_DATA_WRITE_ERROR            1104
#define IDS_EEPROM_WRITE_ERROR          1105
#define IDS_SERVICE_JUMPER_MISSING      1106
#define IDS_CAPTION_DATA_WRITE_INFO     1107
#define IDS_READ_PROGRESS_0             1108
#define IDS_READ_PROGRESS_8             1109
#define IDS_READ_PROGRESS_16            1110
#define IDS_READ_PROGRESS_24            1111
#define IDS_READ_PROGRESS_32            1112
#define IDS_READ_PROGRESS_40            1113
#define IDS_READ_PROGRESS_48            1114
#define IDS_READ_PROGRESS_56            1115
#define IDS_READ_PROGRESS_64            1116
#define IDS_READ_PROGRESS_72            1117
#define IDS_READ_PROGRESS_80            1118
#define IDS_READ_PROGRESS_88            1119
#define IDS_READ_PROGRESS_99            1120
#define IDS_WRITE_PROGRESS_8            1121
#define IDS_WRITE_PROGRESS_16           1122
#define IDS_WRITE_PROGRESS_24           1123
#define IDS_WRITE_PROGRESS_32           1124
#define IDS_WRITE_PROGRESS_40           1125
#define IDS_WRITE_PROGRESS_48           1126
#define IDS_WRITE_PROGRESS_56           1127
#define IDS_WRITE_PROGRESS_64           1128
#define IDS_WRITE_PROGRESS_72           1129
#define IDS_WRITE_PROGRESS_80           1130
#define IDS_WRITE_PROGRESS_88           1131
#define IDS_WRITE_PROGRESS_97           1132
#define IDS_WRITE_PROGRESS_98           1133
#define IDS_WRITE_PROGRESS_99           1134
#define IDS_VALUE_OUT_OF_RANGE          1135
#define IDS_CAPTION_VALUE_SET           1136
#define IDS_HID_ID_SETTING_DEVICE       1137
#define IDS_HID_ID_SETTING_CALIBRATOR   1138

// ---- Texts: model dialogs of the sensors and transmitters (1200-1399)

// ---- Texts: live values and calibration device (1400-1499)
#define IDS_LIVE_CAPTION_DATA_READ_INFO 1400
#define IDS_LIVE_POINTER_ERROR          1401
#define IDS_LIVE_MEASURE_READ_ERROR     1402
#define IDS_LIVE_ANALOG_READ_ERROR      1403
#define IDS_LIVE_CHANNEL_SELECT_ERROR   1404
#define IDS_LIVE_LABEL_FREQUENCY        1405
#define IDS_LIVE_LABEL_TEMPERATURE      1406
#define IDS_LIVE_LABEL_HUMIDITY         1407
#define IDS_LIVE_LABEL_CO2              1408
#define IDS_LIVE_LABEL_AIR_SPEED        1409
#define IDS_LIVE_LABEL_LIGHT            1410
#define IDS_LIVE_LABEL_RMS_CURRENT      1411
#define IDS_LIVE_LABEL_POTENTIOMETER    1412
#define IDS_LIVE_LABEL_TVOC             1413
#define IDS_LIVE_LABEL_PM10             1414
#define IDS_LIVE_LABEL_PARTICLE_SIZE    1415
#define IDS_LIVE_LABEL_PM25             1416
#define IDS_LIVE_LABEL_PM40             1417
#define IDS_LIVE_LABEL_PM1              1418
#define IDS_CALIBRATOR_ROW_U1           1419
#define IDS_CALIBRATOR_ROW_U2           1420
#define IDS_CALIBRATOR_ROW_I1           1421
#define IDS_CALIBRATOR_ROW_I2           1422

// ---- Texts: bootloader (1500-1599)
#define IDS_BOOT_OPEN_FILE              1500
#define IDS_BOOT_GROUP_PLATFORM         1501
#define IDS_BOOT_GROUP_HW_VERSION       1502
#define IDS_BOOT_GROUP_BOOT_VERSION     1503
#define IDS_BOOT_STATUS_NO_FILE         1504
#define IDS_BOOT_STATUS_INIT            1505
#define IDS_BOOT_STATUS_ACTIVE          1506
#define IDS_BOOT_STATUS_INFO_READ       1507
#define IDS_BOOT_STATUS_INFO_AVAILABLE  1508
#define IDS_BOOT_STATUS_CHECK_DONE      1509
#define IDS_BOOT_STATUS_ERASED          1510
#define IDS_BOOT_STATUS_PAGE            1511
#define IDS_BOOT_STATUS_SUCCESS         1512
#define IDS_BOOT_STATUS_WAIT_RESET      1513
#define IDS_BOOT_STATUS_RESET_DONE      1514
#define IDS_BOOT_STATUS_FILE_READY      1515
#define IDS_BOOT_CAPTION_BOOT_INFO      1516
#define IDS_BOOT_CAPTION_FILE_ERROR     1517
#define IDS_BOOT_CAPTION_FILE_INFO      1518
#define IDS_BOOT_ERROR_AFTER_RESET      1519
#define IDS_BOOT_ERROR_CRC_COMMUNICATION 1520
#define IDS_BOOT_ERROR_CRC              1521
#define IDS_BOOT_ERROR_NOT_RESPONDING   1522
#define IDS_BOOT_ERROR_INFO_READ        1523
#define IDS_BOOT_ERROR_FLASH_SMALLER    1524
#define IDS_BOOT_ERROR_PLATFORM         1525
#define IDS_BOOT_ERROR_HW_VERSION       1526
#define IDS_BOOT_ERROR_FILE_PARAMETERS  1527
#define IDS_BOOT_ERROR_ERASE            1528
#define IDS_BOOT_ERROR_DATA_WRITE       1529
#define IDS_BOOT_ERROR_PAGE_ACK         1530
#define IDS_BOOT_FILE_READ_ERROR        1531
#define IDS_BOOT_FILE_BAD_SUFFIX        1532
#define IDS_BOOT_FILE_NOT_CHOSEN        1533
#define IDS_BOOT_FILE_CONTENT_ERROR     1534
#define IDS_BOOT_FILE_IMAGE_SIZE        1535

// ---- Dialog: bootloader (template 120); the push-button ids are the ones the template carries
#define IDD_BOOTLOADER                  120
#define IDC_BOOT_OPEN_FILE              3
#define IDC_BOOT_FILE_PATH              1007
#define IDC_BOOT_DOWNLOAD               1212
#define IDC_BOOT_HW_INFO                1213
#define IDC_BOOT_GROUP_PLATFORM         1214
#define IDC_BOOT_GROUP_HW_VERSION       1215
#define IDC_BOOT_GROUP_BOOT_VERSION     1216
#define IDC_BOOT_PLATFORM               1217
#define IDC_BOOT_HW_VERSION             1218
#define IDC_BOOT_BOOT_VERSION           1219
#define IDC_BOOT_GROUP_STATUS           1220
#define IDC_BOOT_STATUS                 1221

// ---- Live values window (template 106): a label above each read-only value; the fourth row
// and the four channel buttons form the calibration-device row. Cancel is IDCANCEL.
#define IDD_LIVE_DATA                   106
#define IDC_LIVE_DATA_U1                3
#define IDC_LIVE_DATA_U2                4
#define IDC_LIVE_DATA_I1                5
#define IDC_LIVE_DATA_I2                6
#define IDC_LIVE_DATA_VALUE_1           1007
#define IDC_LIVE_DATA_VALUE_2           1008
#define IDC_LIVE_DATA_VALUE_3           1009
#define IDC_LIVE_DATA_VALUE_4           1010
#define IDC_LIVE_DATA_LABEL_1           1029
#define IDC_LIVE_DATA_LABEL_2           1030
#define IDC_LIVE_DATA_LABEL_3           1031
#define IDC_LIVE_DATA_LABEL_4           1032

#endif
