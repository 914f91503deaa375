// Lists every published property of a small form and its components through
// TClassInfo (kind, type and value in text form), changes a few of them by text
// as a translation would, and lists them again.

#include "platform/classes/Component.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"
#include "runtime/ClassInfo.h"

#include <iostream>
#include <memory>

namespace example {

using namespace orlo;

ORLO_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
ORLO_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
ORLO_SET(TFontStyles, TFontStyle)

const TTypeInfo* TCaptionTypeInfo() {
    static const TTypeInfo Info = MakeStringTypeInfo("TCaption");
    return &Info;
}

const TTypeInfo* TColorTypeInfo() {
    static const TTypeInfo Info =
        MakeOrdinalTypeInfo("TColor", tkInteger, otSLong, INT32_MIN, INT32_MAX);
    return &Info;
}

// A font: a sub-object, listed under the control that holds it.
class TFont : public TPersistent {
    ORLO_CLASS(TFont, TPersistent)
public:
    TFont() = default;
    void Assign(TPersistent* Source) override {
        auto* Other = dynamic_cast<TFont*>(Source);
        if (!Other)
            return TPersistent::Assign(Source);
        Name = Other->Name;
        Size = Other->Size;
        Color = Other->Color;
        Style = Other->Style;
    }

    String Name = "Sans";
    Integer Size = 10;
    Integer Color = 0;
    TFontStyles Style;
};

ORLO_PUBLISHED(TFont, "Example") {
    P.Property("Color", &TFont::Color).Type(TColorTypeInfo()).Default(0);
    P.Property("Name", &TFont::Name);
    P.Property("Size", &TFont::Size).Default(10);
    P.Property("Style", &TFont::Style).Default(0);
}

// What labels and buttons share: a caption and a font.
class TControl : public TComponent {
    ORLO_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* AOwner) : TComponent(AOwner) {}
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value) { FCaption = Value; }
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }

private:
    String FCaption;
    std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
};

ORLO_PUBLISHED(TControl, "Example") {
    P.Property("Caption", &TControl::Caption, &TControl::SetCaption).Type(TCaptionTypeInfo());
    P.Property("Font", &TControl::Font, &TControl::SetFont);
}

class TLabel : public TControl {
    ORLO_CLASS(TLabel, TControl)
public:
    explicit TLabel(TComponent* AOwner) : TControl(AOwner) {}
    TAlignment Alignment = taLeftJustify;
    bool WordWrap = false;
};

ORLO_PUBLISHED(TLabel, "Example") {
    P.Property("Alignment", &TLabel::Alignment).Default(taLeftJustify);
    P.Property("WordWrap", &TLabel::WordWrap).Default(0);
}

class TButton : public TControl {
    ORLO_CLASS(TButton, TControl)
public:
    explicit TButton(TComponent* AOwner) : TControl(AOwner) {}
    bool Default = false;
    Integer Width = 75;
    TNotifyEvent OnClick;
};

ORLO_PUBLISHED(TButton, "Example") {
    P.Property("Default", &TButton::Default).Default(0);
    P.Property("Width", &TButton::Width);
    P.Property("OnClick", &TButton::OnClick);
}

class TForm1 : public TControl {
    ORLO_CLASS(TForm1, TControl)
public:
    explicit TForm1(TComponent* AOwner) : TControl(AOwner) {
        SetName("Form1");
        SetCaption("Property list");
        Label1 = new TLabel(this);
        Label1->SetName("Label1");
        Label1->SetCaption("&File name:");
        Button1 = new TButton(this);
        Button1->SetName("Button1");
        Button1->SetCaption("OK");
        Button1->Default = true;
        Button1->OnClick = TNotifyEvent::Make<&TForm1::Button1Click>(this);
    }
    void Button1Click(TObject* Sender) {}

    TLabel* Label1 = nullptr;
    TButton* Button1 = nullptr;
};

ORLO_PUBLISHED(TForm1, "Example") {
    P.Field("Label1", &TForm1::Label1);
    P.Field("Button1", &TForm1::Button1);
    P.Method<&TForm1::Button1Click>("Button1Click");
}

// --- Listing -------------------------------------------------------------------

String KindName(TTypeKind Kind) { return GetEnumName(TypeInfoOf<TTypeKind>(), Kind); }

