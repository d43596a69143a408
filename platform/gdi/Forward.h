// Forward declarations of gdi's types, so a header can name one without including it.
#pragma once

namespace korvex::gdi {

struct POINT;
struct SIZE;
struct RECT;
struct LOGFONT;
struct LOGPEN;
struct LOGBRUSH;
struct TEXTMETRIC;
struct BLENDFUNCTION;

class GdiObject;
class DeviceContext;
class Bitmap;
class Pen;
class Brush;
class Font;   // defined by the font engine (Fonts.h)
class FontInstance;
class Region;
class BandedRegion;
class DrawRecorder;

}
