/* mantle.dll: windows, dialogs, controls, drawing and resource files for client
 * code without a window framework of its own. Every function is exported under
 * the plain name shown and uses the WINAPI convention (the callee pops its
 * arguments). Load the library by name and resolve the entries with
 * GetProcAddress, or link against an import library.
 *
 * Conventions clients rely on:
 *  - arguments marked "16-bit" are 32-bit words of which only the low 16 bits
 *    are used, zero-extended: a width of 70000 arrives as 4464;
 *  - results are 32-bit; failures are reported by results only (0, -1, ...);
 *  - a name argument that is "string or 16-bit id" takes either a string or
 *    MAKEINTRESOURCEA(id); named resources are matched exactly, and resource
 *    compilers store names in upper case;
 *  - the library has no thread of its own: pump your thread's platform
 *    messages, and between them drain the event queue with _RetrieveMessage.
 */
#ifndef MANTLE_MANTLE_H
#define MANTLE_MANTLE_H

#include <windows.h>

#include "mantle/mantle_records.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Library frame and event queue. */
void WINAPI _EnableMantle(int enable);
int WINAPI _RetrieveMessage(QueuedMessage* record);
/* window: a handle, or (HWND)0xFFFF for any window; first..last: message
 * range, 0..0 for any message. Looks at the head record only. */
int WINAPI _PeekMessage(QueuedMessage* record, HWND window, UINT first, UINT last, int remove);
/* The class library's window and dialog procedures (InitWndProc, StdDlgProc)
 * are exported too, for the platform's sake; clients never call them. */

/* Windows. x, y, width, height: 16-bit. */
HWND WINAPI _CreateWindow(DWORD style, HWND parent, LPCSTR title, int id, UINT x, UINT y, UINT width,
                          UINT height);
int WINAPI _ShowWindow(HWND window, int command);
int WINAPI _MoveWindow(HWND window, int x, int y, int width, int height, int repaint);
int WINAPI _CloseWindow(HWND window);
int WINAPI _DeleteWindow(HWND window);
int WINAPI _AssignMenu(HWND window, HMENU menu);
int WINAPI _AssignIcon(HWND window, HICON icon);
int WINAPI _AssignCursor(HWND window, HCURSOR cursor);
int WINAPI _SetWindowText(HWND window, LPCSTR text);
int WINAPI _GetWindowText(HWND window, LPSTR buffer /* at least 128 bytes */);
int WINAPI _SetWindowWord(HWND window, int index, UINT value /* 16-bit */);
int WINAPI _GetWindowWord(HWND window, int index);
LONG WINAPI _SetWindowLong(HWND window, int index, LONG value);
LONG WINAPI _GetWindowLong(HWND window, int index);
HWND WINAPI _SetFocus(HWND window);
HWND WINAPI _GetFocus(void);
HWND WINAPI _SetCapture(HWND window);
int WINAPI _ReleaseCapture(void);
int WINAPI _EnableWindow(HWND window, int enable);
HWND WINAPI _ChildWithId(HWND window, int id);
int WINAPI _GetWindowScrollerPos(HWND window, POINT* position);
HWND WINAPI _FindWindow(LPCSTR title);
int WINAPI _GetCursorPos(POINT* point);
int WINAPI _SetCursorPos(int x, int y);
int WINAPI _MessageBox(LPCSTR text, LPCSTR caption, UINT type);
int WINAPI _MessageBeep(UINT type);
HICON WINAPI _LoadIcon(UINT id /* 16-bit */);
HCURSOR WINAPI _LoadCursor(UINT id /* 16-bit */);
HCURSOR WINAPI _SetCursor(HCURSOR cursor);
int WINAPI _GetSystemMetrics(int index);

/* Dialogs and controls. Coordinates, sizes and text limits: 16-bit. */
HWND WINAPI _CreateDialogIndirect(LPCSTR resourceFile, LPCSTR dialogName, HWND parent, int id,
                                  int disableParent);
HWND WINAPI _CreateListBox(HWND parent, int id, UINT x, UINT y, UINT width, UINT height);
HWND WINAPI _CreateComboBox(HWND parent, int id, UINT x, UINT y, UINT width, UINT height, DWORD style,
                            UINT textLimit);
HWND WINAPI _CreateGroupBox(HWND parent, int id, LPCSTR text, UINT x, UINT y, UINT width, UINT height);
HWND WINAPI _CreateStatic(HWND parent, int id, LPCSTR text, UINT x, UINT y, UINT width, UINT height,
                          UINT textLimit);
HWND WINAPI _CreateButton(HWND parent, int id, LPCSTR text, UINT x, UINT y, UINT width, UINT height,
                          int isDefault);
HWND WINAPI _CreateEdit(HWND parent, int id, LPCSTR text, UINT x, UINT y, UINT width, UINT height,
                        UINT textLimit, int multiline);
HWND WINAPI _CreateCheckBox(HWND parent, int id, LPCSTR text, UINT x, UINT y, UINT width, UINT height,
                            HWND groupBox);
HWND WINAPI _CreateRadioButton(HWND parent, int id, LPCSTR text, UINT x, UINT y, UINT width, UINT height,
                               HWND groupBox);
