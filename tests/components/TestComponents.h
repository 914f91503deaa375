#pragma once
// Small component classes with every kind of published property, shared by the
// tests, benchmarks and fuzz targets of every layer.

#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/classes/Strings.h"
#include "platform/classes/TypInfo.h"

#include <memory>

namespace orlo::test {

ORLO_ENUM(TTestAlign, alNone, alTop, alBottom, alLeft, alRight, alClient)
ORLO_ENUM(TTestFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
ORLO_SET(TTestFontStyles, TTestFontStyle)

const TTypeInfo* TCaptionTypeInfo();
const TTypeInfo* TSmallRangeTypeInfo();    // 5..9
const TTypeInfo* TNegativeRangeTypeInfo(); // -9..-5

// A font-like sub-object: streamed as "Font.Size" and so on.
class TTestFont : public TPersistent {
    ORLO_CLASS(TTestFont, TPersistent)
public:
    TTestFont() = default;
    void Assign(TPersistent* Source) override;

    String Name = "Arial";
    Integer Size = 8;
    Integer Color = 0;
    TTestFontStyles Style;
};

// A label-like control: Caption, Hint and a Font sub-object.
class TTestLabel : public TComponent {
    ORLO_CLASS(TTestLabel, TComponent)
public:
    explicit TTestLabel(TComponent* AOwner);

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value) { FCaption = Value; }
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    TTestFont* Font() const { return FFont.get(); }
    void SetFont(TTestFont* Value) { FFont->Assign(Value); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }

private:
    String FCaption;
    String FHint;
    bool FVisible = true;
    std::unique_ptr<TTestFont> FFont = std::make_unique<TTestFont>();
};

// A component with a property of every other kind.
class TTestKinds : public TComponent {
    ORLO_CLASS(TTestKinds, TComponent)
public:
    explicit TTestKinds(TComponent* AOwner) : TComponent(AOwner) {}

    TTestAlign Align = alNone;
    TTestFontStyles Styles;
    double Ratio = 0;
    Single Scale = 0;
    Extended Precise = 0;
    Currency Amount;
    TDateTime Stamp = 0;
    Int64 Big = 0;
    Cardinal Unsigned = 0;
    char Letter = 'A';
    Variant Data;
    Integer Small = 5;     // 5..9
    Integer Negative = -9; // -9..-5
    bool Enabled = true;
    TComponent* Ref = nullptr;
    TNotifyEvent OnClick;

    Integer ReadOnlyValue() const { return 42; }
    // With an index specifier: both properties share one getter and setter.
    Integer GetBound(Integer Index) const { return FBounds[Index]; }
    void SetBound(Integer Index, Integer Value) { FBounds[Index] = Value; }

    // A handler that the tests and streams bind OnClick to.
    void KindsClick(TObject* Sender) { ++Clicks; }
    Integer Clicks = 0;

private:
    Integer FBounds[2] = {0, 0};
};

// Registers the test classes with the class registry (idempotent).
void RegisterTestClasses();

// A memo-like control: a published string list.
class TTestMemo : public TComponent {
    ORLO_CLASS(TTestMemo, TComponent)
public:
    explicit TTestMemo(TComponent* AOwner) : TComponent(AOwner) {}

    TStrings* Lines() const { return FLines.get(); }
    void SetLines(TStrings* Value) { FLines->Assign(Value); }

private:
    std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
};

// One item of a panel-like collection.
class TTestPanelItem : public TCollectionItem {
    ORLO_CLASS(TTestPanelItem, TCollectionItem)
public:
    explicit TTestPanelItem(TCollection* Collection) : TCollectionItem(Collection) {}
    void Assign(TPersistent* Source) override;
    String DisplayName() const override;

    String Caption;
    Integer Width = 0;
    bool Checked = false;
};

// A component publishing a collection of TTestPanelItem.
class TTestPanel : public TComponent {
    ORLO_CLASS(TTestPanel, TComponent)
public:
    explicit TTestPanel(TComponent* AOwner);

    TCollection* Items() const { return FItems.get(); }
    void SetItems(TCollection* Value) { FItems->Assign(Value); }
    TTestPanelItem* Panel(Integer Index) const {
        return static_cast<TTestPanelItem*>(FItems->Items(Index));
    }

private:
    std::unique_ptr<TOwnedCollection> FItems;
};

} // namespace orlo::test
