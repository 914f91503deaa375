#include "examples/ExampleControls.h"

#include "platform/classes/TypInfo.h"

namespace example {

ORLO_PUBLISHED(TLabel, "ExampleControls") {
    P.Property("Caption", &TLabel::Caption);
    P.Property("Hint", &TLabel::Hint);
}

ORLO_PUBLISHED(TMemo, "ExampleControls") {
    P.Property("Lines", &TMemo::Lines, &TMemo::SetLines);
}

void TOwnerForm::GetChildren(const TGetChildProc& Proc, TComponent* Root) const {
    for (Integer I = 0; I < ComponentCount(); ++I)
        Proc(Components(I));
}

ORLO_PUBLISHED(TOwnerForm, "ExampleControls") {}

} // namespace example
