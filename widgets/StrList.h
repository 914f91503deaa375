#pragma once
// TStrList: a component that holds a list of strings, so a form can keep one
// and settings can store it as one text: Text joins the items with Separator
// (";" unless set otherwise), and setting Text splits it there again.

#include "platform/classes/Component.h"
#include "platform/classes/Strings.h"
#include "platform/classes/TypInfo.h"

#include <memory>

namespace orlo {

class TStrList : public TComponent {
    ORLO_CLASS(TStrList, TComponent)
public:
    explicit TStrList(TComponent* AOwner);
    ~TStrList() override;

    TStrings* Strings() const noexcept { return FStrings.get(); }
    void SetStrings(TStrings* Value) { FStrings->Assign(Value); }
    const String& Separator() const noexcept { return FSeparator; }
    void SetSeparator(const String& Value) { FSeparator = Value; }
    // The items joined by Separator. An empty text is no item; an empty
    // Separator keeps the whole text as one item.
    String Text() const;
    void SetText(const String& Value);
    Integer Count() const { return FStrings->Count(); }
    // Form files keep the separator only when it is not ";".
    bool IsSeparatorStored() const { return FSeparator != ";"; }

private:
    std::unique_ptr<TStringList> FStrings;
    String FSeparator = ";";
};

} // namespace orlo
