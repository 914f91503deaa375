#include "runtime/Glossa.h"

#include "platform/classes/AppHooks.h"
#include "platform/classes/Resources.h"
#include "platform/classes/Strings.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"
#include "runtime/GlossaSystem.h"
#include "tools/Debug.h"
#include "tools/VersionControl.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

namespace orlo {

namespace {

constexpr const char* UnitHeader = "$Header: /runtime/Glossa.cpp 1.0 09.12.26 23:00 orlo $";
constexpr const char* TraceChannel = "Glossa";
constexpr const char* TraceTitle = "Orlo Language Switcher Component";
constexpr const char* StoredDataPrefix = "LanguageManager_";

template <class... A> void Trace(std::string_view Fmt, const A&... Args) {
    if (TDebug::Enabled())
        TDebug::Write(String(TraceChannel) + ": " + Format(String(Fmt), Args...));
}

// The unit's trace channel: opened and closed with the unit.
struct TTraceChannel {
    TTraceChannel() { Trace("%s opened", TraceTitle); }
    ~TTraceChannel() { Trace("%s closed", TraceTitle); }
};

// The process-wide state. Members are set up in declaration order and torn
// down in reverse, which is the unit's order of finalisation.
struct TUnitState {
    TUnitVersion Version{UnitHeader};
    TTraceChannel Channel;
    TLanguageFrames NoDomainFrames;
    TLanguageFrames DomainFrames;
    std::unique_ptr<TMethodList> CreateNotifies;
    std::vector<std::unique_ptr<TGlossa>> UnitGlossas;
    Integer UnitCreationDepth = 0;

