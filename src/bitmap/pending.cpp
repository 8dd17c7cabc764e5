// Bitmap operations not yet built: each does nothing.
#include "bitmap/bitmap.h"

namespace bitmap {

void BuildEaseTable() {}
void* MDN_STDCALL AcquireWorkBuffer(uint32_t, uint32_t) { return nullptr; }
void MDN_STDCALL ReleaseWorkBuffer(void*) {}
void MDN_STDCALL RotateBitmap(const MdnSurface*, const MdnSurface*, float) {}
void MDN_STDCALL CopyBitmap(const MdnSurface*, const MdnSurface*) {}
void MDN_STDCALL StretchBitmap(const MdnSurface*, const MdnSurface*, uint32_t) {}
void MDN_STDCALL RotateBitmapMasked(const MdnSurface*, const MdnSurface*, float) {}

}  // namespace bitmap
