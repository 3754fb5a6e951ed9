#pragma once
// The system's common dialogs: open a picture, choose a colour, choose a folder.
#include <windows.h>

#include <array>
#include <string>

#include "toolkit/common_dialogs.h"

namespace kembo {

class OpenPictureDialog {
public:
    std::string title;
    std::string defaultExt;  // "*.bmp" or "bmp"
    std::string filter;      // "description|pattern|..."
    int filterIndex = 1;     // the pair shown first, counted from 1
    bool hideReadOnly = false;
    bool pathMustExist = false;
    bool fileMustExist = false;
    std::string fileName;  // the name the dialog starts with, and the one chosen

    // True when the user chose a file. The process's current folder is the same afterwards.
    bool Execute(HWND owner);
};

// Starts with the colour last chosen in it (black the first time) and keeps its custom colours
// for as long as it lives.
class ColorDialog {
public:
    ColorDialog();
    COLORREF color = 0;
    bool Execute(HWND owner);

private:
    std::array<COLORREF, 16> custom_;
};

// The shell's folder choice, starting at folder (when it names one); no new folders are made
// from it. True with folder replaced when the user chose one.
bool SelectFolder(HWND owner, std::string& folder);

}  // namespace kembo
