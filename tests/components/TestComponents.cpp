#include "tests/components/TestComponents.h"

namespace orlo::test {

const TTypeInfo* TCaptionTypeInfo() {
    static const TTypeInfo Info = MakeStringTypeInfo("TCaption");
    return &Info;
}

const TTypeInfo* TSmallRangeTypeInfo() {
    static const TTypeInfo Info = MakeOrdinalTypeInfo("TSmallRange", tkInteger, otSByte, 5, 9);
    return &Info;
}

const TTypeInfo* TNegativeRangeTypeInfo() {
    static const TTypeInfo Info = MakeOrdinalTypeInfo("TNegativeRange", tkInteger, otSByte, -9, -5);
    return &Info;
}

ORLO_PUBLISHED(TTestFont, "TestComponents") {
    P.Property("Color", &TTestFont::Color).Default(0);
    P.Property("Name", &TTestFont::Name);
    P.Property("Size", &TTestFont::Size).Default(8);
    P.Property("Style", &TTestFont::Style).Default(0);
}

void TTestFont::Assign(TPersistent* Source) {
    auto* Other = dynamic_cast<TTestFont*>(Source);
    if (!Other)
        return TPersistent::Assign(Source);
    Name = Other->Name;
    Size = Other->Size;
    Color = Other->Color;
    Style = Other->Style;
}

ORLO_PUBLISHED(TTestLabel, "TestComponents") {
    P.Property("Caption", &TTestLabel::Caption, &TTestLabel::SetCaption).Type(TCaptionTypeInfo());
    P.Property("Font", &TTestLabel::Font, &TTestLabel::SetFont);
    P.Property("Hint", &TTestLabel::Hint, &TTestLabel::SetHint);
    P.Property("Visible", &TTestLabel::Visible, &TTestLabel::SetVisible).Default(1);
}

TTestLabel::TTestLabel(TComponent* AOwner) : TComponent(AOwner) {}

ORLO_PUBLISHED(TTestKinds, "TestComponents") {
    P.Property("Align", &TTestKinds::Align).Default(alNone);
    P.Property("Styles", &TTestKinds::Styles);
    P.Property("Ratio", &TTestKinds::Ratio);
    P.Property("Scale", &TTestKinds::Scale);
    P.Property("Precise", &TTestKinds::Precise);
    P.Property("Amount", &TTestKinds::Amount);
    P.Property("Stamp", &TTestKinds::Stamp).Type(TDateTimeTypeInfo());
    P.Property("Big", &TTestKinds::Big);
    P.Property("Unsigned", &TTestKinds::Unsigned);
    P.Property("Letter", &TTestKinds::Letter);
    P.Property("Data", &TTestKinds::Data);
    P.Property("Small", &TTestKinds::Small).Type(TSmallRangeTypeInfo());
    P.Property("Negative", &TTestKinds::Negative).Type(TNegativeRangeTypeInfo());
    P.Property("Enabled", &TTestKinds::Enabled).Default(1);
    P.Property("Ref", &TTestKinds::Ref);
    P.Property("OnClick", &TTestKinds::OnClick);
    P.ReadOnly("ReadOnlyValue", &TTestKinds::ReadOnlyValue);
    P.Indexed("Left", 0, &TTestKinds::GetBound, &TTestKinds::SetBound);
    P.Indexed("Top", 1, &TTestKinds::GetBound, &TTestKinds::SetBound);
    P.Method<&TTestKinds::KindsClick>("KindsClick");
}

void RegisterTestClasses() {
    RegisterClasses({TTestLabel::StaticClass(), TTestKinds::StaticClass(), TTestMemo::StaticClass(),
                     TTestPanel::StaticClass(), TTestPanelItem::StaticClass()});
}

ORLO_PUBLISHED(TTestMemo, "TestComponents") {
    P.Property("Lines", &TTestMemo::Lines, &TTestMemo::SetLines);
}

ORLO_PUBLISHED(TTestPanelItem, "TestComponents") {
    P.Property("Caption", &TTestPanelItem::Caption);
    P.Property("Width", &TTestPanelItem::Width).Default(0);
    P.Property("Checked", &TTestPanelItem::Checked);
}

void TTestPanelItem::Assign(TPersistent* Source) {
    auto* Other = dynamic_cast<TTestPanelItem*>(Source);
    if (!Other)
        return TCollectionItem::Assign(Source);
    Caption = Other->Caption;
    Width = Other->Width;
    Checked = Other->Checked;
    Changed(false);
}

String TTestPanelItem::DisplayName() const {
    return Caption.empty() ? TCollectionItem::DisplayName() : Caption;
}

ORLO_PUBLISHED(TTestPanel, "TestComponents") {
    P.Property("Items", &TTestPanel::Items, &TTestPanel::SetItems);
}

TTestPanel::TTestPanel(TComponent* AOwner)
    : TComponent(AOwner),
      FItems(std::make_unique<TOwnedCollection>(this, TTestPanelItem::StaticClass())) {}

} // namespace orlo::test
