/* The two records that cross mantle's exported interface, laid out exactly as
 * clients in any language see them: little-endian 32-bit fields, no padding.
 * Plain C and free of <windows.h>, so the library's own platform-free code
 * shares the very same definitions. */
#ifndef MANTLE_MANTLE_RECORDS_H
#define MANTLE_MANTLE_RECORDS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* One window event, as _RetrieveMessage and _PeekMessage hand it back.
 * hwnd holds the window handle's 32 bits; on 64-bit Windows widen it with
 * sign extension, as the platform does for window handles. */
typedef struct QueuedMessage {
  uint32_t hwnd;    /* the library window that received the event */
  uint32_t message; /* platform message number, e.g. 0x0111 for a command */
  uint32_t wParam;  /* the message's parameters, unchanged */
  int32_t lParam;
  int32_t id; /* 0 while queued; the window's id once retrieved */
} QueuedMessage;

/* One pixel of a _SetPixels batch. */
typedef struct tagBPixel {
  int32_t x;      /* bitmap column */
  int32_t y;      /* bitmap row */
  uint32_t color; /* 0x00BBGGRR */
} tagBPixel;

#ifdef __cplusplus
}
static_assert(sizeof(QueuedMessage) == 20, "QueuedMessage is 20 bytes");
static_assert(sizeof(tagBPixel) == 12, "tagBPixel is 12 bytes");
#else
_Static_assert(sizeof(QueuedMessage) == 20, "QueuedMessage is 20 bytes");
_Static_assert(sizeof(tagBPixel) == 12, "tagBPixel is 12 bytes");
#endif

#endif /* MANTLE_MANTLE_RECORDS_H */
