#include "widgets/StrList.h"

namespace orlo {

ORLO_PUBLISHED(TStrList, "StrList") {
    P.Property("Separator", &TStrList::Separator, &TStrList::SetSeparator)
        .Stored(&TStrList::IsSeparatorStored);
    P.Property("Strings", &TStrList::Strings, &TStrList::SetStrings);
    // The same items as Strings: readable and writable for settings, never
    // stored twice in a form.
    P.Property("Text", &TStrList::Text, &TStrList::SetText).Stored(false);
}

// Form files name the component by its class.
const bool TStrListRegistered = (RegisterClass(TStrList::StaticClass()), true);

TStrList::TStrList(TComponent* AOwner)
    : TComponent(AOwner), FStrings(std::make_unique<TStringList>()) {}

TStrList::~TStrList() = default;

String TStrList::Text() const {
    String Result;
    for (Integer I = 0; I < FStrings->Count(); ++I) {
        if (I > 0)
            Result += FSeparator;
        Result += FStrings->Strings(I);
    }
    return Result;
}

void TStrList::SetText(const String& Value) {
    FStrings->BeginUpdate();
    FStrings->Clear();
    if (FSeparator.empty()) {
        if (!Value.empty())
            FStrings->Add(Value);
    } else if (!Value.empty()) {
        size_t Start = 0;
        for (size_t At; (At = Value.find(FSeparator, Start)) != String::npos;
             Start = At + FSeparator.size())
            FStrings->Add(Value.substr(Start, At - Start));
        FStrings->Add(Value.substr(Start));
    }
    FStrings->EndUpdate();
}

} // namespace orlo
