#pragma once
// Language frames: groups of listeners that always show one language. Every
// TGlossa of a process is a listener of exactly one frame of each frame list
// it is registered with; assigning a language to one member switches the whole
// frame in four passes over its listeners, in registration order:
//   amBeforeChange  every listener, before anything changes;
//   amSetLanguage   the frame records the language, every listener writes it;
//   amChange        every listener, after all have written;
//   amAfterChange   every listener, last.
// Nothing at all happens when the frame already shows the language (letter
// case aside). Each call is guarded: what a listener raises is traced and,
// unless it is an ELanguageNotFound (a member lacking the language keeps its
// values), shown through HandleException; the pass goes on with the next
// listener.
//
// A frame lives from its first listener to its last; when it ends, its
// language becomes the list's last language, which the next frame starts
// with, and the list's start-up language can no longer be defined. A frame
// that loses its last listener while it is switching ends when the switch
// is over.
//
// This unit also declares the event types and exceptions shared by the
// language runtime: TActionMode, TLanguageNotify, TLangNotify, TGetString,
// ELanguageNotFound and EStringNotFound.

#include "platform/classes/Object.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Method.h"
#include "platform/rtl/Types.h"
#include "runtime/MethodList.h"

#include <initializer_list>
#include <vector>

namespace orlo {

class TGlossa;
class TLanguageFrames;

// The four steps of a language switch, in the order they run.
ORLO_ENUM(TActionMode, amBeforeChange, amSetLanguage, amChange, amAfterChange);

// A frame listener. Listeners are methods of TObject descendants: a frame
// calls each with its own object as Sender.
ORLO_EVENT(TLanguageNotify, void(TObject* Sender, const String& Language, TActionMode Action));
// A creation or change listener of TGlossa; told nil when the component goes away.
ORLO_EVENT(TLangNotify, void(TGlossa* Glossa));
// How a multilingual unit looks up its named strings.
ORLO_EVENT(TGetString, String(const String& ID));

ORLO_EXCEPTION(ELanguageNotFound, Exception);
ORLO_EXCEPTION(EStringNotFound, Exception);

class TLanguageFrame : public TObject {
    ORLO_CLASS(TLanguageFrame, TObject)
public:
    // A frame named Name (trimmed; empty for an unnamed frame). With Frames it
    // joins that list, which owns it from then on, and starts with the
    // language of the list's last frame, or the list's last language when the
    // list holds none; in the designer it starts with no language.
    TLanguageFrame(TLanguageFrames* Frames, const String& Name);
    // Hands the language on to the list and leaves it. A frame that belongs to
    // a list is freed by the list, never while it switches.
    ~TLanguageFrame() override;

    TLanguageFrames* Frames() const noexcept { return FFrames; }
    const String& Name() const noexcept { return FName; }
    const String& Language() const noexcept { return FLanguage; }
    const TMethodList& Notifies() const noexcept { return FNotifies; }
    // A name that begins with "." is left out of lists of domains.
    bool Hidden() const noexcept { return !FName.empty() && FName[0] == '.'; }
    bool Empty() const noexcept { return FNotifies.Count() == 0; }
    bool Switching() const noexcept { return FSwitchDepth > 0; }

    // Appends Notify unless it is unassigned or already a listener.
    void AddNotify(const TLanguageNotify& Notify);
    // Removes Notify; whether it was a listener.
    bool DelNotify(const TLanguageNotify& Notify);
    bool Exists(const TLanguageNotify& Notify) const noexcept;

    // The whole switch (the four passes); false, and nothing happens, when
    // Notify is no listener of this frame, the trimmed Language is blank, or
    // the frame already shows it. Once begun, the switch runs all its passes
    // even when Notify leaves the frame on the way (its form was closed).
    bool SetLanguage(const TLanguageNotify& Notify, const String& Language);
    // One pass. False when Notify is no listener or Language is blank, and
    // for amBeforeChange also when the frame already shows Language.
    bool SetLanguageAction(const TLanguageNotify& Notify, const String& Language,
                           TActionMode Action);

private:
    friend class TLanguageFrames;
    class TSwitchScope;

    // One pass for every listener, Language already trimmed and not blank.
    void RunAction(const String& Language, TActionMode Action);
    void NotifyAll(const String& Language, TActionMode Action);

    TLanguageFrames* FFrames;
    TMethodList FNotifies;
    String FName;
    String FLanguage;
    Integer FSwitchDepth = 0;
};

// An ordered list of frames that owns them; a listener belongs to at most one
// frame of a list.
class TLanguageFrames : public TObject {
    ORLO_CLASS(TLanguageFrames, TObject)
public:
    TLanguageFrames() = default;
    ~TLanguageFrames() override;

    Integer Count() const noexcept { return static_cast<Integer>(FItems.size()); }
    // EListError "List index out of bounds (%d)" for an invalid index.
    TLanguageFrame* Items(Integer Index) const;

    // Moves Notify into a frame and tells whether a frame had to be created.
    // A non-blank Name joins the frame of that name (without regard to case;
    // the frame takes Name's letter case) or founds it. A blank Name joins the
    // last frame, unless TopLevel is set or there is none: then it founds a
    // new unnamed frame. An unassigned Notify changes nothing.
    bool AddNotify(const String& Name, const TLanguageNotify& Notify, bool TopLevel);
    // Takes Notify out of its frame, freeing the frame when it is left empty;
    // whether a frame held it.
    bool DelNotify(const TLanguageNotify& Notify);

    // The frame that holds Notify; nil when none does.
    TLanguageFrame* FindFrame(const TLanguageNotify& Notify) const noexcept;
    bool GetFrame(const TLanguageNotify& Notify, TLanguageFrame*& Frame) const noexcept;
    // The language of Notify's frame ("" and false when it is in none).
    bool GetLanguage(const TLanguageNotify& Notify, String& Language) const;
    // Switches Notify's frame; whether Notify is in a frame of this list (not
    // whether the language changed).
    bool SetLanguage(const TLanguageNotify& Notify, const String& Language);

    // The start-up language may be defined while no frame has existed and it
    // has not been fixed; DefineStartupLanguage tells whether it was allowed,
    // and with Lock fixes it.
    bool CanDefineStartupLanguage() const noexcept { return !FStartupLocked && FItems.empty(); }
    bool DefineStartupLanguage(const String& Language, bool Lock);
    // The start-up language until a frame ends, then the language of the frame
    // that ended last.
    const String& LastLanguage() const noexcept { return FLastLanguage; }
    bool StartupLocked() const noexcept { return FStartupLocked; }

private:
    friend class TLanguageFrame;

    TLanguageFrame* FindNamed(const String& Name) const;
    void Detach(TLanguageFrame* Frame);
    // Frees Frame when it has no listener left and is not switching.
    void ReleaseIfEmpty(TLanguageFrame* Frame);

    std::vector<TLanguageFrame*> FItems;
    String FLastLanguage;
    bool FStartupLocked = false;
};

// Switches the frame that holds Listener, looked for in each list in turn, to
// the trimmed Language. A listener that is in no frame is told the four
// actions itself, each call guarded as in a frame. A blank Language or an
// unassigned Listener changes nothing. While a switch runs, any further one
// is refused with Exception "SetGlobalLanguage cannot be called when still
// processing".
void SetGlobalLanguage(std::initializer_list<TLanguageFrames*> FrameLists, const String& Language,
                       const TLanguageNotify& Listener);
// True while SetGlobalLanguage is switching.
bool LanguageSwitchRunning() noexcept;

} // namespace orlo
