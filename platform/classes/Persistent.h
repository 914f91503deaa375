#pragma once
// TPersistent: objects that can be assigned to each other and streamed.

#include "platform/classes/Object.h"

namespace orlo {

class TFiler;

class TPersistent : public TObject {
    ORLO_CLASS(TPersistent, TObject)
public:
    TPersistent() = default;

    // Copies Source into this object; classes that know Source override it.
    // EConvertError "Cannot assign a %s to a %s" when neither side knows the other.
    virtual void Assign(TPersistent* Source);
    // The object that owns this one in the streaming sense (nil at the top).
    virtual TPersistent* GetOwner() const { return nullptr; }
    // Dotted path of this object for the designer ("Form1.Font").
    virtual String GetNamePath() const;
    // Declares extra streamed properties through the filer.
    virtual void DefineProperties(TFiler* Filer) {}

protected:
    // Copies this object into Dest; the default refuses.
    virtual void AssignTo(TPersistent* Dest) const;
    [[noreturn]] void AssignError(const TPersistent* Source) const;
};

} // namespace orlo
