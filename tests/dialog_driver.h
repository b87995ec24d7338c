// Driving a model dialog from a test: control texts, typing, settings files and the common file
// dialog its Open and Save buttons show.
#ifndef ZENTIL_TESTS_DIALOG_DRIVER_H
#define ZENTIL_TESTS_DIALOG_DRIVER_H

#include <windows.h>

#include <string>

std::string ItemText(HWND dialog, int id);
// Replaces the control's text as typing would (the dialog gets EN_CHANGE).
void TypeInto(HWND dialog, int id, const char* text);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Answers the common file dialog `owner` opens with a path, and waits for it to close.
void ChooseFile(HWND owner, const std::string& path);

#endif
