// Forward declarations of the class library's types, so a header can name one without including it.
#pragma once

namespace korvex::classes {

class TObject;
class TClassInfo;
using TClass = const TClassInfo*;
class TPersistent;
class TComponent;
class TComponentWatch;   // TComponentWatch.h
class TCollection;
class TCollectionItem;
class TStrings;
class TStringList;
class TMemIniFile;
class TStream;
class TMemoryStream;
class TStringStream;
class TFileStream;
class TFiler;
class TReader;
class TWriter;
class TMethodTable;
class TPropInfo;
class TControl;
class TWinControl;
class TCustomForm;

// Graphics and controls
class TCanvas;
class TControlCanvas;
class TFont;
class TBitmap;
class TIcon;
class TCustomImageList;
class TChangeLink;   // TImageList.h

}
