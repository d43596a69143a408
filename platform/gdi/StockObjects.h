// Stock objects used inside the gdi layer: the default bitmap of memory DCs.
#pragma once

#include "platform/gdi/Bitmap.h"

namespace korvex::gdi {

HBITMAP DefaultBitmap();   // 1x1, 32-bit: what a new memory DC has selected

}
