#pragma once
// Libraries a start need not load, loaded at their first use and kept for the process's life:
// the common controls and the common dialogs (under Wine they cost a start about a tenth of a
// second), the version resources (the version box) and the system's random numbers (the
// plug-in helper's pipe). The calls the program makes of them, by their own names; each fails as
// its library's own would when the library cannot be loaded.
#include <windows.h>
#include <bcrypt.h>
#include <commctrl.h>
#include <commdlg.h>

namespace kembo::lazy {

// Loads the common controls and registers their window classes: before any control is made.
void StartCommonControls();

BOOL SetWindowSubclass(HWND window, SUBCLASSPROC hook, UINT_PTR id, DWORD_PTR data);
BOOL RemoveWindowSubclass(HWND window, SUBCLASSPROC hook, UINT_PTR id);
LRESULT DefSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int grow);
int ImageList_AddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF mask);
BOOL ImageList_Destroy(HIMAGELIST list);
int ImageList_GetImageCount(HIMAGELIST list);

BOOL GetOpenFileNameW(OPENFILENAMEW* request);
BOOL ChooseColorW(CHOOSECOLORW* request);

DWORD GetFileVersionInfoSizeW(const wchar_t* file, DWORD* handle);
BOOL GetFileVersionInfoW(const wchar_t* file, DWORD handle, DWORD size, void* data);
BOOL VerQueryValueW(const void* block, const wchar_t* subBlock, void** value, UINT* length);

NTSTATUS BCryptGenRandom(BCRYPT_ALG_HANDLE algorithm, UCHAR* buffer, ULONG size, ULONG flags);

}  // namespace kembo::lazy
