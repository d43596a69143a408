// Graphics objects in component text: a font's and a bitmap's sub-object entries and an image list's images
// written and read back through the class library's writer and reader.
#include "platform/classes/Errors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TImageList.h"
#include "platform/classes/TReader.h"
#include "platform/classes/TWriter.h"

#include "support/GraphicsTestKit.h"

#include <gtest/gtest.h>

using namespace korvex::classes;
using namespace korvex::classes::test;

namespace {

// A component with a glyph and a font, as skinned buttons and labels have them.
class TGlyphHolder : public TComponent {
public:
    explicit TGlyphHolder(TComponent* owner)
        : TComponent(owner) { }
    static TClass StaticClass() {
        static const TClassInfo info
            = MakeClass<TGlyphHolder, TComponent>("TGlyphHolder", [](TPropertyBuilder<TGlyphHolder>& p) {
                  p.Object("Glyph", &TGlyphHolder::Glyph);
                  p.Object("Font", &TGlyphHolder::Font);
              });
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }

    TBitmap* Glyph() const { return FGlyph.get(); }
    TFont* Font() const { return FFont.get(); }

private:
    std::unique_ptr<TBitmap> FGlyph = std::make_unique<TBitmap>();
    std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
};

class GraphicsStreaming : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterClasses({TGlyphHolder::StaticClass(), TImageList::StaticClass()}); }
};

}

TEST_F(GraphicsStreaming, FontAttributesAndABitmapTravelAsSubObjectEntries) {
    TGlyphHolder root(nullptr);
    root.SetName("Holder");
    auto glyph = MakeBitmap(3, 2, clRed);
    SetPixelOf(*glyph, 2, 1, clBlue);
    root.Glyph()->Assign(glyph.get());
    root.Font()->SetSize(12);
    root.Font()->SetStyle({fsBold, fsItalic});
    root.Font()->SetColor(clBtnShadow);

    const std::string text = WriteComponent(&root);
    EXPECT_NE(text.find("Glyph.Data = {"), std::string::npos) << text;
    EXPECT_NE(text.find("Font.Style = [fsBold, fsItalic]"), std::string::npos) << text;
    EXPECT_NE(text.find("Font.Color = clBtnShadow"), std::string::npos) << text;
    EXPECT_EQ(text.find("Font.Size"), std::string::npos) << text;

    TGlyphHolder back(nullptr);
    ReadRootComponent(&back, text);
    EXPECT_EQ(back.Glyph()->Width(), 3);
    EXPECT_EQ(PixelOf(*back.Glyph(), 2, 1), clBlue);
    EXPECT_EQ(PixelOf(*back.Glyph(), 0, 0), clRed);
    EXPECT_EQ(back.Font()->Size(), 12);
    EXPECT_EQ(back.Font()->Style(), (TFontStyles {fsBold, fsItalic}));
    EXPECT_EQ(back.Font()->Color(), clBtnShadow);
}

TEST_F(GraphicsStreaming, AnEmptyBitmapWritesNoData) {
    TGlyphHolder root(nullptr);
    EXPECT_EQ(WriteComponent(&root).find("Glyph.Data"), std::string::npos);
}

TEST_F(GraphicsStreaming, AnImageListKeepsItsImagesInForms) {
    TGlyphHolder root(nullptr);
    auto* list = new TImageList(&root);
    list->SetName("Images");
    list->SetSize(2, 2);
    list->SetBkColor(clYellow);
    auto strip = MakeBitmap(4, 2, clRed);
    SetPixelOf(*strip, 0, 0, clFuchsia);
    list->AddMasked(strip.get(), clFuchsia);

    TGlyphHolder back(nullptr);
    ReadRootComponent(&back, WriteComponent(&root));
    auto* images = dynamic_cast<TImageList*>(back.FindComponent("Images"));
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(images->Count(), 2);
    EXPECT_EQ(images->Width(), 2);
    EXPECT_EQ(images->BkColor(), clYellow);
    images->SetBkColor(clNone);
    auto target = MakeBitmap(2, 2, clWhite);
    images->Draw(target->Canvas(), 0, 0, 0);
    EXPECT_EQ(PixelOf(*target, 0, 0), clWhite);
    EXPECT_EQ(PixelOf(*target, 1, 1), clRed);
}

TEST_F(GraphicsStreaming, BadBitmapDataIsAReadErrorAndNotACrash) {
    const std::string text = "object Holder: TGlyphHolder\n  Glyph.Data = {424D0000}\nend\n";
    TGlyphHolder back(nullptr);
    EXPECT_THROW(ReadRootComponent(&back, text), EReadError);
    EXPECT_TRUE(back.Glyph()->Empty());
}
