#pragma once
// The controls the example programs put on their forms: labels, memos and a
// form base class that streams the components it owns.

#include "platform/classes/Component.h"
#include "platform/classes/Strings.h"
#include "platform/rtl/Types.h"

#include <memory>

namespace example {

using namespace orlo;

class TLabel : public TComponent {
    ORLO_CLASS(TLabel, TComponent)
public:
    explicit TLabel(TComponent* AOwner) : TComponent(AOwner) {}
    String Caption;
    String Hint;
};

class TMemo : public TComponent {
    ORLO_CLASS(TMemo, TComponent)
public:
    explicit TMemo(TComponent* AOwner) : TComponent(AOwner) {}
    TStrings* Lines() const { return FLines.get(); }
    void SetLines(TStrings* Value) { FLines->Assign(Value); }

private:
    std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
};

// A form whose children, when streamed, are all the components it owns.
class TOwnerForm : public TComponent {
    ORLO_CLASS(TOwnerForm, TComponent)
public:
    explicit TOwnerForm(TComponent* AOwner) : TComponent(AOwner) {}
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;
};

} // namespace example
