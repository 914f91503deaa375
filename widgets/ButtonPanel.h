#pragma once
// TButtonPanel: the bar of push buttons at the edge of a dialog. The panel
// owns a collection of button items, each with one bitmap button, and lays
// the visible buttons out in a row (or a column, when the panel is taller
// than wide) with fixed sizes and gaps. Dialogs address the buttons by their
// index in the collection.

#include "platform/classes/Collection.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/ExtCtrls.h"

#include <memory>

namespace orlo {

class TButtonItem;
class TReader;
class TWriter;
class TButtonPanel;

ORLO_EVENT(TButtonClickNotify, void(TObject* Sender, TButtonItem* Item))

// The bitmap button of one item: after its own click (the modal result, the
// item's OnClick) it tells its panel, unless the click freed it.
class TExBitBtn : public TBitBtn {
    ORLO_CLASS(TExBitBtn, TBitBtn)
public:
    explicit TExBitBtn(TComponent* AOwner);
    ~TExBitBtn() override;
    TButtonItem* Item() const noexcept { return FItem; }
    void Click() override;

private:
    friend class TButtonItem;
    TButtonItem* FItem = nullptr;
    // Cleared by the destructor: a click handler may free the button.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

class TButtonItem : public TCollectionItem {
    ORLO_CLASS(TButtonItem, TCollectionItem)
public:
    explicit TButtonItem(TCollection* Collection);
    ~TButtonItem() override;

    TExBitBtn* Button() const noexcept { return FButton; }
    TButtonPanel* Panel() const;

    TBitBtnKind Kind() const;
    void SetKind(TBitBtnKind Value);
    String Caption() const;
    void SetCaption(const String& Value);
    TBitmap* Glyph() const;
    void SetGlyph(TBitmap* Value);
    TModalResult ModalResult() const;
    void SetModalResult(TModalResult Value);
    Integer NumGlyphs() const;
    void SetNumGlyphs(Integer Value);
    Integer TabOrder() const;
    void SetTabOrder(Integer Value);
    // 0 Cancel, 1 Default, 2 Enabled, 3 Visible.
    bool GetBool(Integer Index) const;
    void SetBool(Integer Index, bool Value);
    // 0 OnClick, 1 OnEnter, 2 OnExit.
    TNotifyEvent GetNotify(Integer Index) const;
    void SetNotify(Integer Index, TNotifyEvent Value);
    TKeyPressEvent OnKeyPress() const;
    void SetOnKeyPress(TKeyPressEvent Value);

    void Assign(TPersistent* Source) override;
    String DisplayName() const override;
    void SetCollection(TCollection* Value) override;

    // Glyph, ModalResult, NumGlyphs, Cancel and Default come with every kind but bkCustom.
    bool IsCustom() const { return Kind() == bkCustom; }

private:
    void Relayout() const;

    TExBitBtn* FButton; // owned
};

class TButtonCollection : public TOwnedCollection {
    ORLO_CLASS(TButtonCollection, TOwnedCollection)
public:
    explicit TButtonCollection(TButtonPanel* Panel);
    TButtonItem* Items(Integer Index) const {
        return static_cast<TButtonItem*>(TCollection::Items(Index));
    }
    TButtonItem* Add() { return static_cast<TButtonItem*>(TCollection::Add()); }
    TButtonPanel* Panel() const noexcept { return FPanel; }

protected:
    void Update(TCollectionItem* Item) override;

private:
    TButtonPanel* FPanel;
};

// Where the visible buttons go: the first at Along (left in a row, top in a
// column), each next one Step further, all Size long and CrossSize thick at Cross.
struct TButtonRowLayout {
    bool Horizontal = true;
    Integer Along = 0;
    Integer Step = 0;
    Integer Size = 0;
    Integer Cross = 0;
    Integer CrossSize = 0;
};

// The layout of Count (> 0) visible buttons on a panel of Width × Height: a
// row when it is wider than high, else a column. Buttons that do not fit
// first lose their gaps, then share the length equally.
TButtonRowLayout LayoutButtonRow(Integer Width, Integer Height, Integer DimX, Integer DimY,
                                 Integer Dist, TAlignment Alignment, Integer Count);

class TButtonPanel : public TPanel {
    ORLO_CLASS(TButtonPanel, TPanel)
public:
    // Aligned to the bottom, no outer bevel; in the designer it starts with
    // an OK and a Cancel button.
    explicit TButtonPanel(TComponent* AOwner);
    ~TButtonPanel() override;

    TAlignment ButtonAlignment() const noexcept { return FButtonAlignment; }
    void SetButtonAlignment(TAlignment Value);
    Integer ButtonDimX() const noexcept { return FButtonDimX; }
    void SetButtonDimX(Integer Value);
    Integer ButtonDimY() const noexcept { return FButtonDimY; }
    void SetButtonDimY(Integer Value);
    Integer ButtonDist() const noexcept { return FButtonDist; }
    void SetButtonDist(Integer Value);
    TButtonCollection* Buttons() const noexcept { return FButtons.get(); }
    void SetButtons(TButtonCollection* Value);

    TButtonClickNotify OnButtonClick;

    // Brackets several changes so that only one layout runs at the end.
    void BeginUpdateButtons();
    void EndUpdateButtons();
    // Places the visible buttons and hides the others.
    void LayoutButtons();

    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void DefineProperties(TFiler* Filer) override;
    void Loaded() override;

protected:
    friend class TExBitBtn;
    virtual void ButtonClicked(TButtonItem* Item);

private:
    void ReadButtonsEmpty(TReader* Reader);
    void WriteButtonsEmpty(TWriter* Writer);

    TAlignment FButtonAlignment = taCenter;
    Integer FButtonDimX = 128;
    Integer FButtonDimY = 32;
    Integer FButtonDist = 8;
    std::unique_ptr<TButtonCollection> FButtons;
    Integer FUpdateCount = 0;
};

} // namespace orlo
