// Tests of component text: reading trees with every property kind, events, references, defined entries,
// collections and binary data; writing and reading back; malformed text with the line of the fault.
#include "support/Fixtures.h"

#include "platform/classes/Errors.h"
#include "platform/classes/TMethodTable.h"
#include "platform/classes/TReader.h"
#include "platform/classes/TWriter.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::test;

namespace {

class Streaming : public testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        LoadedLog().clear();
        Form = std::make_unique<TTestForm>(nullptr);
        Methods.Add("Button1Click", Form.get(), &TTestForm::Button1Click)
            .Add("ValueChanged", Form.get(), &TTestForm::ValueChanged)
            .Field("Button1", Form->Button1)
            .Field("Panel1", Form->Panel1);
    }
    void TearDown() override {
        TTestForm* form = Form.release();
        form->Free();
    }

    TTestComponent* Child(const char* name) { return dynamic_cast<TTestComponent*>(Form->FindComponent(name)); }

    std::unique_ptr<TTestForm> Form;
    TMethodTable Methods;
};

const char* const SampleForm = R"(object MainForm: TTestForm
  Width = 640
  Caption = 'Main ''form'''#13#10'Привет'
  Font.Name = 'DejaVu Sans'
  Font.Style = [flBold, flLarge]
  object Panel1: TTestPanel
    Link = Button1
    Color = clHighlight
    object Button1: TTestComponent
      Width = 75
      OnClick = Button1Click
      OnValue = valuechanged
      Shape = shSquare
    end
  end
  object Label1: TTestComponent
    Visible = False
  end
end
)";

}

TEST_F(Streaming, ReadsANestedTreeWithEveryComponentOwnedByTheRoot) {
    ReadRootComponent(Form.get(), SampleForm, &Methods);
    EXPECT_EQ(Form->Name(), "MainForm");
    EXPECT_EQ(Form->Width(), 640);
    EXPECT_EQ(Form->Caption, "Main 'form'\r\nПривет");
    EXPECT_EQ(Form->Font()->Name(), "DejaVu Sans");
    EXPECT_EQ(Form->Font()->Style(), (TFlags {flBold, flLarge}));
    ASSERT_EQ(Form->ComponentCount(), 3);
    TTestComponent* panel = Child("Panel1");
    TTestComponent* button = Child("Button1");
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(panel->ClassName(), "TTestPanel");
    EXPECT_EQ(button->ParentComponent, panel);
    EXPECT_EQ(panel->ParentComponent, Form.get());
    EXPECT_EQ(panel->Color, clHighlight);
    EXPECT_EQ(button->Shape, shSquare);
    EXPECT_FALSE(Child("Label1")->Visible);
    EXPECT_EQ(Form->Button1, button);
    EXPECT_EQ(Form->Panel1, panel);
}

TEST_F(Streaming, CallsLoadedOncePerComponentAfterTheWholeTree) {
    ReadRootComponent(Form.get(), SampleForm, &Methods);
    EXPECT_EQ(LoadedLog(), (std::vector<std::string> {"MainForm", "Panel1", "Button1", "Label1"}));
    TTestComponent* panel = Child("Panel1");
    EXPECT_EQ(panel->LoadedCount, 1);
    EXPECT_EQ(panel->LinkAtLoaded, Child("Button1"));   // a reference to a later object is resolved already
    EXPECT_EQ(panel->ChildrenAtLoaded, 1);
    EXPECT_EQ(Child("Button1")->WidthAtLoaded, 75);
    EXPECT_EQ(Form->ChildrenAtLoaded, 2);
    EXPECT_FALSE(panel->LoadingAtLoaded);
    const TComponentState reading {csLoading, csReading};
    for (int i = 0; i < Form->ComponentCount(); ++i)
        EXPECT_TRUE((Form->Components(i)->ComponentState() * reading).Empty());
    EXPECT_TRUE((Form->ComponentState() * reading).Empty());
}

TEST_F(Streaming, ComponentsAreLoadingFromTheirConstructorOn) {
    ReadRootComponent(Form.get(), SampleForm, &Methods);
    EXPECT_TRUE(Child("Panel1")->LoadingInConstructor);
    TTestComponent later(Form.get());   // made afterwards in code
    EXPECT_FALSE(later.LoadingInConstructor);
}

