#pragma once
// Panels, images and splitters.

#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"

namespace orlo {

ORLO_ENUM(TBevelCut, bvNone, bvLowered, bvRaised, bvSpace)

class TCustomPanel : public TCustomControl {
    ORLO_CLASS(TCustomPanel, TCustomControl)
public:
    explicit TCustomPanel(TComponent* AOwner);

    TAlignment Alignment() const noexcept { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TBevelCut BevelInner() const noexcept { return FBevelInner; }
    void SetBevelInner(TBevelCut Value);
    TBevelCut BevelOuter() const noexcept { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);
    Integer BevelWidth() const noexcept { return FBevelWidth; }
    void SetBevelWidth(Integer Value);
    Integer BorderWidth() const noexcept { return FBorderWidth; }
    void SetBorderWidth(Integer Value);
    TFormBorderStyle BorderStyle() const noexcept { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    bool FullRepaint = true;
    bool Locked = false;

    TNotifyEvent OnResize;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void InitWidget() override;
    void ApplyText() override;
    void Resize() override;
    TRect AlignRect() const override;

private:
    void ApplyFrame();
    Integer Inset() const;

    TAlignment FAlignment = taCenter;
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    Integer FBevelWidth = 1;
    Integer FBorderWidth = 0;
    TFormBorderStyle FBorderStyle = bsNone;
};

class TPanel : public TCustomPanel {
    ORLO_CLASS(TPanel, TCustomPanel)
public:
    explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

class TImage : public TGraphicControl {
    ORLO_CLASS(TImage, TGraphicControl)
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;

    TPicture* Picture() const noexcept { return FPicture.get(); }
    void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
    bool AutoSize() const noexcept { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool Center() const noexcept { return FCenter; }
    void SetCenter(bool Value);
    bool Stretch() const noexcept { return FStretch; }
    void SetStretch(bool Value);
    bool Transparent = false;

    // Keeps a widget of its own: the picture is shown by a QLabel.
    bool Windowless() const override { return false; }

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void InitWidget() override;

private:
    void PictureChanged(TObject* Sender);
    void ApplyPicture();

    std::unique_ptr<TPicture> FPicture;
    bool FAutoSize = false;
    bool FCenter = false;
    bool FStretch = false;
};

ORLO_ENUM(TResizeStyle, rsNone, rsLine, rsUpdate, rsPattern)
ORLO_EVENT(TCanResizeEvent, void(TObject* Sender, Integer& NewSize, bool& Accept))

// A bar between two aligned controls: dragging it resizes the neighbour
// aligned to the same side just before it (the control to its left for
// alLeft, above it for alTop, to its right for alRight, below it for
// alBottom). The neighbour keeps at least MinSize, and so does the space left
// for the rest of the parent; below MinSize it closes to 0 with AutoSnap.
class TSplitter : public TGraphicControl {
    ORLO_CLASS(TSplitter, TGraphicControl)
public:
    explicit TSplitter(TComponent* AOwner);
    ~TSplitter() override;

    Integer MinSize() const noexcept { return FMinSize; }
    void SetMinSize(Integer Value) { FMinSize = std::max(1, Value); }
    bool AutoSnap = true;
    bool Beveled = false;
    TResizeStyle ResizeStyle = rsPattern;

    // The control this splitter resizes; nil when none touches it.
    TControl* Neighbour() const;
    // What dragging the bar by Delta pixels does (right or down is positive):
    // the neighbour's new size, limited, offered to OnCanResize, then OnMoved.
    void MoveBy(Integer Delta);

    TCanResizeEvent OnCanResize;
    TNotifyEvent OnMoved;

    bool WidgetEvent(QEvent* Event) override;

    // Keeps a widget of its own: it takes the mouse to drag its neighbour's edge.
    bool Windowless() const override { return false; }

protected:
    void InitWidget() override;

private:
    bool Vertical() const { return Align() == alLeft || Align() == alRight; }
    Integer SizeOf(const TControl* Control) const;
    // The room the parent's client area leaves beside the aligned controls.
    Integer FreeSpace() const;

    Integer FMinSize = 30;
    Integer FDragStart = 0;
    bool FDragging = false;
    // Cleared by the destructor: a handler may free the splitter.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

} // namespace orlo
