#pragma once
// The program's four kinds of message box, each with its own sound, and two shell routines.
#include <string>

#include "core/sounds.h"

namespace kembo {

// The system's sounds (MessageBeep).
SoundPort& SystemSounds();

void ShowWarning(const std::string& text);           // exclamation sound, caption "Warning"
void ShowError(const std::string& text);             // default sound, caption "Error"
void ShowInformation(const std::string& text);       // no sound, caption "Information"
void ShowInformationBeep(const std::string& text);   // asterisk sound, then ShowInformation

// Opens a document with the shell's default verb; failures are not reported.
void OpenDocument(const std::string& path, const std::string& parameters);
// The file-system path of a shell folder (a CSIDL value), "" when it has none.
std::string GetSpecialFolder(int csidl);

}  // namespace kembo