TEST_F(Streaming, BindsEventsByMethodNameWithoutCase) {
    ReadRootComponent(Form.get(), SampleForm, &Methods);
    TTestComponent* button = Child("Button1");
    ASSERT_TRUE(button->OnClick);
    button->OnClick(button);
    button->OnValue(button, 5);
    EXPECT_EQ(Form->Clicks, (std::vector<TObject*> {button}));
    EXPECT_EQ(Form->Values, (std::vector<int> {5}));
    EXPECT_EQ(button->EventMethodName("OnValue"), "ValueChanged");
}

TEST_F(Streaming, DefinedEntriesAreReadStraightIntoTheirFields) {
    ReadRootComponent(Form.get(), R"(object F: TTestForm
  PositionMax_2 = 40.5
  Points = (1 2, -3
    $10)
  Blob = {00 01 FE
    ff}
end)",
        &Methods);
    EXPECT_EQ(Form->PositionMax, 40.5);
    EXPECT_EQ(Form->PositionMaxSetterCalls, 0);
    EXPECT_EQ(Form->Points, (std::vector<std::int64_t> {1, 2, -3, 16}));
    EXPECT_EQ(Form->Blob, (std::vector<std::uint8_t> {0, 1, 0xFE, 0xFF}));
}

TEST_F(Streaming, CollectionsReadNestedItemsWithSubObjectsAndBinaryData) {
    ReadRootComponent(Form.get(), R"(object F: TTestForm
  Items = <
    item
      Caption = 'one'
      Value = 1
      Font.Data = {CAFE}
      Leaves = <
        item
          Text = 'leaf'
        end>
    end
    item
      Ratio = 2.5e-1
    end>
end)");
    ASSERT_EQ(Form->Items()->Count(), 2);
    auto* first = Form->Items()->Item<TTestItem>(0);
    EXPECT_EQ(first->Caption, "one");
    EXPECT_EQ(first->Value, 1);
    EXPECT_EQ(first->Font()->Data, (std::vector<std::uint8_t> {0xCA, 0xFE}));
    ASSERT_EQ(first->Leaves()->Count(), 1);
    EXPECT_EQ(first->Leaves()->Item<TTestLeaf>(0)->Text, "leaf");
    EXPECT_EQ(Form->Items()->Item<TTestItem>(1)->Ratio, 0.25);
}

TEST_F(Streaming, StringListsReadTheirStringsEntry) {
    ReadRootComponent(Form.get(), "object F: TTestForm\n  Lines.Strings = (\n    'a'\n    'b c'\n    '')\nend\n");
    ASSERT_EQ(Form->Lines()->Count(), 3);
    EXPECT_EQ(Form->Lines()->Strings(1), "b c");
}

TEST_F(Streaming, WritesOnlyStoredValuesThatDifferFromTheirDefaults) {
    Form->SetName("F");
    Form->Hidden = 5;   // never stored
    std::string text = WriteComponent(Form.get());
    EXPECT_EQ(text, "object F: TTestForm\n  Height = 0\n  PositionMax_2 = 100.0\nend\n");
}

