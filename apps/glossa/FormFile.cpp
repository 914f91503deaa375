#include "apps/glossa/FormFile.h"

#include "platform/classes/FormText.h"
#include "platform/classes/Resources.h"
#include "platform/os/FileSystem.h"
#include "platform/rtl/SysUtils.h"

#include <cstring>

namespace orlo::glossa {

// An entry of the form's language data whose active value is kept in slot 0:
// the components are not there, only their stored values. It streams exactly
// as the entries of a TGlossa do.
class TStoredLangPropertyEntry : public TInconsistentLangPropertyEntry {
    ORLO_CLASS(TStoredLangPropertyEntry, TInconsistentLangPropertyEntry)
public:
    explicit TStoredLangPropertyEntry(TCollection* Collection)
        : TInconsistentLangPropertyEntry(Collection) {
        FSlotBase = 0;
    }

    Variant GetLangValue(Integer Index) const override {
        return TConsistentLangPropertyEntry::GetLangValue(Index);
    }
    void SetLangValue(Integer Index, const Variant& Value) override {
        TConsistentLangPropertyEntry::SetLangValue(Index, Value);
    }
    void ExchangeLangValues(Integer Index1, Integer Index2) override {
        TConsistentLangPropertyEntry::ExchangeLangValues(Index1, Index2);
    }

protected:
    bool KeepsValueLive() const noexcept override { return false; }
};

ORLO_PUBLISHED(TStoredLangPropertyEntry, "FormFile") {}

namespace {

constexpr const char* DataPrefix = "LanguageManager_";

bool IsLanguageData(const String& PropName) {
    return StartsWithText(DataPrefix, PropName);
}

// The TGlossa of the form: streams the language manager's four properties.
class TGlossaStandIn : public TComponent {
    ORLO_CLASS(TGlossaStandIn, TComponent)
public:
    explicit TGlossaStandIn(TComponent* AOwner) : TComponent(AOwner) {}
    TLanguageManager* Manager = nullptr;
    void DefineProperties(TFiler* Filer) override { Manager->DefineProperties(DataPrefix, Filer); }
};

} // namespace

ORLO_UNPUBLISHED(TGlossaStandIn, "FormFile")

// One component per component of the form, all owned by the root, so that the
// language data's references find them by name.
struct TFormFile::TStandIns {
    std::unique_ptr<TComponent> Root;
    TGlossaStandIn* Glossa = nullptr;
    std::unordered_map<const TComponent*, const TRawObject*> Objects;
};

namespace {

std::vector<Byte> BytesOf(TMemoryStream& Stream, Int64 From, Int64 To) {
    const Byte* Data = Stream.Memory();
    return std::vector<Byte>(Data + From, Data + To);
}

String StreamText(TMemoryStream& Stream) {
    return String(reinterpret_cast<const char*>(Stream.Memory()),
                  static_cast<size_t>(Stream.Size()));
}

void SetStreamText(TMemoryStream& Stream, const String& Text) {
    Stream.Clear();
    Stream.WriteBuffer(Text.data(), static_cast<Integer>(Text.size()));
    Stream.SetPosition(0);
}

// Depth-first search for the first component of class TGlossa.
bool FindGlossa(const TRawObject& Object, std::vector<Integer>& Path) {
    for (Integer I = 0; I < static_cast<Integer>(Object.Children.size()); ++I) {
        Path.push_back(I);
        if (SameText(Object.Children[I].ClassName, "TGlossa") ||
            FindGlossa(Object.Children[I], Path))
            return true;
        Path.pop_back();
    }
    return false;
}

TRawObject& ObjectAt(TRawObject& Root, const std::vector<Integer>& Path) {
    TRawObject* Object = &Root;
    for (Integer I : Path)
        Object = &Object->Children[I];
    return *Object;
}

const TRawObject* FindObjectIn(const TRawObject& Object, const String& Name) {
    if (SameText(Object.Name, Name))
        return &Object;
    for (const TRawObject& Child : Object.Children)
        if (const TRawObject* Found = FindObjectIn(Child, Name))
            return Found;
    return nullptr;
}

// --- Stored values -----------------------------------------------------------------

// A value of a stored property, as far as this program can read it without the
// component's class: texts and integers.
std::optional<Variant> DecodeValue(const std::vector<Byte>& Bytes) {
    if (Bytes.empty())
        return std::nullopt;
    TMemoryStream Stream;
    Stream.WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
    Stream.SetPosition(0);
    TReader Reader(&Stream);
    switch (Reader.NextValue()) {
    case vaString:
    case vaLString:
    case vaWString:
    case vaUTF8String:
        return Variant(Reader.ReadString());
    case vaInt8:
    case vaInt16:
    case vaInt32:
        return Variant(Reader.ReadInteger());
    default:
        return std::nullopt;
    }
}

std::vector<Byte> EncodeValue(const Variant& Value) {
    TMemoryStream Stream;
    {
        TWriter Writer(&Stream);
        if (Value.VarType() == varString)
            Writer.WriteString(Value.AsString());
        else
            Writer.WriteInteger(Value.AsInt64());
        Writer.FlushBuffer();
    }
    return BytesOf(Stream, 0, Stream.Size());
}

// The lines of a stored string list ("Lines.Strings = ( ... )").
std::optional<std::vector<String>> DecodeLines(const std::vector<Byte>& Bytes) {
    if (Bytes.empty() || Bytes[0] != vaList)
        return std::nullopt;
    TMemoryStream Stream;
    Stream.WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
    Stream.SetPosition(0);
    TReader Reader(&Stream);
    Reader.ReadListBegin();
    std::vector<String> Lines;
    while (!Reader.EndOfList())
        Lines.push_back(Reader.ReadString());
    return Lines;
}

std::vector<Byte> EncodeLines(const std::vector<String>& Lines) {
    TMemoryStream Stream;
    {
        TWriter Writer(&Stream);
        Writer.WriteListBegin();
        for (const String& Line : Lines)
            Writer.WriteString(Line);
        Writer.WriteListEnd();
        Writer.FlushBuffer();
    }
    return BytesOf(Stream, 0, Stream.Size());
}

// A stored collection: per item its optional order value and its properties.
struct TRawItem {
    std::vector<Byte> Order;
    std::vector<TRawProperty> Properties;
};

std::optional<std::vector<TRawItem>> DecodeItems(const std::vector<Byte>& Bytes) {
    if (Bytes.empty() || Bytes[0] != vaCollection)
        return std::nullopt;
    TMemoryStream Stream;
    Stream.WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
    Stream.SetPosition(0);
    TReader Reader(&Stream);
    Reader.ReadValue();
    std::vector<TRawItem> Items;
    while (!Reader.EndOfList()) {
        TRawItem Item;
        if (Reader.NextValue() != vaList) {
            const Int64 Start = Reader.Position();
            Reader.ReadInteger();
            Item.Order = BytesOf(Stream, Start, Reader.Position());
        }
        Reader.ReadListBegin();
        Item.Properties = ReadRawProperties(Reader, Stream);
        Items.push_back(std::move(Item));
    }
    return Items;
}

std::vector<Byte> EncodeItems(const std::vector<TRawItem>& Items) {
    TMemoryStream Stream;
    {
        TWriter Writer(&Stream);
        Writer.WriteValue(vaCollection);
        for (const TRawItem& Item : Items) {
            Writer.Write(Item.Order.data(), static_cast<Integer>(Item.Order.size()));
            Writer.WriteListBegin();
            for (const TRawProperty& Prop : Item.Properties) {
                Writer.WriteStr(Prop.Name);
                Writer.Write(Prop.Value.data(), static_cast<Integer>(Prop.Value.size()));
            }
            Writer.WriteListEnd();
        }
        Writer.WriteListEnd();
        Writer.FlushBuffer();
    }
    return BytesOf(Stream, 0, Stream.Size());
}

TRawProperty* FindIn(std::vector<TRawProperty>& Props, const String& Name) {
    for (TRawProperty& Prop : Props)
        if (SameText(Prop.Name, Name))
            return &Prop;
    return nullptr;
}

// The way from a component to one stored value: sub-object prefixes, items of
// collections, and at the end a property or a line of a string list.
struct TValuePath {
    struct TStep {
        String Collection; // the collection property, or the property itself at the end
        Integer Index = -1;
    };
    std::vector<TStep> Items; // collection items to descend into, with the prefix before each
    String Property;          // full stored name below the last item ("Font.Name", "Lines.Strings")
    Integer Line = -1;        // the line of a string list; -1 for a plain value
};

// Reads (Value == nullptr) or writes the value at Path below Props; false when
// the form does not store it in a form this program can read.
bool AccessValue(std::vector<TRawProperty>& Props, const TValuePath& Path, size_t Step,
                 Variant& Value, bool Write) {
    if (Step < Path.Items.size()) {
        const TValuePath::TStep& Item = Path.Items[Step];
        TRawProperty* Prop = FindIn(Props, Item.Collection);
        std::optional<std::vector<TRawItem>> Items = Prop ? DecodeItems(Prop->Value) : std::nullopt;
        if (!Items || Item.Index >= static_cast<Integer>(Items->size()))
            return false;
        if (!AccessValue((*Items)[Item.Index].Properties, Path, Step + 1, Value, Write))
            return false;
        if (Write)
            Prop->Value = EncodeItems(*Items);
        return true;
    }
    TRawProperty* Prop = FindIn(Props, Path.Property);
    if (!Prop)
        return false;
    if (Path.Line >= 0) {
        std::optional<std::vector<String>> Lines = DecodeLines(Prop->Value);
        if (!Lines || Path.Line >= static_cast<Integer>(Lines->size()))
            return false;
        if (!Write) {
            Value = Variant((*Lines)[Path.Line]);
        } else if ((*Lines)[Path.Line] != Value.AsString()) {
            (*Lines)[Path.Line] = Value.AsString();
            Prop->Value = EncodeLines(*Lines);
        }
        return true;
    }
    std::optional<Variant> Stored = DecodeValue(Prop->Value);
    if (!Stored)
        return false;
    if (!Write)
        Value = *Stored;
    else if ((Value.VarType() == varString) != (Stored->VarType() == varString))
        return false;
    else if (Value.AsString() != Stored->AsString())
        Prop->Value = EncodeValue(Value);
    return true;
}

Integer LineOf(const TPropertyEntry* Entry) {
    Integer Line = Entry->LineIndex();
    if (Line < 0 && !Entry->GetItemIndex(Line))
        return -1;
    return Line;
}

// The main entries from below the component entry down to the entry's own.
std::vector<const TMainEntry*> MainEntryChain(const TPropertyEntry* Entry) {
    std::vector<const TMainEntry*> Chain;
    for (const TMainEntry* Main = Entry->MainEntry(); Main; Main = Main->GetParent()->GetParent())
        Chain.insert(Chain.begin(), Main);
    return Chain;
}

std::optional<TValuePath> ValuePathOf(const TPropertyEntry* Entry) {
    const std::vector<const TMainEntry*> Chain = MainEntryChain(Entry);
    TValuePath Path;
    String Prefix;
    for (size_t I = 1; I < Chain.size(); ++I) {
        const TMainEntry* Main = Chain[I];
        Integer Index;
        if (Main->SubType().Contains(stCollectionObject) && Main->GetItemIndex(Index)) {
            Path.Items.push_back({Prefix + Main->Name().substr(0, Main->Name().find('[')), Index});
            Prefix.clear();
        } else if (Main->SubType().Contains(stTStringsObject)) {
            if (I + 1 != Chain.size())
                return std::nullopt;
            Path.Property = Prefix + Main->Name() + ".Strings";
            Path.Line = LineOf(Entry);
            return Path.Line < 0 ? std::nullopt : std::optional(Path);
        } else {
            Prefix += Main->Name() + ".";
        }
    }
    Path.Property = Prefix + Entry->Name();
    return Path;
}

} // namespace

// --- TFormFile ----------------------------------------------------------------------

TFormFile::TFormFile() = default;
TFormFile::~TFormFile() {
    FManager.reset();
    FStandIns.reset();
}

std::unique_ptr<TFormFile> TFormFile::Load(const String& FileName) {
    std::unique_ptr<TFormFile> File(new TFormFile);
    File->FFileName = FileName;
    const String Bytes = ReadFileContent(FileName);
    try {
        File->Parse(Bytes);
        File->BindLanguageData();
    } catch (const EFormFileError&) {
        throw;
    } catch (const Exception& E) {
        throw EFormFileError(FileName + ": " + E.Message());
    }
    return File;
}

void TFormFile::Parse(const String& Bytes) {
    FOriginal = Bytes;
    TMemoryStream Input, Binary;
    SetStreamText(Input, Bytes);
    if (IsResourceFile(&Input)) {
        FFormat = TFormFormat::Resource;
        TResourceFile Resources;
        Resources.LoadFromStream(&Input);
        TMemoryStream Data;
        FResourceName = Resources.ReadRCData(String(), Data).Name.Text();
        if (!IsBinaryForm(&Data))
            throw EFormFileError(FFileName + ": the resource holds no binary form");
        Binary.CopyFrom(&Data, 0);
    } else if (IsBinaryForm(&Input)) {
        FFormat = TFormFormat::Binary;
        Binary.CopyFrom(&Input, 0);
    } else if (IsTextForm(&Input)) {
        FFormat = TFormFormat::Text;
        ObjectTextToBinary(&Input, &Binary);
    } else {
        throw EFormFileError(FFileName +
                             ": not a form file (text or binary form, or resource file expected)");
    }
    FOriginalBinary = StreamText(Binary);
    FRoot = ParseRawForm(FOriginalBinary);
    if (!SameText(FRoot.ClassName, "TGlossa") && !FindGlossa(FRoot, FGlossaPath))
        throw EFormFileError(FFileName + ": the form has no TGlossa component");
}

const TRawObject* TFormFile::FindObject(const String& Name) const {
    return FindObjectIn(FRoot, Name);
}

const String& TFormFile::GlossaName() const noexcept {
    return ObjectAt(const_cast<TRawObject&>(FRoot), FGlossaPath).Name;
}

void TFormFile::BindLanguageData() {
    FStandIns = std::make_unique<TStandIns>();
    TRawObject& Glossa = ObjectAt(FRoot, FGlossaPath);
    // A language side file is a TGlossa of its own, without a form.
    const bool Unit = FGlossaPath.empty();
    FStandIns->Root =
        Unit ? std::make_unique<TGlossaStandIn>(nullptr) : std::make_unique<TComponent>(nullptr);
    FStandIns->Root->SetName(FRoot.Name);
    FStandIns->Objects[FStandIns->Root.get()] = &FRoot;
    if (Unit)
        FStandIns->Glossa = static_cast<TGlossaStandIn*>(FStandIns->Root.get());
    std::function<void(const TRawObject&)> AddStandIns = [&](const TRawObject& Object) {
        for (const TRawObject& Child : Object.Children) {
            TComponent* Owner = FStandIns->Root.get();
            TComponent* StandIn = &Child == & Glossa ? FStandIns->Glossa = new TGlossaStandIn(Owner)
                                                     : new TComponent(Owner);
            if (!Child.Name.empty() && !Owner->FindComponent(Child.Name))
                StandIn->SetName(Child.Name);
            FStandIns->Objects[StandIn] = &Child;
            AddStandIns(Child);
        }
    };
    AddStandIns(FRoot);
    FManager = std::make_unique<TLanguageManager>(Unit ? nullptr : FStandIns->Root.get(),
                                                  FStandIns->Glossa, FStandIns->Glossa,
                                                  TStoredLangPropertyEntry::StaticClass());
    FManager->SetRootClassName(Unit ? String() : FRoot.ClassName);
    FStandIns->Glossa->Manager = FManager.get();
    ReadLanguageData(Glossa);
    LoadActiveValues();
}

void TFormFile::ReadLanguageData(TRawObject& Glossa) {
    TMemoryStream Data;
    {
        TWriter Writer(&Data);
        for (const TRawProperty& Prop : Glossa.Properties)
            if (IsLanguageData(Prop.Name)) {
                Writer.WriteStr(Prop.Name);
                Writer.Write(Prop.Value.data(), static_cast<Integer>(Prop.Value.size()));
            }
        Writer.WriteListEnd();
        Writer.FlushBuffer();
    }
    Data.SetPosition(0);
    TReader Reader(&Data);
    Reader.SetRoot(FStandIns->Root.get());
    Reader.SetOwner(FStandIns->Root.get());
    Reader.SetOptionalReferences(true);
    while (!Reader.EndOfList())
        Reader.ReadProperty(FStandIns->Glossa);
    Reader.ReadListEnd();
    Reader.FixupReferences();
}

// Names the component entries as the live tree would, and fills value 0 of
// every entry from the stored property or the string table.
void TFormFile::LoadActiveValues() {
    TComponentEntries* Comps = FManager->Comps();
    for (Integer I = 0; I < Comps->Count(); ++I) {
        TComponentEntry* Entry = Comps->Items(I);
        auto Found = FStandIns->Objects.find(Entry->GetRef());
        if (Found == FStandIns->Objects.end()) {
            // The string table of a side file names no component: it is the TGlossa's.
            if (!Entry->GetRef() && !FManager->HasRoot())
                Entry->SetName(FStandIns->Glossa->Name());
            continue;
        }
        Entry->SetName(Found->second->Name);
        Entry->SetTypeName(Found->second->ClassName);
    }
    TStringList* Values = FManager->Values();
    if (TMainEntry* Table = FManager->GetStringInterface(false))
        Table->SetRef(Values);
    Comps->ForEachPropertyEntryDo([&](TMainEntry* Main, TPropertyEntry* Prop) {
        auto* Entry = static_cast<TConsistentLangPropertyEntry*>(Prop);
        if (Main->Ref() == Values) {
            const Integer Line = LineOf(Entry);
            if (Line >= 0 && Line < Values->Count())
                Entry->SetLangValue(0, Variant(Values->Strings(Line)));
            return;
        }
        // ... the stored property of the component, where it can be read.
        const TMainEntry* Top = MainEntryChain(Entry).front();
        auto Found = FStandIns->Objects.find(dynamic_cast<TComponent*>(Top->Ref()));
        std::optional<TValuePath> Path = ValuePathOf(Entry);
        Variant Value;
        if (Found != FStandIns->Objects.end() && Path &&
            AccessValue(const_cast<TRawObject*>(Found->second)->Properties, *Path, 0, Value, false))
            Entry->SetLangValue(0, Value);
    });
}

// The form as it is to be stored: value 0 of every entry written into the
// component's stored property, the language data replaced.
TRawObject TFormFile::StoredObject() const {
    TRawObject Root = FRoot;
    std::unordered_map<const TRawObject*, TRawObject*> Copies;
    std::function<void(const TRawObject&, TRawObject&)> Pair = [&](const TRawObject& From,
                                                                   TRawObject& To) {
        Copies[&From] = &To;
        for (size_t I = 0; I < From.Children.size(); ++I)
            Pair(From.Children[I], To.Children[I]);
    };
    Pair(FRoot, Root);
    TStringList* Values = FManager->Values();
    FManager->Comps()->ForEachPropertyEntryDo([&](TMainEntry* Main, TPropertyEntry* Prop) {
        auto* Entry = static_cast<TConsistentLangPropertyEntry*>(Prop);
        Variant Value = Entry->GetLangValue(0);
        if (Value.IsNull())
            return;
        if (Main->Ref() == Values) {
            const Integer Line = LineOf(Entry);
            if (Line >= 0 && Line < Values->Count())
                Values->Put(Line, Value.AsString());
            return;
        }
        const TMainEntry* Top = MainEntryChain(Entry).front();
        auto Found = FStandIns->Objects.find(dynamic_cast<TComponent*>(Top->Ref()));
        std::optional<TValuePath> Path = ValuePathOf(Entry);
        if (Found != FStandIns->Objects.end() && Path)
            AccessValue(Copies[Found->second]->Properties, *Path, 0, Value, true);
    });
    // The language data, as the TGlossa streams it.
    TMemoryStream Data;
    {
        TWriter Writer(&Data);
        Writer.SetRoot(FStandIns->Root.get());
        Writer.WriteStr(FRoot.ClassName);
        Writer.WriteStr(FRoot.Name);
        Writer.WriteProperties(FStandIns->Glossa);
        Writer.WriteListEnd();
        Writer.WriteListEnd();
        Writer.FlushBuffer();
    }
    Data.SetPosition(0);
    TReader Reader(&Data);
    const TRawObject Written = ReadRawObject(Reader, Data);
    TRawObject& Glossa = ObjectAt(Root, FGlossaPath);
    std::vector<TRawProperty> Properties;
    bool Placed = false;
    for (const TRawProperty& Prop : Glossa.Properties) {
        if (!IsLanguageData(Prop.Name)) {
            Properties.push_back(Prop);
        } else if (!Placed) {
            Placed = true;
            for (const TRawProperty& New : Written.Properties)
                if (IsLanguageData(New.Name))
                    Properties.push_back(New);
        }
    }
    if (!Placed)
        for (const TRawProperty& New : Written.Properties)
            if (IsLanguageData(New.Name))
                Properties.push_back(New);
    Glossa.Properties = std::move(Properties);
    return Root;
}

String TFormFile::BinaryContent() const {
    return RawFormBytes(StoredObject());
}

String TFormFile::Content() const {
    const String Binary = BinaryContent();
    if (Binary == FOriginalBinary)
        return FOriginal;
    switch (FFormat) {
    case TFormFormat::Binary:
        return Binary;
    case TFormFormat::Text:
        return SpliceFormText(FOriginal, FOriginalBinary, Binary);
    case TFormFormat::Resource: {
        TMemoryStream Input;
        SetStreamText(Input, FOriginal);
        TResourceFile Resources;
        Resources.LoadFromStream(&Input);
        for (TResourceEntry& Entry : Resources.Entries())
            if (&Entry == Resources.FindRCData(FResourceName))
                Entry.Data.assign(Binary.begin(), Binary.end());
        TMemoryStream Output;
        Resources.SaveToStream(&Output);
        return StreamText(Output);
    }
    }
    return Binary;
}

void TFormFile::Save() const {
    SaveAs(FFileName);
}

void TFormFile::SaveAs(const String& FileName) const {
    ReplaceFileContent(FileName, Content());
}

std::vector<TFormFile::TComponentText> TFormFile::TranslatableTexts() const {
    std::unordered_map<const TRawObject*, TComponent*> StandIns;
    for (const auto& [StandIn, Object] : FStandIns->Objects)
        StandIns[Object] = const_cast<TComponent*>(StandIn);
    std::vector<TComponentText> Texts;
    const auto Add = [&](const TRawObject& Object) {
        if (&Object == &ObjectAt(const_cast<TRawObject&>(FRoot), FGlossaPath))
            return;
        for (TStoredText& Text : StoredTexts(Object))
            Texts.push_back(
                {&Object, StandIns[&Object], std::move(Text.Path), std::move(Text.Value)});
    };
    std::function<void(const TRawObject&)> Walk = [&](const TRawObject& Object) {
        for (const TRawObject& Child : Object.Children) {
            Add(Child);
            Walk(Child);
        }
    };
    Walk(FRoot);
    Add(FRoot);
    return Texts;
}

std::vector<TStoredText> TFormFile::StoredTexts(const TRawObject& Object) const {
    std::vector<TStoredText> Texts;
    for (const TRawProperty& Prop : Object.Properties) {
        if (std::optional<Variant> Value = DecodeValue(Prop.Value);
            Value && Value->VarType() == varString) {
            Texts.push_back({Prop.Name, Value->AsString()});
        } else if (std::optional<std::vector<String>> Lines = DecodeLines(Prop.Value);
                   Lines && EndsWithText(".Strings", Prop.Name)) {
            for (size_t I = 0; I < Lines->size(); ++I)
                Texts.push_back({Format("%s[%d]", Prop.Name, Integer(I)), (*Lines)[I]});
        } else if (std::optional<std::vector<TRawItem>> Items = DecodeItems(Prop.Value)) {
            for (size_t I = 0; I < Items->size(); ++I)
                for (const TRawProperty& ItemProp : (*Items)[I].Properties)
                    if (std::optional<Variant> Text = DecodeValue(ItemProp.Value);
                        Text && Text->VarType() == varString)
                        Texts.push_back({Format("%s[%d].%s", Prop.Name, Integer(I), ItemProp.Name),
                                         Text->AsString()});
        }
    }
    return Texts;
}

} // namespace orlo::glossa
