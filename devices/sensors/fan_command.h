// The fan command of the units with a fan (TNTDG, TNTRG).
#ifndef ZENTIL_DEVICES_SENSORS_FAN_COMMAND_H
#define ZENTIL_DEVICES_SENSORS_FAN_COMMAND_H

#include <windows.h>

void SendFanCommand(HWND dialog);

#endif