TEST_F(Streaming, RoundTripKeepsEveryKindOfValue) {
    Form->SetName("Root");
    Form->SetWidth(1);
    Form->Height = -5;
    Form->Visible = false;
    Form->Shape = shTriangle;
    Form->Flags = {};
    Form->Bits = 6;
    Form->Caption = std::string("quote ' tab\t nul") + '\0' + " end Ünïcødé";
    Form->Ratio = 0.1;
    Form->Scale = -1e300;
    Form->Color = 0x00ABCDEF;
    Form->Big = -(std::int64_t(1) << 62);
    Form->Font()->SetColor(clBtnShadow);
    Form->Font()->Data = {1, 2, 3};
    Form->Lines()->SetText("x\ny\n");
    Form->PositionMax = 33.25;
    Form->Points = {7, -8};
    Form->Blob.assign(100, 0xAB);
    auto* item = dynamic_cast<TTestItem*>(Form->Items()->Add());
    item->Caption = "item";
    dynamic_cast<TTestLeaf*>(item->Leaves()->Add())->Text = "leaf";
    Form->Items()->Add();
    auto* panel = new TTestPanel(Form.get());
    panel->SetName("Panel1");
    panel->ParentComponent = Form.get();
    panel->SetWidth(100);
    auto* button = new TTestComponent(Form.get());
    button->SetName("Button1");
    button->ParentComponent = panel;
    button->SetLink(panel);
    button->OnClick = [](TObject*) {};
    button->SetEventMethodName("OnClick", "Button1Click");
    panel->SetLink(Form.get());

    std::string text = WriteComponent(Form.get());
    auto copy = std::make_unique<TTestForm>(nullptr);
    TMethodTable methods;
    methods.Add("Button1Click", copy.get(), &TTestForm::Button1Click);
    ReadRootComponent(copy.get(), text, &methods);
    EXPECT_EQ(WriteComponent(copy.get()), text);

    EXPECT_EQ(copy->Caption, Form->Caption);
    EXPECT_EQ(copy->Ratio, 0.1);
    EXPECT_EQ(copy->Scale, -1e300);
    EXPECT_EQ(copy->Big, Form->Big);
    EXPECT_EQ(copy->Bits, Form->Bits);
    EXPECT_EQ(copy->Flags, TFlags {});
    EXPECT_EQ(copy->Color, 0x00ABCDEF);
    EXPECT_EQ(copy->Font()->Color(), clBtnShadow);
    EXPECT_EQ(copy->Font()->Data, Form->Font()->Data);
    EXPECT_EQ(copy->Lines()->Text(), "x\r\ny\r\n");
    EXPECT_EQ(copy->Blob, Form->Blob);
    EXPECT_EQ(copy->Points, Form->Points);
    EXPECT_EQ(copy->PositionMax, 33.25);
    ASSERT_EQ(copy->Items()->Count(), 2);
    EXPECT_EQ(copy->Items()->Item<TTestItem>(0)->Leaves()->Item<TTestLeaf>(0)->Text, "leaf");
    auto* copyPanel = dynamic_cast<TTestComponent*>(copy->FindComponent("Panel1"));
    auto* copyButton = dynamic_cast<TTestComponent*>(copy->FindComponent("Button1"));
    ASSERT_NE(copyButton, nullptr);
    EXPECT_EQ(copyButton->ParentComponent, copyPanel);
    EXPECT_EQ(copyButton->Link(), copyPanel);
    EXPECT_EQ(copyPanel->Link(), copy.get());
    EXPECT_EQ(copyPanel->Width(), 100);   // differs from the panel's default 200, so it was written
    copyButton->OnClick(copyButton);
    EXPECT_EQ(copy->Clicks.size(), 1u);
    copy.release()->Free();
}

TEST_F(Streaming, AFiveMegabyteTextReadsAndWritesBack) {
    std::vector<std::uint8_t> blob(2'500'000);
    for (std::size_t i = 0; i < blob.size(); ++i)
        blob[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
    Form->SetName("Big");
    Form->Blob = blob;
    std::string text = WriteComponent(Form.get());
    ASSERT_GT(text.size(), 5'000'000u);
    auto copy = std::make_unique<TTestForm>(nullptr);
    ReadRootComponent(copy.get(), text);
    EXPECT_EQ(copy->Blob, blob);
    copy.release()->Free();
}

TEST_F(Streaming, ReadComponentMakesTheObjectOfTheTextsClass) {
    TComponent owner(nullptr);
    TComponent* c
        = ReadComponent("object P: TTestPanel\n  Width = 3\n  object Inner: TTestComponent\n  end\nend", &owner);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->ClassName(), "TTestPanel");
    EXPECT_EQ(c->Owner(), &owner);
    EXPECT_EQ(c->ComponentCount(), 1);
    EXPECT_TRUE(dynamic_cast<TTestComponent*>(c)->LoadingInConstructor);
    EXPECT_EQ(dynamic_cast<TTestComponent*>(c)->LoadedCount, 1);
    EXPECT_THROW(ReadComponent("object P: TTestPanel\n  Width = 'x'\nend", &owner), EReadError);
    EXPECT_EQ(owner.ComponentCount(), 1);
}

TEST_F(Streaming, AnErrorFreesWhatTheReadMadeAndClearsTheFields) {
    auto* existing = new TTestComponent(Form.get());
    existing->SetName("Existing");
    const char* text = "object F: TTestForm\n  object Panel1: TTestPanel\n    object Button1: TTestComponent\n"
                       "      Width = 1\n    end\n  end\n  object Bad: TTestComponent\n    Nope = 1\n  end\nend\n";
    try {
        ReadRootComponent(Form.get(), text, &Methods);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Line(), 8);
    }
    EXPECT_EQ(Form->ComponentCount(), 1);
    EXPECT_EQ(Form->Components(0), existing);
    EXPECT_EQ(Form->Button1, nullptr);
    EXPECT_EQ(Form->Panel1, nullptr);
    EXPECT_FALSE(Form->ComponentState().Contains(csLoading));
    EXPECT_TRUE(LoadedLog().empty());
}

