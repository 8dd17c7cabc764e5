// Bitmap operations: the shared work buffer, rotation and scaling of 16-bit bitmaps.
#pragma once
#include <cstdint>

#include "mdnsrv.h"

namespace bitmap {

// The load step, at attach: builds the ease table and picks the pixel loops the processor
// can run (SSE2 or plain, the same pixels either way). Runs no SSE2 instruction itself.
void Load();

// Slots 24 to 27, 29 and 30.
void* MDN_STDCALL AcquireWorkBuffer(uint32_t size, uint32_t alignment);
void MDN_STDCALL ReleaseWorkBuffer(void* buffer);
void MDN_STDCALL RotateBitmap(const MdnSurface* source, const MdnSurface* destination,
                              float degrees);
void MDN_STDCALL CopyBitmap(const MdnSurface* source, const MdnSurface* destination);
void MDN_STDCALL StretchBitmap(const MdnSurface* source, const MdnSurface* destination,
                               uint32_t filter);
void MDN_STDCALL RotateBitmapMasked(const MdnSurface* source, const MdnSurface* destination,
                                    float degrees);

// Gauges holding the work buffer now (0 when none is held).
int32_t WorkBufferUsers();

}  // namespace bitmap
