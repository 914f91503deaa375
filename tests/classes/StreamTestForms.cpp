#include "tests/classes/StreamTestForms.h"

#include "platform/classes/FormText.h"
#include "platform/classes/Streams.h"

#include <algorithm>

namespace orlo::test {

ORLO_PUBLISHED(TTestBox, "StreamTestForms") {
    P.Property("Text", &TTestBox::Text);
}

TTestBox::~TTestBox() {
    SetParentComponent(nullptr);
    for (TTestBox* Child : FChildren)
        Child->FParent = nullptr;
}

void TTestBox::SetParentComponent(TComponent* Value) {
    if (FParent)
        std::erase(FParent->FChildren, this);
    FParent = dynamic_cast<TTestBox*>(Value);
    if (FParent)
        FParent->FChildren.push_back(this);
}

void TTestBox::GetChildren(const TGetChildProc& Proc, TComponent*) const {
    for (TTestBox* Child : FChildren)
        Proc(Child);
}

void TTestBox::SetChildOrder(TComponent* Child, Integer Order) {
    auto Found = std::find(FChildren.begin(), FChildren.end(), Child);
    if (Found == FChildren.end() || Order < 0 || Order >= Integer(FChildren.size()))
        return;
    FChildren.erase(Found);
    FChildren.insert(FChildren.begin() + Order, static_cast<TTestBox*>(Child));
}

ORLO_PUBLISHED(TTestForm, "StreamTestForms") {
    P.Property("Caption", &TTestForm::Caption);
    P.Field("Label1", &TTestForm::Label1);
    P.Field("Kinds1", &TTestForm::Kinds1);
    P.Method<&TTestForm::KidClick>("KidClick");
}

void TTestForm::GetChildren(const TGetChildProc& Proc, TComponent* Root) const {
    for (Integer I = 0; I < ComponentCount(); ++I)
        if (!Components(I)->GetParentComponent())
            Proc(Components(I));
}

void TTestForm::Loaded() {
    ++LoadedCount;
    LoadingDuringLoaded = ComponentState().Contains(csLoading);
    ReadingDuringLoaded = ComponentState().Contains(csReading);
    if (Label1)
        LabelCaptionAtLoaded = Label1->Caption();
    TComponent::Loaded();
}

ORLO_PUBLISHED(TTestForm2, "StreamTestForms") {
    P.Field("Label2", &TTestForm2::Label2);
}

ORLO_PUBLISHED(TTestFrame, "StreamTestForms") {}

void TTestFrame::GetChildren(const TGetChildProc& Proc, TComponent*) const {
    for (Integer I = 0; I < ComponentCount(); ++I)
        Proc(Components(I));
}

ORLO_PUBLISHED(TLangItem, "StreamTestForms") {
    P.Property("Name", &TLangItem::Name);
    P.Property("SubIndex", &TLangItem::SubIndex);
}

ORLO_PUBLISHED(TComp, "StreamTestForms") {}

TComp::TComp(TComponent* AOwner) : TComponent(AOwner) {}

void TComp::AddLanguage(const String& Name, Integer SubIndex) {
    auto* Item = static_cast<TLangItem*>(Langs.Add());
    Item->Name = Name;
    Item->SubIndex = SubIndex;
}

void TComp::DefineProperties(TFiler* Filer) {
    TComponent::DefineProperties(Filer);
    Filer->DefineProperty(
        "LanguageManager_Langs", [this](TReader* R) { ReadLangs(R); },
        [this](TWriter* W) { WriteLangs(W); }, true);
    Filer->DefineBinaryProperty(
        "Payload",
        [this](TStream* S) {
            Payload.resize(static_cast<size_t>(S->Size()));
            S->ReadBuffer(Payload.data(), static_cast<Integer>(Payload.size()));
        },
        [this](TStream* S) {
            S->WriteBuffer(Payload.data(), static_cast<Integer>(Payload.size()));
        },
        !Payload.empty());
}

void TComp::ReadLangs(TReader* Reader) {
    Langs.Clear();
    Reader->CheckValue(vaCollection);
    Reader->ReadCollection(&Langs);
}

void TComp::WriteLangs(TWriter* Writer) {
    Writer->WriteCollection(&Langs);
}

void RegisterStreamTestClasses() {
    RegisterTestClasses();
    RegisterClasses({TTestBox::StaticClass(), TTestForm::StaticClass(), TTestForm2::StaticClass(),
                     TComp::StaticClass(), TTestFrame::StaticClass()});
}

String TextOf(const String& Binary) {
    TStringStream In(Binary), Out;
    ObjectBinaryToText(&In, &Out);
    return Out.DataString();
}

String BinaryOf(const String& Text) {
    TStringStream In(Text), Out;
    ObjectTextToBinary(&In, &Out);
    return Out.DataString();
}

} // namespace orlo::test
