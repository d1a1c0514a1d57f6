// TResId: a resource named by text or by number (MAKEINTRESOURCE), kept as
// an owned copy so that the caller's string need not outlive it.
#pragma once
#include <windows.h>

#include <string>

class TResId {
 public:
  TResId() = default;
  TResId(LPCSTR id) {  // NOLINT: converts like the platform's LPCSTR
    if (IS_INTRESOURCE(id))
      Number = id;
    else if (id)
      Name = id;
  }
  TResId(int id) : Number(MAKEINTRESOURCEA(id)) {}  // NOLINT
  LPCSTR Get() const { return Number ? Number : (Name.empty() ? nullptr : Name.c_str()); }
  bool IsSet() const { return Get() != nullptr; }

 private:
  std::string Name;
  LPCSTR Number = nullptr;
};