// The value in text form, with what a reader needs to make sense of addresses.
String ValueText(const TClassInfo& Info) {
    if (!Info.Mode().Contains(pmRead))
        return "(not readable)";
    const String Text = Info.GetAsString();
    if (Info.IsString())
        return QuotedStr(Text);
    if (Info.Kind() == tkClass) {
        const TObject* Obj = Info.GetAsObject();
        if (auto* Component = dynamic_cast<const TComponent*>(Obj))
            return Text + " (" + Component->Name() + ")";
        return Obj ? Text + " (" + Obj->ClassName() + ")" : Text + " (nil)";
    }
    if (Info.Kind() == tkMethod) {
        const TMethod Handler = Info.GetAsMethod();
        if (!Handler.Assigned())
            return Text + " (unassigned)";
        // Handlers of this component model are methods of objects.
        const String Name = static_cast<const TObject*>(Handler.Data)->MethodName(Handler.Code);
        return Text + " (" + Name + ")";
    }
    return Text;
}

void ListProperties(TObject* Instance, const String& Path) {
    TClassInfo Info(Instance);
    for (Integer I = 0; I < Info.Count(); ++I) {
        if (!Info.Select(I))
            continue;
        String Value;
        try {
            Value = ValueText(Info);
        } catch (const Exception& Error) {
            Value = "(" + Error.Message() + ")";
        }
        std::cout << Format("  %-16s %-14s %-16s %s", Path + Info.Name(), KindName(Info.Kind()),
                            Info.Typ(), Value)
                  << "\n";
        // Sub-objects belong to their component: list their properties under it.
        if (Info.Kind() == tkClass && Info.Mode().Contains(pmRead)) {
            TObject* Sub = Info.GetAsObject();
            if (Sub && !dynamic_cast<TComponent*>(Sub))
                ListProperties(Sub, Path + Info.Name() + ".");
        }
    }
}

void ListComponent(TComponent* Component) {
    std::cout << "\n"
              << Format("%s: %s (unit %s)", Component->Name(), Component->ClassName(),
                        TClassInfo(Component).UnitName())
              << "\n";
    ListProperties(Component, "");
    for (Integer I = 0; I < Component->ComponentCount(); ++I)
        ListComponent(Component->Components(I));
}

void ListAll(TComponent* Root, const char* Title) {
    std::cout << "=== " << Title << " ===\n"
              << Format("  %-16s %-14s %-16s %s", "Property", "Kind", "Type", "Value") << "\n";
    ListComponent(Root);
    std::cout << "\n\n";
}

// --- Changing by text ----------------------------------------------------------

// The accessor of the property at Path ("Font.Style") of Instance, selected.
TClassInfo PropertyAt(TObject* Instance, const String& Path) {
    const Integer Dot = Pos(".", Path);
    const String Head = Dot ? Copy(Path, 1, Dot - 1) : Path;
    TClassInfo Info(Instance);
    const Integer Index = Info.IndexOf(Head);
    if (Index < 0)
        throw EPropertyError(Format("Unknown property: '%s'", Head));
    Info.Select(Index);
    return Dot ? PropertyAt(Info.GetAsObject(), Copy(Path, Dot + 1, Length(Path))) : Info;
}

// Sets a property from text, as a translation stored as text is applied.
void SetByText(TComponent* Component, const String& Path, const String& Text) {
    std::cout << Format("  %-20s := %-36s ", Component->Name() + "." + Path, QuotedStr(Text));
    try {
        TClassInfo Info = PropertyAt(Component, Path);
        Info.SetValue(Variant(Text));
        std::cout << "now " << ValueText(Info) << "\n";
    } catch (const Exception& Error) {
        std::cout << "refused: " << Error.Message() << "\n";
    }
}

void ChangeByText(TForm1* Form) {
    std::cout << "=== Changes by text ===\n";
    SetByText(Form, "Caption", "Liste der Eigenschaften");
    SetByText(Form->Label1, "Caption", "&Dateiname:");
    SetByText(Form->Label1, "Alignment", "taCenter");
    SetByText(Form->Label1, "Font.Style", "[fsBold,fsItalic]");
    SetByText(Form->Button1, "Width", "120");
    SetByText(Form->Button1, "Default", "False");
    SetByText(Form->Button1, "OnClick", String(32, '0') + "h");
    // Texts that do not fit the property are refused and change nothing.
    SetByText(Form->Label1, "Alignment", "taMiddle");
    SetByText(Form->Label1, "Font.Style", "[fsBold, fsItalic]");
    SetByText(Form->Button1, "Width", "wide");
    SetByText(Form->Button1, "Font", "00000000DEADBEEFh");
    SetByText(Form->Button1, "Hint", "Click me");
    std::cout << "\n";
}

} // namespace example

int main() {
    try {
        example::TForm1 Form(nullptr);
        example::ListAll(&Form, "Published properties");
        example::ChangeByText(&Form);
        example::ListAll(&Form, "After the changes");
        return 0;
    } catch (const orlo::Exception& Error) {
        std::cerr << "propertylist: " << Error.Message() << "\n";
        return 1;
    }
}
