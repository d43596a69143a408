// The whole gdi layer in one include: bitmaps, device contexts, objects, drawing, blits, regions and text.
#pragma once

#include "platform/gdi/BitBlt.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/PenBrush.h"
#include "platform/gdi/Recording.h"
#include "platform/gdi/Region.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/Types.h"
