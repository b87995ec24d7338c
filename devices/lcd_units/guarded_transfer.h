// Guarded configuration transfer of the LCD dialogs: the menu-status query, the configuration-mode
// bracket around the read and write engines, and the communication-failure path.
#ifndef ZENTIL_DEVICES_LCD_UNITS_GUARDED_TRANSFER_H
#define ZENTIL_DEVICES_LCD_UNITS_GUARDED_TRANSFER_H

#include <windows.h>

// A dialog's own step inside a transfer (field checks, copying registers to or from its values).
typedef void (*DialogStep)(HWND dialog);

// 1 when the status reply came, with its big-endian status word in *status.
int QueryMenuStatus(WORD* status);
// 1 when the configuration-mode command (CMD_CONFIG_BEGIN or CMD_CONFIG_END) was taken.
int SendConfigCommand(BYTE command);
void ReportCommunicationFailure(HWND dialog);

// Read and Write of an LCD dialog: `showRegisters` copies the image into the dialog after the
// bracket closed; `checkFields` runs before anything is asked, `takeRegisters` fills the image
// once the device is in its configuration mode.
void RunGuardedRead(HWND dialog, DialogStep showRegisters);
void RunGuardedWrite(HWND dialog, DialogStep checkFields, DialogStep takeRegisters);

#endif
