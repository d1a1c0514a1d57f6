// The file dialogs, the input dialog, and the message, global-memory, file
// and last-error wrappers.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "framework/file_dialog.h"
#include "framework/input_dialog.h"
#include "mantle/mantle.h"
#include "mantle/zwindow_win32.h"

namespace {

// One data set per kind, made on the first call of that kind: its filter
// stays, and its file name carries the last choice into the next call.
std::unique_ptr<TOpenSaveDialog::TData> open_data;
std::unique_ptr<TOpenSaveDialog::TData> save_data;

}  // namespace

extern "C" int WINAPI _ExecFileDialog(HWND owner, int kind, LPSTR pattern) {
  if (kind != MANTLE_FILE_OPEN && kind != MANTLE_FILE_SAVE) return 2;
  const std::string shown =
      pattern != nullptr ? std::string(pattern, strnlen(pattern, MAX_PATH)) : std::string();
  const std::string filter = "User Files(" + shown + ")|" + shown + "|";
  TWindow* ownerObject = TWindow::GetWindowPtr(owner);
  int result = 0;
  if (kind == MANTLE_FILE_OPEN) {
    if (!open_data) open_data = std::make_unique<TOpenSaveDialog::TData>(0x3800, filter.c_str(), nullptr, "");
    TFileOpenDialog dialog(ownerObject, *open_data);
    result = dialog.Execute();
  } else {
    if (!save_data) save_data = std::make_unique<TOpenSaveDialog::TData>(0x0802, filter.c_str(), nullptr, "");
    TFileSaveDialog dialog(ownerObject, *save_data);
    result = dialog.Execute();
  }
  if (result == IDOK && pattern != nullptr) {
    const TOpenSaveDialog::TData& data = kind == MANTLE_FILE_OPEN ? *open_data : *save_data;
    GetFileTitleA(data.FileName, pattern, MAX_PATH);
  }
  return result;
}

extern "C" int WINAPI _ExecInputDialog(HWND owner, LPCSTR title, LPCSTR prompt, LPSTR buffer, UINT size) {
  TWindow* ownerObject = TWindow::GetWindowPtr(owner);
  if (owner == nullptr || ownerObject == nullptr) return IDCANCEL;
  TInputDialog dialog(ownerObject, title, prompt, buffer, mantle::Low16(size));
  return dialog.Execute();
}

extern "C" int WINAPI _PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return PostMessageA(window, message, wParam, lParam);
}

extern "C" LRESULT WINAPI _SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageA(window, message, wParam, lParam);
}

extern "C" HGLOBAL WINAPI _GlobalAlloc(UINT flags, UINT size) {
  return GlobalAlloc(flags, size);
}

extern "C" HGLOBAL WINAPI _GlobalFree(HGLOBAL memory) {
  return GlobalFree(memory);
}

extern "C" void* WINAPI _GlobalLock(HGLOBAL memory) {
  return GlobalLock(memory);
}

extern "C" int WINAPI _GlobalUnlock(HGLOBAL memory) {
  return GlobalUnlock(memory);
}

extern "C" DWORD WINAPI _GlobalSize(HGLOBAL memory) {
  return static_cast<DWORD>(GlobalSize(memory));
}

extern "C" HANDLE WINAPI _CreateFile(LPCSTR name, DWORD access, DWORD shareMode, DWORD creation,
                                     DWORD flagsAndAttributes) {
  return CreateFileA(name, access, shareMode, nullptr, creation, flagsAndAttributes, nullptr);
}

extern "C" int WINAPI _CloseFile(HANDLE file) {
  return CloseHandle(file);
}

extern "C" int WINAPI _ReadFile(HANDLE file, void* buffer, DWORD count, DWORD* bytesRead) {
  return ReadFile(file, buffer, count, bytesRead, nullptr);
}

extern "C" int WINAPI _WriteFile(HANDLE file, const void* buffer, DWORD count, DWORD* bytesWritten) {
  return WriteFile(file, buffer, count, bytesWritten, nullptr);
}

extern "C" DWORD WINAPI _SetFilePointer(HANDLE file, LONG distance, DWORD method) {
  return SetFilePointer(file, distance, nullptr, method);
}

extern "C" DWORD WINAPI _GetFileSize(HANDLE file, DWORD* high) {
  return GetFileSize(file, high);
}

extern "C" DWORD WINAPI _GetLastError(void) {
  return GetLastError();
}
