#include "runtime/GlossaFrames.h"

#include "platform/classes/AppHooks.h"
#include "platform/classes/Lists.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"
#include "tools/Debug.h"
#include "tools/VersionControl.h"

#include <algorithm>
#include <span>

namespace orlo {

namespace {

const TUnitVersion Version("$Header: /runtime/GlossaFrames.cpp 1.0 09.12.26 22:10 orlo $");

Integer GlobalChangeDepth = 0;

// Calls one listener with its own object as Sender. What it raises is traced
// and, unless the listener merely lacks the language, shown.
void CallListener(const TLanguageNotify& Listener, const String& Language, TActionMode Action) {
    TObject* Sender = static_cast<TObject*>(Listener.Data);
    try {
        Listener(Sender, Language, Action);
    } catch (const ELanguageNotFound& Error) {
        TDebug::WriteFmt("SetLanguageAction error: %s", Error.Message());
    } catch (...) {
        TDebug::WriteFmt("SetLanguageAction error: %s",
                         DescribeException(std::current_exception()).Message);
        HandleException(Sender);
    }
}

// The steps of a switch, in order.
constexpr TActionMode SwitchSteps[] = {amBeforeChange, amSetLanguage, amChange, amAfterChange};

} // namespace

// --- TLanguageFrame ------------------------------------------------------------

ORLO_UNPUBLISHED(TLanguageFrame, "GlossaFrames")

// Marks a switch of the frame; the outermost one ending releases a frame that
// lost its last listener meanwhile.
class TLanguageFrame::TSwitchScope {
public:
    explicit TSwitchScope(TLanguageFrame& Frame) : FFrame(Frame) { ++FFrame.FSwitchDepth; }
    ~TSwitchScope() {
        if (--FFrame.FSwitchDepth == 0 && FFrame.FFrames)
            FFrame.FFrames->ReleaseIfEmpty(&FFrame);
    }
    TSwitchScope(const TSwitchScope&) = delete;
    TSwitchScope& operator=(const TSwitchScope&) = delete;

private:
    TLanguageFrame& FFrame;
};

TLanguageFrame::TLanguageFrame(TLanguageFrames* Frames, const String& Name)
    : FFrames(Frames), FName(Trim(Name)) {
    if (!FFrames)
        return;
    if (!RunningInDesigner())
        FLanguage =
            FFrames->FItems.empty() ? FFrames->FLastLanguage : FFrames->FItems.back()->FLanguage;
    FFrames->FItems.push_back(this);
}

TLanguageFrame::~TLanguageFrame() {
    if (!FFrames)
        return;
    FFrames->FLastLanguage = FLanguage;
    FFrames->FStartupLocked = true;
    FFrames->Detach(this);
}

void TLanguageFrame::AddNotify(const TLanguageNotify& Notify) {
    if (Notify && !Exists(Notify))
        FNotifies.Add(Notify);
}

bool TLanguageFrame::DelNotify(const TLanguageNotify& Notify) {
    return FNotifies.Remove(Notify) >= 0;
}

bool TLanguageFrame::Exists(const TLanguageNotify& Notify) const noexcept {
    return FNotifies.IndexOf(Notify) >= 0;
}

bool TLanguageFrame::SetLanguage(const TLanguageNotify& Notify, const String& Language) {
    const String Target = Trim(Language);
    TSwitchScope Scope(*this);
    if (!SetLanguageAction(Notify, Target, amBeforeChange))
        return false;
    // The other members get every pass even when the listener that started
    // the switch has left the frame meanwhile.
    for (TActionMode Action : std::span(SwitchSteps).subspan(1))
        RunAction(Target, Action);
    return true;
}

bool TLanguageFrame::SetLanguageAction(const TLanguageNotify& Notify, const String& Language,
                                       TActionMode Action) {
    // Copies: a listener may change what the arguments refer to.
    const String Target = Trim(Language);
    if (Target.empty() || !Exists(Notify))
        return false;
    if (Action == amBeforeChange && AnsiSameText(Target, FLanguage))
        return false;
    RunAction(Target, Action);
    return true;
}

void TLanguageFrame::RunAction(const String& Language, TActionMode Action) {
    TSwitchScope Scope(*this);
    if (Action == amSetLanguage)
        FLanguage = Language;
    NotifyAll(Language, Action);
}

void TLanguageFrame::NotifyAll(const String& Language, TActionMode Action) {
    FNotifies.ForEach([&](const TMethod& Method, Integer) {
        CallListener(TLanguageNotify(Method), Language, Action);
    });
}

// --- TLanguageFrames -----------------------------------------------------------

ORLO_UNPUBLISHED(TLanguageFrames, "GlossaFrames")

TLanguageFrames::~TLanguageFrames() {
    for (TLanguageFrame* Frame : FItems) {
        Frame->FFrames = nullptr;
        delete Frame;
    }
}

TLanguageFrame* TLanguageFrames::Items(Integer Index) const {
    if (Index < 0 || Index >= Count())
        ListIndexError(Index);
    return FItems[Index];
}

TLanguageFrame* TLanguageFrames::FindFrame(const TLanguageNotify& Notify) const noexcept {
    for (TLanguageFrame* Frame : FItems)
        if (Frame->Exists(Notify))
            return Frame;
    return nullptr;
}

bool TLanguageFrames::GetFrame(const TLanguageNotify& Notify,
                               TLanguageFrame*& Frame) const noexcept {
    Frame = FindFrame(Notify);
    return Frame != nullptr;
}

TLanguageFrame* TLanguageFrames::FindNamed(const String& Name) const {
    for (TLanguageFrame* Frame : FItems)
        if (AnsiSameText(Frame->FName, Name))
            return Frame;
    return nullptr;
}

bool TLanguageFrames::AddNotify(const String& Name, const TLanguageNotify& Notify, bool TopLevel) {
    if (!Notify)
        return false;
    const String FrameName = Trim(Name);
    TLanguageFrame* Current = FindFrame(Notify);
    // Re-registering under its own frame's name keeps the frame and its
    // language, even when the listener is its only member.
    if (Current && !FrameName.empty() && AnsiSameText(Current->FName, FrameName)) {
        Current->DelNotify(Notify);
        Current->FName = FrameName;
        Current->AddNotify(Notify);
        return false;
    }
    DelNotify(Notify);
    TLanguageFrame* Target = nullptr;
    if (!FrameName.empty())
        Target = FindNamed(FrameName);
    else if (!TopLevel && !FItems.empty())
        Target = FItems.back();
    const bool Created = Target == nullptr;
    if (Created)
        Target = new TLanguageFrame(this, FrameName);
    else if (!FrameName.empty())
        Target->FName = FrameName;
    Target->AddNotify(Notify);
    return Created;
}

bool TLanguageFrames::DelNotify(const TLanguageNotify& Notify) {
    TLanguageFrame* Frame = FindFrame(Notify);
    if (!Frame)
        return false;
    Frame->DelNotify(Notify);
    ReleaseIfEmpty(Frame);
    return true;
}

bool TLanguageFrames::GetLanguage(const TLanguageNotify& Notify, String& Language) const {
    Language.clear();
    const TLanguageFrame* Frame = FindFrame(Notify);
    if (Frame)
        Language = Frame->FLanguage;
    return Frame != nullptr;
}

bool TLanguageFrames::SetLanguage(const TLanguageNotify& Notify, const String& Language) {
    TLanguageFrame* Frame = FindFrame(Notify);
    if (Frame)
        Frame->SetLanguage(Notify, Language);
    return Frame != nullptr;
}

bool TLanguageFrames::DefineStartupLanguage(const String& Language, bool Lock) {
    if (!CanDefineStartupLanguage())
        return false;
    FLastLanguage = Trim(Language);
    FStartupLocked = Lock;
    return true;
}

void TLanguageFrames::Detach(TLanguageFrame* Frame) {
    const auto Found = std::find(FItems.begin(), FItems.end(), Frame);
    if (Found != FItems.end())
        FItems.erase(Found);
}

void TLanguageFrames::ReleaseIfEmpty(TLanguageFrame* Frame) {
    if (Frame->Empty() && !Frame->Switching())
        delete Frame;
}

// --- The process-wide switch ---------------------------------------------------

void SetGlobalLanguage(std::initializer_list<TLanguageFrames*> FrameLists, const String& Language,
                       const TLanguageNotify& Listener) {
    if (GlobalChangeDepth != 0)
        throw Exception("SetGlobalLanguage cannot be called when still processing");
    const String Target = Trim(Language);
    if (!Listener || Target.empty())
        return;
    // A copy: the listener's owner may go away during the switch.
    const TLanguageNotify Notify = Listener;
    auto Scope = CountForScope(GlobalChangeDepth);
    for (TLanguageFrames* Frames : FrameLists)
        if (Frames && Frames->SetLanguage(Notify, Target))
            return;
    for (TActionMode Action : SwitchSteps)
        CallListener(Notify, Target, Action);
}

bool LanguageSwitchRunning() noexcept {
    return GlobalChangeDepth != 0;
}

} // namespace orlo
