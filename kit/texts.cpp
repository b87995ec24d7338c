// Edition texts: loading them from the string table, and the one message-box procedure.
#include "kit/texts.h"

#include "kit/shared_records.h"

// Copies the edition's text into the destination (always terminated); returns its length.
int LoadEditionText(UINT textId, WCHAR* destination, int maxChars)
{
    int length = LoadStringW(g_hInstance, textId, destination, maxChars);
    if (length <= 0) destination[0] = 0;
    return length > 0 ? length : 0;
}

// Shows the edition's text in a wide-character message box owned by `owner`; returns the button.
int ShowMessage(HWND owner, UINT textId, UINT captionId, UINT flags)
{
    WCHAR text[EDITION_TEXT_MAX_CHARS];
    WCHAR caption[EDITION_TEXT_MAX_CHARS];
    LoadEditionText(textId, text, EDITION_TEXT_MAX_CHARS);
    LoadEditionText(captionId, caption, EDITION_TEXT_MAX_CHARS);
    return MessageBoxW(owner, text, caption, flags);
}

void SetControlText(HWND control, UINT textId)
{
    WCHAR text[EDITION_TEXT_MAX_CHARS];
    LoadEditionText(textId, text, EDITION_TEXT_MAX_CHARS);
    SetWindowTextW(control, text);
}

void SetDialogItemText(HWND dialog, int controlId, UINT textId)
{
    SetControlText(GetDlgItem(dialog, controlId), textId);
}