TEST_F(Streaming, AnErrorInLoadedPassesOnAndLeavesNoComponentLoading) {
    Form->ThrowInLoaded = true;
    EXPECT_THROW(ReadRootComponent(Form.get(), SampleForm, &Methods), base::Exception);
    for (int i = 0; i < Form->ComponentCount(); ++i)
        EXPECT_FALSE(Form->Components(i)->ComponentState().Contains(csLoading));
    EXPECT_FALSE(Form->ComponentState().Contains(csLoading));
}

TEST_F(Streaming, TryReadRootComponentReportsInsteadOfRaising) {
    std::string error;
    EXPECT_FALSE(TryReadRootComponent(Form.get(), "object F: TTestForm\n  Width = \n", nullptr, error));
    EXPECT_EQ(error, "Line 3: Value expected but end of text found");
    EXPECT_TRUE(TryReadRootComponent(Form.get(), "object F: TTestForm\nend", nullptr, error));
}

// ---------------------------------------------------------------------------------------------------------
// Malformed text: each fault gives EReadError with its line and a message that names it.

struct TMalformed {
    const char* Name;
    const char* Text;
    int Line;
    const char* Message;
};

class MalformedText : public testing::TestWithParam<TMalformed> {
protected:
    void SetUp() override { RegisterTestClasses(); }
};

TEST_P(MalformedText, RaisesEReadErrorWithTheLine) {
    const TMalformed& m = GetParam();
    auto form = std::make_unique<TTestForm>(nullptr);
    TMethodTable methods;
    methods.Add("Click", form.get(), &TTestForm::Button1Click);
    try {
        ReadRootComponent(form.get(), m.Text, &methods);
        ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Line(), m.Line) << e.what();
        EXPECT_NE(std::string(e.what()).find(m.Message), std::string::npos) << e.what();
    }
    EXPECT_EQ(form->ComponentCount(), 0);
    form.release()->Free();
}