    TUnitState();
    // The hidden components go first, while the frames they leave still exist.
    ~TUnitState() {
        while (!UnitGlossas.empty())
            UnitGlossas.pop_back();
    }
};

Integer InitCount = 0;
TUnitState* State = nullptr;

String FrameLanguage(const TLanguageNotify& Listener) {
    if (!State)
        return String();
    String Language;
    if (State->NoDomainFrames.GetLanguage(Listener, Language) ||
        State->DomainFrames.GetLanguage(Listener, Language))
        return Language;
    return State->NoDomainFrames.LastLanguage();
}

String FrameName(const TLanguageNotify& Listener) {
    if (!State)
        return String();
    for (TLanguageFrames* Frames : {&State->DomainFrames, &State->NoDomainFrames})
        if (const TLanguageFrame* Frame = Frames->FindFrame(Listener))
            return Frame->Name();
    return String();
}

// Moves Listener into the frame of Domain (blank: the frames without domain);
// whether a frame had to be founded.
bool AttachToFrame(const String& Domain, bool TopLevel, const TLanguageNotify& Listener) {
    if (!State || !Listener)
        return false;
    if (!Domain.empty()) {
        State->NoDomainFrames.DelNotify(Listener);
        return State->DomainFrames.AddNotify(Domain, Listener, TopLevel);
    }
    State->DomainFrames.DelNotify(Listener);
    return State->NoDomainFrames.AddNotify(String(), Listener, TopLevel);
}

void DetachFromFrames(const TLanguageNotify& Listener) {
    if (!State)
        return;
    State->NoDomainFrames.DelNotify(Listener);
    State->DomainFrames.DelNotify(Listener);
}

void SwitchFrameOf(const String& Language, const TLanguageNotify& Listener) {
    if (State)
        SetGlobalLanguage({&State->NoDomainFrames, &State->DomainFrames}, Language, Listener);
    else
        SetGlobalLanguage({}, Language, Listener);
}

// Watches whether a component still exists after a call that may free it.
using TLifeWatch = std::weak_ptr<const bool>;

// A guarded call out of Component: what the callee raises is shown with
// Component as sender, or without a sender once the callee has freed it.
// Whether Component still exists.
template <class F> bool CallOut(TGlossa* Component, const TLifeWatch& Life, F&& Body) {
    try {
        Body();
    } catch (...) {
        HandleException(Life.expired() ? nullptr : Component);
    }
    return !Life.expired();
}

// Calls every TLangNotify of List with Glossa, the newest registration first.
// A listener unregistered by an earlier one is skipped; what a listener
// raises is shown with Sender and the others still run. The walk ends when a
// listener frees Sender, whose list goes with it.
void CallNewestFirst(TMethodList& List, TGlossa* Glossa, TGlossa* Sender, const TLifeWatch& Life) {
    std::vector<TMethod> Snapshot;
    Snapshot.reserve(static_cast<size_t>(List.Count()));
    for (Integer I = 0; I < List.Count(); ++I)
        Snapshot.push_back(List.Items(I));
    for (auto Method = Snapshot.rbegin(); Method != Snapshot.rend(); ++Method) {
        const TLangNotify Notify(*Method);
        if (Notify && List.IndexOf(Notify) >= 0 && !CallOut(Sender, Life, [&] { Notify(Glossa); }))
            return;
    }
}

// Registering a listener again moves it to the end, so it is called first.
void Reregister(std::unique_ptr<TMethodList>& List, const TLangNotify& Notify) {
    if (!Notify)
        return;
    if (!List)
        List = std::make_unique<TMethodList>();
    List->Remove(Notify);
    List->Add(Notify);
}

void Unregister(const std::unique_ptr<TMethodList>& List, const TLangNotify& Notify) {
    if (List)
        List->Remove(Notify);
}

// The outermost owner that is being read together with Component: the form
// whose TGlossa components are regrouped by a top-level one.
TComponent* LoadingForm(TComponent* Component) {
    TComponent* Form = Component->Owner();
    if (!Form)
        return nullptr;
    while (Form->Owner() && Form->Owner()->ComponentState().Contains(csLoading))
        Form = Form->Owner();
    return Form;
}

// Every TGlossa owned by Owner, directly or further down, owned components
// before their owner; each once.
void CollectGlossas(TComponent* Owner, std::vector<TGlossa*>& Found) {
    for (Integer I = 0; I < Owner->ComponentCount(); ++I) {
        TComponent* Component = Owner->Components(I);
        CollectGlossas(Component, Found);
        auto* Glossa = dynamic_cast<TGlossa*>(Component);
        if (Glossa && std::find(Found.begin(), Found.end(), Glossa) == Found.end())
            Found.push_back(Glossa);
    }
}

// "Form.Component", or the component's name alone without an owner.
String QualifiedName(const TComponent* Component) {
    const TComponent* Owner = Component->Owner();
    return Owner ? Owner->Name() + "." + Component->Name() : Component->Name();
}

// The TGlossa components of Control's part of the form: for each control
// below it (its streamed children, the last first, each before the control
// holding it), then for Control itself, the ones they own.
void CollectControlGlossas(TComponent* Control, TComponent* Form, std::vector<TGlossa*>& Found) {
    std::vector<TComponent*> Children;
    Control->GetChildren([&](TComponent* Child) { Children.push_back(Child); }, Form);
    for (auto Child = Children.rbegin(); Child != Children.rend(); ++Child)
        CollectControlGlossas(*Child, Form, Found);
    CollectGlossas(Control, Found);
}

String WithoutTrailingDigits(const String& Name) {
    const size_t End = Name.find_last_not_of("0123456789");
    return End == String::npos ? String() : Name.substr(0, End + 1);
}

TUnitState::TUnitState() {
    // Form files name the component by its class.
    RegisterClass(TGlossa::StaticClass());
    if (RunningInDesigner())
        return;
    String English, Native;
    if (!GetDefaultLanguage(English, Native))
        return;
    NoDomainFrames.DefineStartupLanguage(English, false);
    DomainFrames.DefineStartupLanguage(English, false);
}

} // namespace

// --- TGlossa -------------------------------------------------------------------

ORLO_PUBLISHED(TGlossa, "Glossa") {
    P.Property("Domain", &TGlossa::GetDomain, &TGlossa::SetDomain);
    P.Property("Language", &TGlossa::GetLanguage, &TGlossa::SetLanguage);
    P.Property("Languages", &TGlossa::LanguagesRow, &TGlossa::SetLanguagesRow).Stored(false);
    P.Property("TopLevel", &TGlossa::FTopLevel, &TGlossa::SetTopLevel).Default(0);
    P.Property("BeforeChange", &TGlossa::BeforeChange);
    P.Property("OnChange", &TGlossa::OnChange);
    P.Property("AfterChange", &TGlossa::AfterChange);
}

namespace {

TFurtherComponentQuery& FurtherComponentQuery() noexcept {
    static TFurtherComponentQuery Query = nullptr;
    return Query;
}

} // namespace

TFurtherComponentQuery SetFurtherComponentQuery(TFurtherComponentQuery Query) noexcept {
    return std::exchange(FurtherComponentQuery(), Query);
}

TGlossa::TGlossa(TComponent* AOwner) : TComponent(AOwner) {
    CheckAlreadyExists();
    FCreatedInDesigner = Designing();
    if (!AOwner && !(State && State->UnitCreationDepth > 0))
        throw Exception(Format("Component owner for %s required", ClassName()));
    FLanguageManager = std::make_unique<TLanguageManager>(AOwner, this, this, cmInconsistent);
    AttachToFrame(String(), false, Listener());
    if (State && State->CreateNotifies)
        CallNewestFirst(*State->CreateNotifies, this, this, FLife);
}

TGlossa::~TGlossa() {
    SendChangeNotify(nullptr);
    FChangeNotifies.reset();
    DetachFromFrames(Listener());
    FLanguageManager.reset();
}

// Only for a component the developer has just dropped: its owner is designed
// and not being read.
void TGlossa::CheckAlreadyExists() {
    const TComponent* Form = Owner();
    if (!Form || !Form->ComponentState().Contains(csDesigning) ||
        Form->ComponentState().Contains(csLoading))
        return;
    for (Integer I = 0; I < Form->ComponentCount(); ++I) {
        const TComponent* Other = Form->Components(I);
        if (Other != this && Other->ClassName() == ClassName()) {
            if (const TFurtherComponentQuery Query = FurtherComponentQuery(); Query && !Query(this))
                Abort();
            return;
        }
    }
}

String TGlossa::GetString(const String& ID) const {
    String Value;
    if (!FLanguageManager->GetString(ID, Value))
        throw EStringNotFound("Character string identifier not found: " + ID);
    return Value;
}

String TGlossa::GetLanguage() const {
    TLanguageEntries* Langs = FLanguageManager->Langs();
    for (Integer I = 0; I < Langs->Count(); ++I)
        if (Langs->Items(I)->IsActive())
            return Langs->Items(I)->Name();
    return String();
}

void TGlossa::SetLanguage(const String& Value) {
    if (!FLoaded && Loading())
        FStartLanguage = Trim(Value);
    else
        SwitchFrameOf(Value, Listener());
}

void TGlossa::GetLanguages(TStrings* Strings) const {
    TStringList Names;
    TLanguageEntries* Langs = FLanguageManager->Langs();
    for (Integer I = 0; I < FLanguageManager->GetLangCount(); ++I)
        Names.Add(Langs->Items(I)->Name());
    Names.Sort();
    Strings->Assign(&Names);
}

String TGlossa::GetDomain() const {
    if (Designing() && !FDomain.empty()) {
        const String Framed = FrameName(const_cast<TGlossa*>(this)->Listener());
        if (AnsiSameText(Framed, FDomain))
            return Framed;
    }
    return FDomain;
}

void TGlossa::SetDomain(const String& Value) {
    const String Domain = Trim(Value);
    const bool Changed = Designing() ? Domain != FDomain : !AnsiSameText(Domain, FDomain);
    if (!Changed)
        return;
    const bool Founded = AttachToFrame(Domain, FTopLevel, Listener());
    FDomain = Domain;
    if (Loading())
        return;
    if (Founded && Designing())
        SwitchFrameOf(GetLanguage(), Listener());
    else if (!AnsiSameText(GetLanguage(), FrameLanguage(Listener())))
        AdoptLanguage(FrameLanguage(Listener()));
}

void TGlossa::SetTopLevel(bool Value) {
    if (Value == FTopLevel)
        return;
    if (!Loading() && !Designing())
        throw Exception(ClassName() + ".TopLevel can only be changed at designing time");
    if (Value)
        Trace("%s: %s.TopLevel = True", ClassName(), Name());
    if (Loading() && !Designing() && FDomain.empty()) {
        AttachToFrame(String(), Value, Listener());
        ReattachSiblings();
    }
    FTopLevel = Value;
}

void TGlossa::ReattachSiblings() {
    TComponent* Form = LoadingForm(this);
    if (!Form)
        return;
    std::vector<TGlossa*> Glossas;
    CollectControlGlossas(Form, Form, Glossas);
    if (auto* Glossa = dynamic_cast<TGlossa*>(Form))
        Glossas.push_back(Glossa);
    for (TGlossa* Glossa : Glossas)
        if (Glossa != this && Glossa->FDomain.empty())
            AttachToFrame(String(), Glossa->FTopLevel, Glossa->Listener());
}

void TGlossa::InitLanguages() {
    FLanguageManager->Init(cmInitAll);
}

void TGlossa::SetLanguageNotify(TObject*, const String& Language, TActionMode Action) {
    if (Language.empty())
        return;
    try {
        switch (Action) {
        case amBeforeChange:
            if (TriggersEnabled())
                TriggerBeforeChange();
            break;
        case amSetLanguage:
            SwitchManagerTo(Language);
            break;
        case amChange:
            if (TriggersEnabled())
                TriggerOnChange();
            break;
        case amAfterChange:
            if (TriggersEnabled())
                TriggerAfterChange();
            break;
        default:
            throw ECaseError(ClassName() + ".SetLanguageNotify: Invalid action");
        }
    } catch (const ELanguageNotFound& Error) {
        // This component lacks the language: it keeps the values it shows.
        Trace("%s: switch to '%s' dropped: %s", QualifiedName(this), Language, Error.Message());
    } catch (...) {
        HandleException(this);
    }
}

// Writes the values of the first language whose name denotes Language.
void TGlossa::SwitchManagerTo(const String& Language) {
    TLanguageEntries* Langs = FLanguageManager->Langs();
    for (Integer I = 0; I < Langs->Count(); ++I)
        if (CompareLanguages(Langs->Items(I)->Name(), Language)) {
            FLanguageManager->SetLanguageByIndex(I);
            return;
        }
    if (!FLanguageManager->HasRoot())
        throw ELanguageNotFound(Format("Language '%s' of a multilingual unit not found", Language));
    throw ELanguageNotFound(Format("Language '%s' of form %s not found", Language,
                                   FLanguageManager->Root()->ClassName()));
}

// This component alone goes through the steps of a switch to Language.
void TGlossa::AdoptLanguage(const String& Language) {
    const TLifeWatch Life = FLife;
    for (TActionMode Action : {amBeforeChange, amSetLanguage, amChange, amAfterChange}) {
        SetLanguageNotify(this, Language, Action);
        if (Life.expired())
            return;
    }
}

void TGlossa::RegisterChangeNotify(const TLangNotify& Notify) {
    Reregister(FChangeNotifies, Notify);
}

void TGlossa::UnregisterChangeNotify(const TLangNotify& Notify) {
    Unregister(FChangeNotifies, Notify);
}

void TGlossa::SendChangeNotify(TGlossa* Glossa) {
    if (FChangeNotifies)
        CallNewestFirst(*FChangeNotifies, Glossa, this, FLife);
}

void TGlossa::RegisterCreateNotify(const TLangNotify& Notify) {
    if (State)
        Reregister(State->CreateNotifies, Notify);
}

void TGlossa::UnregisterCreateNotify(const TLangNotify& Notify) {
    if (State)
        Unregister(State->CreateNotifies, Notify);
}

void TGlossa::TriggerBeforeChange() {
    if (BeforeChange)
        CallOut(this, FLife, [&] { BeforeChange(this); });
}

// Each step runs only while the steps before it left the component alive.
void TGlossa::TriggerOnChange() {
    const TLifeWatch Life = FLife;
    SendChangeNotify(this);
    if (Life.expired())
        return;
    if (OnChange && !CallOut(this, Life, [&] { OnChange(this); }))
        return;
    if (FUnitNotify)
        CallOut(this, Life, [&] { FUnitNotify(GetLanguage()); });
}

void TGlossa::TriggerAfterChange() {
    if (AfterChange)
        CallOut(this, FLife, [&] { AfterChange(this); });
}

void TGlossa::DefineProperties(TFiler* Filer) {
    TComponent::DefineProperties(Filer);
    FLanguageManager->DefineProperties(StoredDataPrefix, Filer);
}

void TGlossa::Loaded() {
    TComponent::Loaded();
    try {
        FCreatedInDesigner = false;
        InitLanguages();
        FLoaded = true;
        // A handler may close the form: what follows runs only while it is open.
        const TLifeWatch Life = FLife;
        ApplyFrameLanguage();
        if (!Life.expired())
            TriggerBeforeChange();
        if (!Life.expired())
            TriggerOnChange();
        if (!Life.expired())
            TriggerAfterChange();
    } catch (...) {
        Trace("%s: %s.Loaded: %s", ClassName(), Name(),
              DescribeException(std::current_exception()).Message);
        HandleException(this);
    }
}

// Takes the frame's language, or gives the frame this component's language
// when the frame has none; this component's triggers wait for Loaded.
void TGlossa::ApplyFrameLanguage() {
    auto Lock = CountForScope(FLockCount);
    const String Language = FrameLanguage(Listener());
    if (!Language.empty()) {
        SetLanguageNotify(this, Language, amSetLanguage);
        return;
    }
    if (FStartLanguage.empty())
        FStartLanguage = GetLanguage();
    SwitchFrameOf(FStartLanguage, Listener());
}

void TGlossa::SetName(const String& NewName) {
    const bool FirstName = FCreatedInDesigner && !Loading();
    if (!FirstName) {
        TComponent::SetName(NewName);
        return;
    }
    FCreatedInDesigner = false;
    NameWithoutNumber(NewName, [this](const String& Name) { TComponent::SetName(Name); });
}

// --- Routines of the unit --------------------------------------------------------

void NameWithoutNumber(const String& Name, const std::function<void(const String&)>& SetName) {
    const String Short = WithoutTrailingDigits(Name);
    if (!Short.empty()) {
        try {
            SetName(Short);
            return;
        } catch (const EComponentError&) {
            // The short name is taken: the proposed one stays.
        }
    }
    SetName(Name);
}

void InitGlossa(const String& ResName, TLanguageChangeProc ChangeProc, TGetString& GetString) {
    if (!State)
        throw Exception("InitGlossa failed. The language unit is finalised");
    std::unique_ptr<TGlossa> Glossa;
    {
        auto Creating = CountForScope(State->UnitCreationDepth);
        Glossa = std::make_unique<TGlossa>(nullptr);
    }
    Glossa->FUnitNotify = ChangeProc;
    try {
        ReadComponentRes(ResName, Glossa.get());
    } catch (Exception& Error) {
        Error.SetMessage("InitGlossa failed. " + Error.Message());
        throw;
    }
    GetString = TGetString::Make<&TGlossa::GetString>(Glossa.get());
    State->UnitGlossas.push_back(std::move(Glossa));
}

void DefineStartupLanguage(const String& Language) {
    const bool Allowed = State && !Trim(Language).empty() &&
                         State->NoDomainFrames.CanDefineStartupLanguage() &&
                         State->DomainFrames.CanDefineStartupLanguage();
    if (!Allowed) {
        Trace("DefineStartupLanguage: Startup language '%s' ignored - already defined or started",
              Language);
        return;
    }
    State->NoDomainFrames.DefineStartupLanguage(Language, true);
    State->DomainFrames.DefineStartupLanguage(Language, true);
    Trace("DefineStartupLanguage: Startup language is '%s'", Language);
}

String GetCurrentUserLanguage() {
    String English, Native;
    GetDefaultLanguage(English, Native);
    return English;
}

TLanguageFrames* GlossaNoDomainFrames() noexcept {
    return State ? &State->NoDomainFrames : nullptr;
}

TLanguageFrames* GlossaDomainFrames() noexcept {
    return State ? &State->DomainFrames : nullptr;
}

// --- Unit initialisation and finalisation ----------------------------------------

TGlossaUnitInit::TGlossaUnitInit() {
    if (InitCount++ == 0)
        State = new TUnitState();
}

TGlossaUnitInit::~TGlossaUnitInit() {
    if (--InitCount == 0) {
        // State stays reachable while it goes: the hidden components leave their frames.
        delete State;
        State = nullptr;
    }
}

} // namespace orlo
