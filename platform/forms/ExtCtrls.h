#pragma once
// Panels and images.

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

} // namespace orlo
