#pragma once
// TSuperForm: the form class every dialog of the package derives from. It
// sets its defaults before its form file is read (not auto-scrolled, centred
// on the screen, sizeable, its own font, hidden), limits how small or large
// the user can drag the window (SizeMinTrack, SizeMaxTrack, then
// OnGetMinMaxInfo), and keeps a one-line text of the window's placement,
// "(left top width height state)", that settings store and restore.

#include "platform/forms/Forms.h"

#include <memory>

namespace orlo {

// One tracking size: applied when Enabled and both sizes are greater than 0.
class TMinMaxInfo : public TPersistent {
    ORLO_CLASS(TMinMaxInfo, TPersistent)
public:
    TMinMaxInfo() = default;
    bool Enabled() const noexcept { return FEnabled; }
    void SetEnabled(bool Value);
    Integer SizeX() const noexcept { return FSizeX; }
    void SetSizeX(Integer Value);
    Integer SizeY() const noexcept { return FSizeY; }
    void SetSizeY(Integer Value);
    // Whether the size limits the window.
    bool Applies() const noexcept { return FEnabled && FSizeX > 0 && FSizeY > 0; }
    void Assign(TPersistent* Source) override;

    TNotifyEvent OnChange;

private:
    void Changed();

    bool FEnabled = false;
    Integer FSizeX = 0;
    Integer FSizeY = 0;
};

ORLO_EVENT(TMinMaxInfoNotify, void(TObject* Sender, TMinMaxRecord* Info))

class TSuperForm : public TForm {
    ORLO_CLASS(TSuperForm, TForm)
public:
    // The defaults only; TCustomForm::Create<F> reads the form files of F
    // and its ancestors.
    explicit TSuperForm(TComponent* AOwner);
    ~TSuperForm() override;

    TMinMaxInfo* SizeMinTrack() const noexcept { return FSizeMinTrack.get(); }
    void SetSizeMinTrack(TMinMaxInfo* Value) { FSizeMinTrack->Assign(Value); }
    TMinMaxInfo* SizeMaxTrack() const noexcept { return FSizeMaxTrack.get(); }
    void SetSizeMaxTrack(TMinMaxInfo* Value) { FSizeMaxTrack->Assign(Value); }
    TMinMaxInfoNotify OnGetMinMaxInfo;

    // Keeps AutoScroll as it is.
    void SetBorderStyleKeepingScroll(TFormBorderStyle Value);
    // In the designer, True first takes the main form's font.
    void SetParentFontFromMain(bool Value);

    // "(120 80 640 480 2)": the normal bounds and the window state (0 normal,
    // 1 minimised, 2 maximised).
    String GetWindowStateData() const;
    // Restores a text of GetWindowStateData: a sizeable window gets bounds and
    // state, any other only its position. A text that does not start with
    // "(", lacks a separator, holds a number that does not convert or a state
    // outside 0..2 changes nothing.
    void SetWindowStateData(const String& Text);

protected:
    void GetMinMaxInfo(TMinMaxRecord& Info) override;

private:
    // The design-time handle of the tracking-size editor; never stored.
    TComponent* SuperFormHandle() const noexcept { return nullptr; }
    void SetSuperFormHandle(TComponent*) noexcept {}
    void TrackingChanged(TObject* Sender);

    std::unique_ptr<TMinMaxInfo> FSizeMinTrack;
    std::unique_ptr<TMinMaxInfo> FSizeMaxTrack;
};

} // namespace orlo
