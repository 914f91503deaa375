#include "tests/components/LanguageHost.h"

#include "platform/classes/Filer.h"
#include "platform/classes/Streams.h"
#include "runtime/ComponentExplorer.h"

namespace orlo::test {

// --- TLanguageHost -------------------------------------------------------------

TLanguageHost::TLanguageHost(TComponent* AOwner)
    : TComponent(AOwner),
      FManager(std::make_unique<TLanguageManager>(AOwner, this, this, cmInconsistent)) {}

TLanguageHost::~TLanguageHost() = default;

String TLanguageHost::Language() const {
    TLanguageEntries* Langs = FManager->Langs();
    for (Integer I = 0; I < Langs->Count(); ++I)
        if (Langs->Items(I)->IsActive())
            return Langs->Items(I)->Name();
    return String();
}

bool TLanguageHost::SetLanguage(const String& Name) {
    const Integer Index = FManager->Langs()->IndexOfName(Name);
    if (Index < 0)
        throw Exception(ClassName() + ".SetLanguage: Language not found");
    return FManager->SetLanguageByIndex(Index);
}

void TLanguageHost::AddLanguage(const String& Name, TSyncCountMode Mode) {
    TLanguageEntries Edited(nullptr);
    Edited.Assign(FManager->Langs());
    static_cast<TLanguageEntry*>(Edited.Add())->SetName(Name);
    FManager->AssignLangsAndSync(&Edited, Mode);
}

void TLanguageHost::AddStandardProperties() {
    TCESettings Settings;
    AddRootToMainEntries(Owner(), FManager->Comps(), Settings,
                         TInconsistentLangPropertyEntry::StaticClass(), Settings.StandardFilter());
    FManager->Init(cmInitAll);
}

void TLanguageHost::DefineProperties(TFiler* Filer) {
    TComponent::DefineProperties(Filer);
    FManager->DefineProperties("LanguageManager_", Filer);
}

void TLanguageHost::Loaded() {
    TComponent::Loaded();
    FManager->Init(cmInitAll);
}

ORLO_PUBLISHED(TLanguageHost, "LanguageHost") {}

// --- TLanguageTestForm -------------------------------------------------------------

std::unique_ptr<TLanguageTestForm> TLanguageTestForm::CreateWithComponents() {
    auto Form = std::make_unique<TLanguageTestForm>(nullptr);
    Form->SetName("LangForm");
    Form->SetCaption("Settings");
    auto Named = [&](auto* Component, const char* Name) {
        Component->SetName(Name);
        return Component;
    };
    Named(new TTestLabel(Form.get()), "Label1")->SetCaption("&OK");
    Form->Label1->SetHint("Accept the changes");
    Form->Label1->Font()->Name = "Arial";
    Named(new TTestLabel(Form.get()), "Label2")->SetCaption("Cancel");
    Named(new TTestMemo(Form.get()), "Memo1")->Lines()->SetText("First line\r\n\r\nThird line");
    Named(new TTestPanel(Form.get()), "Panel1");
    for (const char* Caption : {"Open", "Save"})
        static_cast<TTestPanelItem*>(Form->Panel1->Items()->Add())->Caption = Caption;
    Named(new TTestKinds(Form.get()), "Kinds1");
    Named(new TLanguageHost(Form.get()), "Host");
    return Form;
}

void TLanguageTestForm::GetChildren(const TGetChildProc& Proc, TComponent* Root) const {
    for (Integer I = 0; I < ComponentCount(); ++I)
        Proc(Components(I));
}

ORLO_PUBLISHED(TLanguageTestForm, "LanguageHost") {
    P.Property("Caption", &TLanguageTestForm::Caption, &TLanguageTestForm::SetCaption)
        .Type(TCaptionTypeInfo());
    P.Field("Label1", &TLanguageTestForm::Label1);
    P.Field("Label2", &TLanguageTestForm::Label2);
    P.Field("Memo1", &TLanguageTestForm::Memo1);
    P.Field("Panel1", &TLanguageTestForm::Panel1);
    P.Field("Kinds1", &TLanguageTestForm::Kinds1);
    P.Field("Host", &TLanguageTestForm::Host);
}

// --- Streaming -------------------------------------------------------------------------

void RegisterLanguageHostClasses() {
    RegisterTestClasses();
    RegisterClasses({TLanguageHost::StaticClass(), TLanguageTestForm::StaticClass()});
}

std::vector<Byte> SaveForm(TComponent* Form) {
    TMemoryStream Stream;
    Stream.WriteComponent(Form);
    const Byte* Data = Stream.Memory();
    return std::vector<Byte>(Data, Data + Stream.Size());
}

std::unique_ptr<TLanguageTestForm> LoadForm(const std::vector<Byte>& Bytes) {
    RegisterLanguageHostClasses();
    TMemoryStream Stream;
    Stream.WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
    Stream.SetPosition(0);
    auto Form = std::make_unique<TLanguageTestForm>(nullptr);
    Stream.ReadComponent(Form.get());
    return Form;
}

} // namespace orlo::test