INSTANTIATE_TEST_SUITE_P(Faults, MalformedText,
    testing::Values(TMalformed {"Empty", "", 1, "'object' expected"},
        TMalformed {"Truncated", "object F: TTestForm\n  Width = 1\n", 3, "'end' expected"},
        TMalformed {"TruncatedNested", "object F: TTestForm\n  object A: TTestComponent\n", 3, "'end' expected"},
        TMalformed {"TruncatedValue", "object F: TTestForm\n  Caption =", 2, "Value expected"},
        TMalformed {"MissingEquals", "object F: TTestForm\n  Width 1\nend", 2, "'=' expected"},
        TMalformed {"BadCharacter", "object F: TTestForm\n  Width = 1\n  ?\nend", 3, "Invalid character '?'"},
        TMalformed {"BinaryByte", "object F: TTestForm\n\x01\nend", 2, "Invalid character byte 1"},
        TMalformed {"UnknownClass", "object F: TTestForm\n\n  object X: TNoSuchThing\n  end\nend", 3,
            "Class TNoSuchThing not found"},
        TMalformed {"UnknownProperty", "object F: TTestForm\n  Colour = clRed\nend", 2,
            "Property Colour does not exist in TTestForm"},
        TMalformed {"UnknownSubProperty", "object F: TTestForm\n  Font.Weight = 1\nend", 2,
            "Property Weight does not exist in TTestFont"},
        TMalformed {"NilSubObject", "object F: TTestForm\n  Link.Width = 1\nend", 2, "is not assigned"},
        TMalformed {"WrongType", "object F: TTestForm\n  Width = 'wide'\nend", 2, "integer expected"},
        TMalformed {"BadEnum", "object F: TTestForm\n  Shape = shHexagon\nend", 2, "shHexagon"},
        TMalformed {"BadSetElement", "object F: TTestForm\n  Flags = [flBold, flHuge]\nend", 2, "flHuge"},
        TMalformed {"BadBoolean", "object F: TTestForm\n  Visible = 1\nend", 2, "True or False"},
        TMalformed {"BadColour", "object F: TTestForm\n  Color = clPlaid\nend", 2, "clPlaid"},
        TMalformed {
            "UnterminatedString", "object F: TTestForm\n  Caption = 'abc\n  Width = 1\nend", 2, "Unterminated string"},
        TMalformed {"UnclosedBinary", "object F: TTestForm\n  Blob = {00 11\n", 2, "'}' expected"},
        TMalformed {"OddBinary", "object F: TTestForm\n  Blob = {00 1\n}\nend", 3, "odd number"},
        TMalformed {"BadBinaryDigit", "object F: TTestForm\n  Blob = {00\n 1G}\nend", 3, "Invalid binary value"},
        TMalformed {
            "IntegerOverflow", "object F: TTestForm\n  Big = 99999999999999999999\nend", 2, "Integer out of range"},
        TMalformed {"MissingMethod", "object F: TTestForm\n  OnClick = Nowhere\nend", 2, "Method Nowhere"},
        TMalformed {"MethodOfAnotherType", "object F: TTestForm\n  OnValue = Click\nend", 2, "does not match"},
        TMalformed {"UnresolvedReference",
            "object F: TTestForm\n  object A: TTestComponent\n    Link = Ghost\n"
            "  end\nend",
            3, "Component Ghost"},
        TMalformed {"DuplicateName",
            "object F: TTestForm\n  object A: TTestComponent\n  end\n"
            "  object a: TTestComponent\n  end\nend",
            4, "already exists"},
        TMalformed {"ReadOnly", "object F: TTestForm\n  ReadOnly = 1\nend", 2, "read-only"},
        TMalformed {"TextAfterEnd", "object F: TTestForm\nend\nobject G: TTestForm\nend", 3, "Text after"},
        TMalformed {"RootClassMismatch", "object F: TTestPanel\nend", 1, "does not match"},
        TMalformed {"ListNotRead", "object F: TTestForm\n  Points = (1 'two')\nend", 2, "Integer expected"},
        TMalformed {"DefinedEntryWrongKind", "object F: TTestForm\n  PositionMax_2 = 'x'\nend", 2, "Float expected"},
        TMalformed {"BinaryForList", "object F: TTestForm\n  Blob = (1)\nend", 2, "binary data expected"},
        TMalformed {"CollectionForPlainObject", "object F: TTestForm\n  Font = <>\nend", 2, "dotted"},
        TMalformed {"ItemWithoutEnd", "object F: TTestForm\n  Items = <\n    item\n      Value = 1\n  >\nend", 5,
            "Property name or 'end' expected"},
        TMalformed {"BadCharCode", "object F: TTestForm\n  Caption = #99999999\nend", 2, "Invalid character code"},
        TMalformed {"EnumOrdinalPastTheNames", "object F: TTestForm\n  Shape = 3\nend", 2, "out of range for Shape"},
        TMalformed {"NegativeEnumOrdinal", "object F: TTestForm\n  Shape = -1\nend", 2, "out of range for Shape"},
        TMalformed {
            "IntegerPastThirtyTwoBits", "object F: TTestForm\n  Width = 4294967296\nend", 2, "out of range for Width"},
        TMalformed {
            "IntegerBelowThirtyTwoBits", "object F: TTestForm\n  Width = -$80000001\nend", 2, "out of range for Width"},
        TMalformed {"ItemIntegerPastThirtyTwoBits",
            "object F: TTestForm\n  Items = <\n    item\n      Value = "
            "$100000000\n    end>\nend",
            4, "out of range for Value"}),
    [](const testing::TestParamInfo<TMalformed>& info) { return std::string(info.param.Name); });

TEST(MalformedTextDepth, DeepNestingIsAnErrorNotACrash) {
    RegisterTestClasses();
    std::string text = "object F: TTestForm\n";
    for (int i = 0; i < 300; ++i)
        text += "object C" + std::to_string(i) + ": TTestComponent\n";
    auto form = std::make_unique<TTestForm>(nullptr);
    EXPECT_THROW(ReadRootComponent(form.get(), text), EReadError);
    std::string lists = "object F: TTestForm\n  Points = " + std::string(100000, '(');
    EXPECT_THROW(ReadRootComponent(form.get(), lists), EReadError);
    EXPECT_EQ(form->ComponentCount(), 0);
    form.release()->Free();
}
