// Streaming of string lists: the lines of a TStrings property are the extra
// property "Strings" of the list ("Lines.Strings"), a list of strings.

#include "platform/classes/Filer.h"
#include "platform/classes/Strings.h"

namespace orlo {

namespace {

void ReadLines(TStrings* Lines, TReader* Reader) {
    Reader->ReadListBegin();
    Lines->BeginUpdate();
    struct TEndUpdate {
        TStrings* S;
        ~TEndUpdate() { S->EndUpdate(); }
    } EndUpdate{Lines};
    Lines->Clear();
    while (!Reader->EndOfList())
        Lines->Add(Reader->ReadString());
    Reader->ReadListEnd();
}

void WriteLines(const TStrings* Lines, TWriter* Writer) {
    Writer->WriteListBegin();
    for (Integer I = 0; I < Lines->Count(); ++I)
        Writer->WriteString(Lines->Get(I));
    Writer->WriteListEnd();
}

} // namespace

void TStrings::DefineProperties(TFiler* Filer) {
    auto* Ancestor = dynamic_cast<TStrings*>(Filer->Ancestor());
    bool HasData = Ancestor ? !Equals(Ancestor) : Count() > 0;
    Filer->DefineProperty(
        "Strings", [this](TReader* Reader) { ReadLines(this, Reader); },
        [this](TWriter* Writer) { WriteLines(this, Writer); }, HasData);
}

} // namespace orlo
