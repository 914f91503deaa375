#include "platform/classes/Filer.h"
#include "platform/classes/FormText.h"
#include "platform/classes/Strings.h"
#include "platform/rtl/SysUtils.h"
#include "tests/classes/StreamTestForms.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

namespace orlo::test {
namespace {

using ::testing::HasSubstr;

class FilerTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterStreamTestClasses(); }
};

String Bytes(TComponent* Root) {
    TMemoryStream S;
    S.WriteComponent(Root);
    return String(reinterpret_cast<const char*>(S.Memory()), static_cast<size_t>(S.Size()));
}

template <class T = TComponent> std::unique_ptr<T> Read(const String& Binary, T* Into = nullptr) {
    TStringStream S(Binary);
    return std::unique_ptr<T>(static_cast<T*>(S.ReadComponent(Into)));
}

template <class T = TComponent> std::unique_ptr<T> ReadText(const String& Text) {
    return Read<T>(BinaryOf(Text));
}

String ReadError(const String& Text) {
    TStringStream S(BinaryOf(Text));
    try {
        delete S.ReadComponent(nullptr);
    } catch (const EReadError& E) {
        return E.Message();
    }
    return "no error";
}

TEST_F(FilerTest, LanguageListHasTheExactBytes) {
    TComp Glossa(nullptr);
    Glossa.SetName("Glossa1");
    Glossa.AddLanguage("English", 1);
    Glossa.AddLanguage("Deutsch", 0);
    const Byte Expected[] = {
        'T', 'P', 'F', '0', 5,    'T',  'C', 'o', 'm',  'p',  7,    'G',  'l',  'o',
        's', 's', 'a', '1', 21,   'L',  'a', 'n', 'g',  'u',  'a',  'g',  'e',  'M',
        'a', 'n', 'a', 'g', 'e',  'r',  '_', 'L', 'a',  'n',  'g',  's',  0x0E, 0x01,
        4,   'N', 'a', 'm', 'e',  0x06, 7,   'E', 'n',  'g',  'l',  'i',  's',  'h',
        8,   'S', 'u', 'b', 'I',  'n',  'd', 'e', 'x',  0x02, 1,    0x00, 0x01, 4,
        'N', 'a', 'm', 'e', 0x06, 7,    'D', 'e', 'u',  't',  's',  'c',  'h',  8,
        'S', 'u', 'b', 'I', 'n',  'd',  'e', 'x', 0x02, 0,    0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(Bytes(&Glossa), String(reinterpret_cast<const char*>(Expected), sizeof Expected));

    auto Copy = Read<TComp>(Bytes(&Glossa));
    ASSERT_EQ(Copy->Langs.Count(), 2);
    EXPECT_EQ(static_cast<TLangItem*>(Copy->Langs.Items(0))->Name, "English");
    EXPECT_EQ(static_cast<TLangItem*>(Copy->Langs.Items(0))->SubIndex, 1);
    EXPECT_EQ(static_cast<TLangItem*>(Copy->Langs.Items(1))->Name, "Deutsch");
    EXPECT_EQ(static_cast<TLangItem*>(Copy->Langs.Items(1))->SubIndex, 0);
}

TEST_F(FilerTest, EmptyDefinedCollectionIsStillWritten) {
    TComp Glossa(nullptr);
    EXPECT_THAT(TextOf(Bytes(&Glossa)), HasSubstr("LanguageManager_Langs = <>"));
}

TEST_F(FilerTest, BinaryPropertyRoundTrip) {
    TComp Host(nullptr);
    for (Integer I = 0; I < 40; ++I)
        Host.Payload.push_back(static_cast<Byte>(I * 7));
    auto Copy = Read<TComp>(Bytes(&Host));
    EXPECT_EQ(Copy->Payload, Host.Payload);
    Host.Payload.clear();
    EXPECT_THAT(TextOf(Bytes(&Host)), ::testing::Not(HasSubstr("Payload")));
}

// Every kind of property survives a write and a read.
TEST_F(FilerTest, EveryPropertyKindRoundTrips) {
    TTestForm Form(nullptr);
    Form.SetName("Form1");
    auto* K = new TTestKinds(&Form);
    K->SetName("Kinds1");
    K->Align = alClient;
    K->Styles = {fsBold, fsStrikeOut};
    K->Ratio = -1.5e-300;
    K->Scale = 0.1f;
    K->Precise = 1.0L / 3;
    K->Amount = Currency::FromScaled(-922337203685477LL);
    K->Stamp = 45000.25;
    K->Big = INT64_MIN;
    K->Unsigned = 4000000000u;
    K->Letter = '\xE4';
    K->Data = Variant(String("variant text"));
    K->Small = 9;
    K->Negative = -5;
    K->Enabled = false;
    K->Ref = K;
    K->OnClick = TNotifyEvent(MakeMethod<&TTestForm::KidClick>(&Form));
    K->SetBound(0, -70000);
    K->SetBound(1, 300);
    K->SetTag(-1);

    auto Copy = Read<TTestForm>(Bytes(&Form));
    ASSERT_NE(Copy->Kinds1, nullptr);
    TTestKinds* C = Copy->Kinds1;
    EXPECT_EQ(C->Align, alClient);
    EXPECT_EQ(C->Styles, (TTestFontStyles{fsBold, fsStrikeOut}));
    EXPECT_EQ(C->Ratio, -1.5e-300);
    EXPECT_EQ(C->Scale, 0.1f);
    EXPECT_EQ(C->Precise, 1.0L / 3);
    EXPECT_EQ(C->Amount.Scaled, -922337203685477LL);
    EXPECT_EQ(C->Stamp, 45000.25);
    EXPECT_EQ(C->Big, INT64_MIN);
    EXPECT_EQ(C->Unsigned, 4000000000u);
    EXPECT_EQ(C->Letter, '\xE4');
    EXPECT_TRUE(C->Data.SameAs(Variant(String("variant text"))));
    EXPECT_EQ(C->Small, 9);
    EXPECT_EQ(C->Negative, -5);
    EXPECT_FALSE(C->Enabled);
    EXPECT_EQ(C->Ref, C);
    EXPECT_EQ(C->GetBound(0), -70000);
    EXPECT_EQ(C->GetBound(1), 300);
    EXPECT_EQ(C->Tag(), -1);
    ASSERT_TRUE(C->OnClick);
    C->OnClick(C);
    EXPECT_EQ(Copy->Clicks, 1) << "the event is bound to the new root's handler";
}

TEST_F(FilerTest, VariantsKeepTheirType) {
    const Variant Values[] = {Variant::Null(),
                              Variant(42),
                              Variant(Int64(5)),
                              Variant(2.5),
                              Variant(true),
                              Variant::FromSingle(1.25f),
                              Variant::FromDate(3.5),
                              Variant(Currency::FromScaled(12345)),
                              Variant(String(300, 'v'))};
    for (const Variant& V : Values) {
        TTestKinds K(nullptr);
        K.Data = V;
        auto Copy = Read<TTestKinds>(Bytes(&K));
        EXPECT_TRUE(Copy->Data.SameAs(V)) << VarTypeAsText(V.VarType());
    }
}

// What equals its default is not written.
TEST_F(FilerTest, DefaultValuesAreNotStored) {
    struct Case {
        const char* Property;
        std::function<void(TTestKinds&)> Change;
    } Cases[] = {
        {"Align", [](TTestKinds& K) { K.Align = alTop; }},
        {"Enabled", [](TTestKinds& K) { K.Enabled = false; }},
        {"Ratio", [](TTestKinds& K) { K.Ratio = 0.5; }},
        {"Big", [](TTestKinds& K) { K.Big = 1; }},
        {"Data", [](TTestKinds& K) { K.Data = Variant(0); }},
        {"Ref", [](TTestKinds& K) { K.Ref = &K; }},
        {"Tag", [](TTestKinds& K) { K.SetTag(3); }},
    };
    for (const Case& C : Cases) {
        TTestKinds K(nullptr);
        String Plain = TextOf(Bytes(&K));
        EXPECT_THAT(Plain, ::testing::Not(HasSubstr(String("  ") + C.Property + " ="))) << Plain;
        C.Change(K);
        EXPECT_THAT(TextOf(Bytes(&K)), HasSubstr(String("  ") + C.Property + " =")) << C.Property;
    }
    // Without a declared default an ordinal is always written; read-only ones never.
    TTestKinds K(nullptr);
    String Text = TextOf(Bytes(&K));
    EXPECT_THAT(Text, HasSubstr("Styles = []"));
    EXPECT_THAT(Text, HasSubstr("Small = 5"));
    EXPECT_THAT(Text, ::testing::Not(HasSubstr("ReadOnlyValue")));
    EXPECT_THAT(Text, ::testing::Not(HasSubstr("Name =")));
}

TEST_F(FilerTest, SubObjectsStringListsAndCollections) {
    TTestForm Form(nullptr);
    Form.SetName("Form1");
    auto* Label = new TTestLabel(&Form);
    Label->SetName("Label1");
    Label->SetCaption("&OK");
    Label->Font()->Style = {fsBold, fsUnderline};
    Label->Font()->Size = 12;
    auto* Memo = new TTestMemo(&Form);
    Memo->SetName("Memo1");
    Memo->Lines()->Add("a");
    Memo->Lines()->Add("");
    Memo->Lines()->Add("b c");
    auto* Panel = new TTestPanel(&Form);
    Panel->SetName("Panel1");
    for (const char* Caption : {"one", "two", "three"}) {
        auto* Item = static_cast<TTestPanelItem*>(Panel->Items()->Add());
        Item->Caption = Caption;
        Item->Width = Integer(std::strlen(Caption));
    }
    String Text = TextOf(Bytes(&Form));
    EXPECT_THAT(Text, HasSubstr("Font.Size = 12"));
    EXPECT_THAT(Text, HasSubstr("Font.Style = [fsBold, fsUnderline]"));
    EXPECT_THAT(Text, HasSubstr("Lines.Strings = (\n      'a'\n      ''\n      'b c')"));

    auto Copy = Read<TTestForm>(Bytes(&Form));
    ASSERT_EQ(Copy->ComponentCount(), 3);
    EXPECT_EQ(Copy->Label1->Caption(), "&OK");
    EXPECT_EQ(Copy->Label1->Font()->Style, (TTestFontStyles{fsBold, fsUnderline}));
    EXPECT_EQ(Copy->Label1->Font()->Size, 12);
    auto* MemoCopy = static_cast<TTestMemo*>(Copy->FindComponent("Memo1"));
    ASSERT_NE(MemoCopy, nullptr);
    EXPECT_TRUE(MemoCopy->Lines()->Equals(Memo->Lines()));
    auto* PanelCopy = static_cast<TTestPanel*>(Copy->FindComponent("Panel1"));
    ASSERT_EQ(PanelCopy->Items()->Count(), 3);
    for (Integer I = 0; I < 3; ++I) {
        EXPECT_EQ(PanelCopy->Panel(I)->Caption, Panel->Panel(I)->Caption);
        EXPECT_EQ(PanelCopy->Panel(I)->Width, Panel->Panel(I)->Width);
    }
    EXPECT_EQ(Bytes(Copy.get()), Bytes(&Form));
}

TEST_F(FilerTest, ReadingReplacesStringsAndCollectionItems) {
    auto Form = ReadText<TTestForm>("object Form1: TTestForm\n"
                                    "  object Panel1: TTestPanel\n"
                                    "    Items = <\n      item\n        Caption = 'x'\n      end>\n"
                                    "  end\n"
                                    "end\n");
    auto* Panel = static_cast<TTestPanel*>(Form->FindComponent("Panel1"));
    Panel->Items()->Add();
    TStringStream Again(BinaryOf("object Panel1: TTestPanel\n  Items = <\n"
                                 "    item\n      Caption = 'y'\n    end>\nend\n"));
    Again.ReadComponent(Panel);
    ASSERT_EQ(Panel->Items()->Count(), 1);
    EXPECT_EQ(Panel->Panel(0)->Caption, "y");
}

TEST_F(FilerTest, ReferencesToTheRootAndForwardReferences) {
    auto Form = ReadText<TTestForm>("object Form1: TTestForm\n"
                                    "  object Kinds1: TTestKinds\n"
                                    "    Ref = Label1\n"
                                    "  end\n"
                                    "  object Kinds2: TTestKinds\n"
                                    "    Ref = Owner\n"
                                    "  end\n"
                                    "  object Label1: TTestLabel\n"
                                    "  end\n"
                                    "end\n");
    EXPECT_EQ(Form->Kinds1->Ref, Form->Label1);
    EXPECT_EQ(static_cast<TTestKinds*>(Form->FindComponent("Kinds2"))->Ref, Form.get());
    EXPECT_THAT(TextOf(Bytes(Form.get())), HasSubstr("Ref = Owner"));
}

TComponent* GlobalForm2 = nullptr;
TComponent* FindForm2(const String& Name) {
    return GlobalForm2 && SameText(GlobalForm2->Name(), Name) ? GlobalForm2 : nullptr;
}

TEST_F(FilerTest, ReferencesAcrossRootsWaitForTheOtherRoot) {
    RegisterFindGlobalComponentProc(&FindForm2);
    auto Form1 = ReadText<TTestForm>("object Form1: TTestForm\n"
                                     "  object Kinds1: TTestKinds\n    Ref = Form2.Label1\n  end\n"
                                     "end\n");
    EXPECT_EQ(Form1->Kinds1->Ref, nullptr);
    TTestForm Form2(nullptr);
    GlobalForm2 = &Form2;
    TStringStream S(BinaryOf("object Form2: TTestForm\n"
                             "  object Label1: TTestLabel\n  end\n"
                             "end\n"));
    S.ReadComponent(&Form2);
    EXPECT_EQ(Form1->Kinds1->Ref, Form2.Label1);
    EXPECT_THAT(TextOf(Bytes(Form1.get())), HasSubstr("Ref = Form2.Label1"));
    GlobalForm2 = nullptr;
    UnregisterFindGlobalComponentProc(&FindForm2);
}

TEST_F(FilerTest, PendingReferenceOfAFreedFormIsDropped) {
    RegisterFindGlobalComponentProc(&FindForm2);
    ReadText<TTestForm>("object Form1: TTestForm\n"
                        "  object Kinds1: TTestKinds\n    Ref = Form2.Label1\n  end\n"
                        "end\n"); // freed at once
    TTestForm Form2(nullptr);
    GlobalForm2 = &Form2;
    TStringStream S(BinaryOf("object Form2: TTestForm\n  object Label1: TTestLabel\n  end\nend\n"));
    S.ReadComponent(&Form2); // resolving must not touch the freed form
    EXPECT_NE(Form2.Label1, nullptr);
    GlobalForm2 = nullptr;
    UnregisterFindGlobalComponentProc(&FindForm2);
}

TEST_F(FilerTest, LoadedRunsOnceAfterTheWholeRoot) {
    auto Form = ReadText<TTestForm>("object Form1: TTestForm\n"
                                    "  Caption = 'c'\n"
                                    "  object Label1: TTestLabel\n    Caption = 'later'\n  end\n"
                                    "end\n");
    EXPECT_EQ(Form->LoadedCount, 1);
    EXPECT_TRUE(Form->LoadingDuringLoaded);
    EXPECT_FALSE(Form->ReadingDuringLoaded);
    EXPECT_EQ(Form->LabelCaptionAtLoaded, "later");
    EXPECT_FALSE(Form->ComponentState().Contains(csLoading));
    EXPECT_FALSE(Form->Label1->ComponentState().Contains(csLoading));
}

TEST_F(FilerTest, ParentedChildrenAndChildOrder) {
    TTestForm Form(nullptr);
    Form.SetName("Form1");
    auto* Outer = new TTestBox(&Form);
    Outer->SetName("Outer");
    for (const char* Name : {"A", "B"}) {
        auto* Inner = new TTestBox(&Form);
        Inner->SetName(Name);
        Inner->SetParentComponent(Outer);
    }
    String Text = TextOf(Bytes(&Form));
    EXPECT_THAT(Text, HasSubstr("  object Outer: TTestBox\n    object A: TTestBox\n    end\n"
                                "    object B: TTestBox\n    end\n  end\n"));
    auto Copy = Read<TTestForm>(Bytes(&Form));
    auto* OuterCopy = static_cast<TTestBox*>(Copy->FindComponent("Outer"));
    ASSERT_EQ(OuterCopy->Children().size(), 2u);
    EXPECT_EQ(OuterCopy->Children()[0]->Name(), "A");
    EXPECT_EQ(OuterCopy->Children()[0]->Owner(), Copy.get());

    auto Ordered = ReadText<TTestForm>("object Form1: TTestForm\n"
                                       "  object Outer: TTestBox\n"
                                       "    object A: TTestBox\n    end\n"
                                       "    object B: TTestBox [0]\n    end\n"
                                       "  end\n"
                                       "end\n");
    auto* O = static_cast<TTestBox*>(Ordered->FindComponent("Outer"));
    ASSERT_EQ(O->Children().size(), 2u);
    EXPECT_EQ(O->Children()[0]->Name(), "B");
}

TEST_F(FilerTest, InlineFramesOwnTheirComponents) {
    TTestForm Form(nullptr);
    Form.SetName("Form1");
    auto* Frame = new TTestFrame(&Form);
    Frame->SetName("Frame1");
    Frame->SetInline(true);
    auto* Inside = new TTestLabel(Frame);
    Inside->SetName("Label1");
    auto* K = new TTestKinds(&Form);
    K->SetName("Kinds1");
    K->Ref = Inside;
    String Text = TextOf(Bytes(&Form));
    EXPECT_THAT(Text, HasSubstr("  inline Frame1: TTestFrame\n    object Label1: TTestLabel\n"));
    EXPECT_THAT(Text, HasSubstr("Ref = Frame1.Label1"));

    auto Copy = Read<TTestForm>(Bytes(&Form));
    auto* FrameCopy = Copy->FindComponent("Frame1");
    ASSERT_NE(FrameCopy, nullptr);
    EXPECT_TRUE(FrameCopy->ComponentState().Contains(csInline));
    TComponent* LabelCopy = FrameCopy->FindComponent("Label1");
    ASSERT_NE(LabelCopy, nullptr);
    EXPECT_EQ(Copy->Label1, nullptr) << "the label belongs to the frame, not the form";
    EXPECT_EQ(Copy->Kinds1->Ref, LabelCopy);
}

TEST_F(FilerTest, ReaderValueConversions) {
    // Any integer code for an integer, wide and UTF-8 strings for a string.
    const Byte Stream[] = {
        'T', 'P',  'F',  '0',  10,   'T', 'T', 'e', 's', 't', 'L',          'a', 'b', 'e',
        'l', 0,    7,    'C',  'a',  'p', 't', 'i', 'o', 'n', vaWString,    2,   0,   0,
        0,   0xE4, 0,    0x3D, 0xD8, 4,   'H', 'i', 'n', 't', vaUTF8String, 2,   0,   0,
        0,   0xC3, 0xA4, 9,    'F',  'o', 'n', 't', '.', 'S', 'i',          'z', 'e', vaInt64,
        7,   0,    0,    0,    0,    0,   0,   0,   0,   0};
    auto Label = Read<TTestLabel>(String(reinterpret_cast<const char*>(Stream), sizeof Stream));
    EXPECT_EQ(Label->Caption(), "\xC3\xA4\xEF\xBF\xBD") << "an unpaired surrogate becomes U+FFFD";
    EXPECT_EQ(Label->Hint(), "\xC3\xA4");
    EXPECT_EQ(Label->Font()->Size, 7);
}

// Bad input: EReadError naming the component and property; nothing leaks
// (the sanitizer build checks) and created components are freed.
TEST_F(FilerTest, ReadErrors) {
    struct Case {
        const char* Text;
        const char* Message;
    } Cases[] = {
        {"object Form1: TTestForm\n  Foo = 1\nend\n",
         "Error reading Form1.Foo: Property Foo does not exist"},
        {"object Form1: TTestForm\n  object Label1: TTestLabel\n    Font.Foo = 1\n  end\nend\n",
         "Error reading Label1.Font.Foo: Property Font.Foo does not exist"},
        {"object Form1: TTestForm\n  object Label1: TTestLabel\n    Caption.X = 1\n  end\nend\n",
         "Error reading Label1.Caption.X: Property Caption.X does not exist"},
        {"object Form1: TTestForm\n  Caption = 12\nend\n",
         "Error reading Form1.Caption: Invalid property value"},
        {"object Form1: TTestForm\n  object K: TTestKinds\n    Align = alNowhere\n  end\nend\n",
         "Error reading K.Align: Invalid property value"},
        {"object Form1: TTestForm\n  object K: TTestKinds\n    Small = 10\n  end\nend\n",
         "Error reading K.Small: Invalid property value"},
        {"object Form1: TTestForm\n  object K: TTestKinds\n    Styles = [fsBold, x]\n  end\nend\n",
         "Error reading K.Styles: Invalid property value"},
        {"object Form1: TTestForm\n  object K: TTestKinds\n    Enabled = 1\n  end\nend\n",
         "Error reading K.Enabled: Invalid property value"},
        {"object Form1: TTestForm\n  object K: TTestKinds\n    ReadOnlyValue = 1\n  end\nend\n",
         "Error reading K.ReadOnlyValue: Property ReadOnlyValue is read-only"},
        {"object Form1: TTestForm\n  object K: TTestKinds\n    OnClick = Nope\n  end\nend\n",
         "Error reading K.OnClick: Method Nope not found"},
        {"object Form1: TTestForm\n  object K: TTestKinds\n    Ref = Nobody\n  end\nend\n",
         "Error reading K.Ref: Unresolved reference to Nobody"},
        {"object Form1: TTestForm\n  object K: TTestKinds\n    Ref = Owner.X\n  end\nend\n",
         "Error reading K.Ref: Unresolved reference to Owner.X"},
        {"object Form1: TTestForm\n  object P: TTestPanel\n    Items = <\n      item\n"
         "        Colour = 1\n      end>\n  end\nend\n",
         "Error reading P.Items: Property Colour does not exist"},
        {"object Form1: TTestForm\n  object X: TNoSuchClass\n  end\nend\n",
         "Class TNoSuchClass not found"},
        {"object Form1: TTestForm\n  object A: TTestLabel\n  end\n  object a: TTestLabel\n"
         "  end\nend\n",
         "A component named a already exists"},
        {"object Form1: TTestForm\n  object 1: TTestLabel\n  end\nend\n", "Identifier expected"},
        {"object Form1: TTestForm\n  inherited Label9: TTestLabel\n  end\nend\n",
         "Ancestor for 'Label9' not found"},
    };
    for (const Case& C : Cases) {
        Integer Before = TTestForm::Live;
        String Message;
        try {
            Message = ReadError(C.Text);
        } catch (const EParserError& E) {
            Message = E.Message();
        }
        EXPECT_THAT(Message, HasSubstr(C.Message)) << C.Text;
        EXPECT_EQ(TTestForm::Live, Before) << "the created form was not freed: " << C.Text;
    }
}

TEST_F(FilerTest, ErrorHandlerCanSkipUnknownPropertiesAndReferences) {
    TStringStream S(
        BinaryOf("object Form1: TTestForm\n  Foo = (1 2)\n  Caption = 'kept'\n"
                 "  object K: TTestKinds\n    Ref = Nobody\n    Tag = 4\n  end\nend\n"));
    TReader Reader(&S);
    std::vector<String> Messages;
    Reader.OnError = [&](TReader*, const String& Message, bool& Handled) {
        Messages.push_back(Message);
        Handled = true;
    };
    std::unique_ptr<TTestForm> Form(static_cast<TTestForm*>(Reader.ReadRootComponent(nullptr)));
    EXPECT_EQ(Form->Caption, "kept");
    EXPECT_EQ(Form->Kinds1, nullptr);
    EXPECT_EQ(static_cast<TTestKinds*>(Form->FindComponent("K"))->Tag(), 4);
    EXPECT_THAT(Messages,
                ::testing::ElementsAre("Error reading Form1.Foo: Property Foo does not exist",
                                       "Error reading K.Ref: Unresolved reference to Nobody"));
}

TEST_F(FilerTest, FailedReadIntoAnExistingRootFreesOnlyWhatItCreated) {
    TTestForm Form(nullptr);
    auto* Keep = new TTestLabel(&Form);
    Keep->SetName("Keep");
    EXPECT_THROW(
        {
            TStringStream S(BinaryOf("object Form1: TTestForm\n  object Label1: TTestLabel\n  end\n"
                                     "  object K: TTestKinds\n    Foo = 1\n  end\nend\n"));
            S.ReadComponent(&Form);
        },
        EReadError);
    ASSERT_EQ(Form.ComponentCount(), 1);
    EXPECT_EQ(Form.Components(0), Keep);
    EXPECT_EQ(Form.Label1, nullptr) << "the published field of a freed component is cleared";
    EXPECT_FALSE(Form.ComponentState().Contains(csLoading));
    EXPECT_FALSE(Form.ComponentState().Contains(csReading));
}

// Every truncation and every corrupted value code of a valid stream fails
// cleanly with EReadError.
TEST_F(FilerTest, TruncatedAndCorruptedStreams) {
    TTestForm Form(nullptr);
    Form.SetName("Form1");
    auto* Host = new TComp(&Form);
    Host->AddLanguage("English", 1);
    Host->Payload = {1, 2, 3};
    Form.Caption = String(300, 'x');
    auto* K = new TTestKinds(&Form);
    K->SetName("K");
    K->Ref = K;
    String Valid = Bytes(&Form);
    for (size_t Len = 0; Len < Valid.size(); ++Len) {
        TStringStream S(Valid.substr(0, Len));
        EXPECT_THROW(delete S.ReadComponent(nullptr), EReadError) << "length " << Len;
    }
    for (size_t At = 4; At < Valid.size(); ++At) {
        String Bad = Valid;
        Bad[At] = '\x7F';
        TStringStream S(Bad);
        try {
            delete S.ReadComponent(nullptr);
        } catch (const EReadError&) {
        }
    }
    EXPECT_EQ(TTestForm::Live, 1);
}

TEST_F(FilerTest, UnknownValueCode) {
    const Byte Stream[] = {'T', 'P', 'F', '0', 10, 'T', 'T', 'e', 's', 't',  'L', 'a',
                           'b', 'e', 'l', 0,   4,  'H', 'i', 'n', 't', 0x33, 0,   0};
    try {
        Read(String(reinterpret_cast<const char*>(Stream), sizeof Stream));
        FAIL();
    } catch (const EReadError& E) {
        EXPECT_EQ(E.Message(), "Error reading TTestLabel.Hint: Invalid value code 51");
    }
}

TEST_F(FilerTest, NestingIsLimited) {
    String Text = "object Form1: TTestForm\n  Tag = ";
    Text += String(100000, '(');
    EXPECT_THROW(BinaryOf(Text), EParserError);
    String Binary = "TPF0\x09TTestForm\x05"
                    "Form1\x03"
                    "Foo";
    Binary += String(100000, '\x01');
    TStringStream S(Binary);
    EXPECT_THROW(delete S.ReadComponent(nullptr), EReadError);
}

// Inherited forms: the descendant's stream holds only what it changes.
TEST_F(FilerTest, DescendentStreamsHoldOnlyTheDifferences) {
    TTestForm Ancestor(nullptr);
    Ancestor.SetName("Form1");
    Ancestor.Caption = "base";
    auto* L = new TTestLabel(&Ancestor);
    L->SetName("Label1");
    L->SetCaption("same");
    auto* M = new TTestMemo(&Ancestor);
    M->SetName("Memo1");
    M->Lines()->Add("x");

    auto Descendant = Read<TTestForm2>(Bytes(&Ancestor), new TTestForm2(nullptr));
    Descendant->SetName("Form2");
    Descendant->Caption = "changed";
    auto* L2 = new TTestLabel(Descendant.get());
    L2->SetName("Label2");
    TMemoryStream S;
    S.WriteDescendent(Descendant.get(), &Ancestor);
    String Text = TextOf(String(reinterpret_cast<const char*>(S.Memory()), size_t(S.Size())));
    EXPECT_EQ(Text, "inherited Form2: TTestForm2\n"
                    "  Caption = 'changed'\n"
                    "  inherited Label1: TTestLabel\n"
                    "  end\n"
                    "  inherited Memo1: TTestMemo\n"
                    "  end\n"
                    "  object Label2: TTestLabel\n"
                    "    Font.Name = 'Arial'\n"
                    "  end\n"
                    "end\n");
}

TEST_F(FilerTest, DesignerPositionOfANonVisualComponent) {
    auto Label = ReadText<TTestLabel>("object Label1: TTestLabel\n  Left = 16\n  Top = 40\nend\n");
    EXPECT_EQ(Label->DesignInfo(), 16u | (40u << 16));
    String Text = TextOf(Bytes(Label.get()));
    EXPECT_THAT(Text, HasSubstr("  Left = 16\n  Top = 40\n"));
    Label->SetDesignInfo(40u << 16);
    Text = TextOf(Bytes(Label.get()));
    EXPECT_THAT(Text, ::testing::Not(HasSubstr("Left =")));
    EXPECT_THAT(Text, HasSubstr("Top = 40"));

    // A published property of the same name wins over the designer's position.
    auto Kinds = ReadText<TTestKinds>("object K: TTestKinds\n  Left = 7\nend\n");
    EXPECT_EQ(Kinds->GetBound(0), 7);
    EXPECT_EQ(Kinds->DesignInfo(), 0u);
}

} // namespace
} // namespace orlo::test