int WINAPI _GetId(HWND control);
int WINAPI _GetStaticText(HWND control, LPSTR buffer, UINT count /* 16-bit */);
int WINAPI _SetStaticText(HWND control, LPCSTR text);
int WINAPI _GetCheck(HWND control);
void WINAPI _SetCheck(HWND control, int state);
int WINAPI _GetRadio(HWND control);
void WINAPI _SetRadio(HWND control, int state);
int WINAPI _AddString(HWND control, LPCSTR text);
int WINAPI _InsertString(HWND control, LPCSTR text, int index);
int WINAPI _DeleteString(HWND control, int index);
void WINAPI _ClearList(HWND control);
int WINAPI _GetCount(HWND control);
int WINAPI _GetString(HWND control, LPSTR buffer, int index);
int WINAPI _GetStringLen(HWND control, int index);
int WINAPI _GetSelIndex(HWND control);
int WINAPI _GetSelString(HWND control, LPSTR buffer, int count);
int WINAPI _SetSelIndex(HWND control, int index);
int WINAPI _SetSelString(HWND control, LPCSTR text, int startIndex);
void WINAPI _ShowList(HWND control);
void WINAPI _HideList(HWND control);
int WINAPI _GetEditText(HWND control, LPSTR buffer /* at least 512 bytes */);
int WINAPI _GetEditInt(HWND control, int* translated, int isSigned);
void WINAPI _SetEditText(HWND control, LPCSTR text);
void WINAPI _SetEditInt(HWND control, int value, int isSigned);

/* Graphics windows and drawing. x, y, sizes and bitmap sizes: 16-bit. */
HWND WINAPI _CreateGraphWindow(LPCSTR title, int id, DWORD style, UINT x, UINT y, UINT width, UINT height,
                               UINT bitmapWidth, UINT bitmapHeight, HWND parent);
HDC WINAPI _GetDC(HWND window);
int WINAPI _ReleaseDC(HWND window, HDC dc);
int WINAPI _MoveTo(HDC dc, int x, int y);
int WINAPI _LineTo(HDC dc, int x, int y);
int WINAPI _Rectangle(HDC dc, int left, int top, int right, int bottom);
int WINAPI _Ellipse(HDC dc, int left, int top, int right, int bottom);
int WINAPI _TextOut(HDC dc, int x, int y, LPCSTR text, int length);
COLORREF WINAPI _SetPixel(HDC dc, int x, int y, COLORREF colour);
HGDIOBJ WINAPI _SelectObject(HDC dc, HGDIOBJ object);
COLORREF WINAPI _GetPixel(HDC dc, int x, int y);
int WINAPI _GetCurrentPosition(HDC dc, POINT* point);
int WINAPI _DeleteDC(HDC dc);
int WINAPI _GetDeviceCaps(HDC dc, int index);
HPEN WINAPI _CreatePen(int style, int width, COLORREF colour);
HGDIOBJ WINAPI _GetStockObject(int index);
int WINAPI _DeleteObject(HGDIOBJ object);

/* Common dialogs, files, memory and message wrappers. */
#define MANTLE_FILE_OPEN 32512
#define MANTLE_FILE_SAVE 32513
int WINAPI _ExecFileDialog(HWND owner, int kind, LPSTR pattern /* at least 260 bytes */);
int WINAPI _ExecInputDialog(HWND owner, LPCSTR title, LPCSTR prompt, LPSTR buffer, UINT size /* 16-bit */);
int WINAPI _PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI _SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HGLOBAL WINAPI _GlobalAlloc(UINT flags, UINT size);
HGLOBAL WINAPI _GlobalFree(HGLOBAL memory);
void* WINAPI _GlobalLock(HGLOBAL memory);
int WINAPI _GlobalUnlock(HGLOBAL memory);
DWORD WINAPI _GlobalSize(HGLOBAL memory);
HANDLE WINAPI _CreateFile(LPCSTR name, DWORD access, DWORD shareMode, DWORD creation,
                          DWORD flagsAndAttributes);
int WINAPI _CloseFile(HANDLE file);
int WINAPI _ReadFile(HANDLE file, void* buffer, DWORD count, DWORD* bytesRead);
int WINAPI _WriteFile(HANDLE file, const void* buffer, DWORD count, DWORD* bytesWritten);
DWORD WINAPI _SetFilePointer(HANDLE file, LONG distance, DWORD method);
DWORD WINAPI _GetFileSize(HANDLE file, DWORD* high);
DWORD WINAPI _GetLastError(void);

/* Menus and icons from a compiled resource file; the caller owns the result. */
HMENU WINAPI _CreateMenuIndirect(LPCSTR resourceFile, LPCSTR menuName);
HICON WINAPI _CreateIconIndirect(LPCSTR resourceFile, LPCSTR iconName);

#ifdef __cplusplus
}

/* The one export with a C++-decorated name, resolved by C clients as
 * MANTLE_SET_PIXELS_EXPORT. Copies the pixels and draws them on a worker. */
void WINAPI _SetPixels(HDC dc, unsigned short count, tagBPixel* pixels);
#endif
#define MANTLE_SET_PIXELS_EXPORT "_Z10_SetPixelsP5HDC__tP9tagBPixel"

#endif /* MANTLE_MANTLE_H */
