#include "platform/forms/ModalScript.h"

#include "platform/rtl/SysUtils.h"

#include <QTimer>

namespace orlo {

TControl* FindControl(TComponent* Form, const String& Name) {
    if (auto* Found = dynamic_cast<TControl*>(Form->FindComponent(Name)))
        return Found;
    for (Integer I = 0; I < Form->ComponentCount(); ++I)
        if (TControl* Nested = FindControl(Form->Components(I), Name))
            return Nested;
    return nullptr;
}

TModalScript::TModalScript()
    : FPreviousRunner(Application->SetModalRunner([this](TCustomForm* Form) { Run(Form); })),
      FPreviousLog(Application->SetActionLog(&FLog)) {}

TModalScript::~TModalScript() {
    Application->SetModalRunner(std::move(FPreviousRunner));
    Application->SetActionLog(FPreviousLog);
}

TModalScript& TModalScript::Answer(TAnswer Answer) {
    FAnswers.push_back(std::move(Answer));
    return *this;
}

TModalScript& TModalScript::Result(TModalResult Value) {
    return Answer([Value](TCustomForm* Form) { Form->SetModalResult(Value); });
}

TModalScript& TModalScript::Click(const String& ControlName) {
    return Answer([ControlName](TCustomForm* Form) {
        TControl* Control = FindControl(Form, ControlName);
        if (!Control)
            throw EComponentError(Format("Form %s has no control %s", Form->Name(), ControlName));
        Control->Click();
    });
}

TModalScript& TModalScript::Press(Word Key) {
    return Answer([Key](TCustomForm* Form) { Form->PressKey(Key); });
}

TModalScript& TModalScript::CloseBox() {
    return Answer([](TCustomForm* Form) { Form->SystemClose(); });
}

void TModalScript::Run(TCustomForm* Form) {
    FShown.push_back(Form->Name().empty() ? Form->ClassName() : Form->Name());
    if (FAnswers.empty())
        throw EInvalidOperation(Format("No answer for modal form %s", FShown.back()));
    TAnswer Next = std::move(FAnswers.front());
    FAnswers.pop_front();
    Next(Form);
}

TModalWatchdog::TModalWatchdog(int Milliseconds) : FTimer(std::make_unique<QTimer>()) {
    FTimer->setSingleShot(true);
    QObject::connect(FTimer.get(), &QTimer::timeout, [] {
        for (Integer I = 0; I < Screen->FormCount(); ++I)
            Screen->Forms(I)->SetModalResult(mrAbort);
    });
    FTimer->start(Milliseconds);
}

TModalWatchdog::~TModalWatchdog() = default;

} // namespace orlo
