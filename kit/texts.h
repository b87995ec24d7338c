// Edition texts: loading them from the string table, and the one message-box procedure.
#ifndef ZENTIL_KIT_TEXTS_H
#define ZENTIL_KIT_TEXTS_H

#include <windows.h>

const int EDITION_TEXT_MAX_CHARS = 1024;

int LoadEditionText(UINT textId, WCHAR* destination, int maxChars);
int ShowMessage(HWND owner, UINT textId, UINT captionId, UINT flags);
void SetControlText(HWND control, UINT textId);
void SetDialogItemText(HWND dialog, int controlId, UINT textId);

#endif
