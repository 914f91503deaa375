#include "apps/glossa/RawForm.h"

#include "platform/classes/FormText.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <utility>

namespace orlo::glossa {

bool StartsWithText(const String& Part, const String& S) {
    return S.size() >= Part.size() && SameText(S.substr(0, Part.size()), Part);
}

bool EndsWithText(const String& Part, const String& S) {
    return S.size() >= Part.size() && SameText(S.substr(S.size() - Part.size()), Part);
}

const TRawProperty* TRawObject::FindProperty(const String& PropName) const {
    for (const TRawProperty& Prop : Properties)
        if (SameText(Prop.Name, PropName))
            return &Prop;
    return nullptr;
}

TRawProperty* TRawObject::FindProperty(const String& PropName) {
    return const_cast<TRawProperty*>(std::as_const(*this).FindProperty(PropName));
}

std::vector<TRawProperty> ReadRawProperties(TReader& Reader, TMemoryStream& Stream) {
    const Byte* Data = Stream.Memory();
    std::vector<TRawProperty> Properties;
    while (!Reader.EndOfList()) {
        TRawProperty Prop;
        Prop.Name = Reader.ReadStr();
        const Int64 Start = Reader.Position();
        Reader.SkipValue();
        Prop.Value.assign(Data + Start, Data + Reader.Position());
        Properties.push_back(std::move(Prop));
    }
    Reader.ReadListEnd();
    return Properties;
}

TRawObject ReadRawObject(TReader& Reader, TMemoryStream& Stream) {
    TRawObject Object;
    Reader.ReadPrefix(Object.Flags, Object.ChildPos);
    Object.ClassName = Reader.ReadStr();
    Object.Name = Reader.ReadStr();
    Object.Properties = ReadRawProperties(Reader, Stream);
    while (!Reader.EndOfList())
        Object.Children.push_back(ReadRawObject(Reader, Stream));
    Reader.ReadListEnd();
    return Object;
}

void WriteRawObject(TWriter& Writer, const TRawObject& Object) {
    Writer.WritePrefix(Object.Flags, Object.ChildPos);
    Writer.WriteStr(Object.ClassName);
    Writer.WriteStr(Object.Name);
    for (const TRawProperty& Prop : Object.Properties) {
        Writer.WriteStr(Prop.Name);
        Writer.Write(Prop.Value.data(), static_cast<Integer>(Prop.Value.size()));
    }
    Writer.WriteListEnd();
    for (const TRawObject& Child : Object.Children)
        WriteRawObject(Writer, Child);
    Writer.WriteListEnd();
}

namespace {

void LoadStream(TMemoryStream& Stream, const String& Bytes) {
    Stream.Clear();
    Stream.WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
    Stream.SetPosition(0);
}

String StreamBytes(TMemoryStream& Stream) {
    return String(reinterpret_cast<const char*>(Stream.Memory()),
                  static_cast<size_t>(Stream.Size()));
}

} // namespace

TRawObject ParseRawForm(const String& Binary) {
    TMemoryStream Stream;
    LoadStream(Stream, Binary);
    TReader Reader(&Stream);
    Reader.ReadSignature();
    return ReadRawObject(Reader, Stream);
}

String RawFormBytes(const TRawObject& Root) {
    TMemoryStream Stream;
    {
        TWriter Writer(&Stream);
        Writer.WriteSignature();
        WriteRawObject(Writer, Root);
        Writer.FlushBuffer();
    }
    return StreamBytes(Stream);
}

// --- Text forms ----------------------------------------------------------------------

namespace {

struct TLine {
    String Text; // without its line end
    Integer Indent = 0;
    String Content; // without the indentation
};

std::vector<TLine> SplitLines(const String& Text) {
    std::vector<TLine> Lines;
    size_t Start = 0;
    while (Start < Text.size()) {
        size_t End = Text.find('\n', Start);
        if (End == String::npos)
            End = Text.size();
        String Line = Text.substr(Start, End - Start);
        if (!Line.empty() && Line.back() == '\r')
            Line.pop_back();
        const size_t First = Line.find_first_not_of(" \t");
        Lines.push_back({Line, static_cast<Integer>(First == String::npos ? Line.size() : First),
                         First == String::npos ? String() : Line.substr(First)});
        Start = End + 1;
    }
    return Lines;
}

bool IsHeader(const TLine& Line) {
    for (const char* Word : {"object ", "inherited ", "inline "})
        if (StartsWithText(Word, Line.Content))
            return true;
    return false;
}

// Where a component's lines are in a text form.
struct TTextObject {
    size_t Header = 0;
    size_t End = 0; // the line "end"
    struct TPropLines {
        String Name;
        size_t First, Last; // inclusive
    };
    std::vector<TPropLines> Properties;
    std::vector<TTextObject> Children;
};

// Reads the component whose header is at Lines[At]; false when the layout
// does not nest by indentation as expected.
bool OutlineObject(const std::vector<TLine>& Lines, size_t At, TTextObject& Object) {
    Object.Header = At;
    const Integer Indent = Lines[At].Indent;
    size_t I = At + 1;
    while (I < Lines.size()) {
        const TLine& Line = Lines[I];
        if (Line.Content.empty()) {
            ++I;
        } else if (Line.Content == "end" && Line.Indent == Indent) {
            Object.End = I;
            return true;
        } else if (Line.Indent <= Indent) {
            return false;
        } else if (IsHeader(Line)) {
            TTextObject Child;
            if (!OutlineObject(Lines, I, Child))
                return false;
            I = Child.End + 1;
            Object.Children.push_back(std::move(Child));
        } else {
            const size_t Equal = Line.Content.find(" =");
            if (Equal == String::npos)
                return false;
            TTextObject::TPropLines Prop{Line.Content.substr(0, Equal), I, I};
            while (Prop.Last + 1 < Lines.size() && Lines[Prop.Last + 1].Indent > Line.Indent &&
                   !Lines[Prop.Last + 1].Content.empty())
                ++Prop.Last;
            I = Prop.Last + 1;
            Object.Properties.push_back(std::move(Prop));
        }
    }
    return false;
}

bool Outline(const std::vector<TLine>& Lines, TTextObject& Root) {
    size_t First = 0;
    while (First < Lines.size() && Lines[First].Content.empty())
        ++First;
    return First < Lines.size() && IsHeader(Lines[First]) && OutlineObject(Lines, First, Root);
}

// A replacement of the original lines First..First+Count-1.
struct TEdit {
    size_t First;
    size_t Count;
    std::vector<String> Lines;
};

class TSplicer {
public:
    TSplicer(const std::vector<TLine>& Old, const std::vector<TLine>& New) : FOld(Old), FNew(New) {}

    bool Compare(const TRawObject& OldRaw, const TTextObject& OldText, const TRawObject& NewRaw,
                 const TTextObject& NewText) {
        if (OldRaw.Children.size() != NewRaw.Children.size() ||
            OldText.Children.size() != OldRaw.Children.size() ||
            NewText.Children.size() != NewRaw.Children.size() ||
            OldText.Properties.size() != OldRaw.Properties.size() ||
            NewText.Properties.size() != NewRaw.Properties.size())
            return false;
        const Integer Shift = FOld[OldText.Header].Indent - FNew[NewText.Header].Indent;
        size_t InsertAt =
            OldText.Properties.empty() ? OldText.Header + 1 : OldText.Properties.back().Last + 1;
        for (size_t I = 0; I < NewRaw.Properties.size(); ++I) {
            const TRawProperty& Prop = NewRaw.Properties[I];
            const TRawProperty* Before = OldRaw.FindProperty(Prop.Name);
            if (Before && Before->Value == Prop.Value)
                continue;
            std::vector<String> Lines = Reindented(NewText.Properties[I], Shift);
            if (Before) {
                const auto& Where = OldText.Properties[Before - OldRaw.Properties.data()];
                FEdits.push_back({Where.First, Where.Last - Where.First + 1, std::move(Lines)});
            } else {
                FEdits.push_back({InsertAt, 0, std::move(Lines)});
            }
        }
        for (size_t I = 0; I < OldRaw.Properties.size(); ++I)
            if (!NewRaw.FindProperty(OldRaw.Properties[I].Name)) {
                const auto& Where = OldText.Properties[I];
                FEdits.push_back({Where.First, Where.Last - Where.First + 1, {}});
            }
        for (size_t I = 0; I < OldRaw.Children.size(); ++I)
            if (!Compare(OldRaw.Children[I], OldText.Children[I], NewRaw.Children[I],
                         NewText.Children[I]))
                return false;
        return true;
    }

    String Apply(const String& LineEnd) {
        std::stable_sort(FEdits.begin(), FEdits.end(),
                         [](const TEdit& A, const TEdit& B) { return A.First < B.First; });
        String Result;
        size_t Next = 0;
        for (const TEdit& Edit : FEdits) {
            for (; Next < Edit.First; ++Next)
                Result += FOld[Next].Text + LineEnd;
            for (const String& Line : Edit.Lines)
                Result += Line + LineEnd;
            Next = std::max(Next, Edit.First + Edit.Count);
        }
        for (; Next < FOld.size(); ++Next)
            Result += FOld[Next].Text + LineEnd;
        return Result;
    }

private:
    std::vector<String> Reindented(const TTextObject::TPropLines& Prop, Integer Shift) const {
        std::vector<String> Lines;
        for (size_t I = Prop.First; I <= Prop.Last; ++I)
            Lines.push_back(String(std::max(0, FNew[I].Indent + Shift), ' ') + FNew[I].Content);
        return Lines;
    }

    const std::vector<TLine>& FOld;
    const std::vector<TLine>& FNew;
    std::vector<TEdit> FEdits;
};

String TextOf(const String& Binary) {
    TMemoryStream Input, Output;
    LoadStream(Input, Binary);
    ObjectBinaryToText(&Input, &Output);
    return StreamBytes(Output);
}

String BinaryOf(const String& Text) {
    TMemoryStream Input, Output;
    LoadStream(Input, Text);
    ObjectTextToBinary(&Input, &Output);
    return StreamBytes(Output);
}

} // namespace

String SpliceFormText(const String& Original, const String& OldBinary, const String& NewBinary) {
    const String Canonical = TextOf(NewBinary);
    const std::vector<TLine> Old = SplitLines(Original);
    const std::vector<TLine> New = SplitLines(Canonical);
    TTextObject OldText, NewText;
    if (!Outline(Old, OldText) || !Outline(New, NewText))
        return Canonical;
    TSplicer Splicer(Old, New);
    if (!Splicer.Compare(ParseRawForm(OldBinary), OldText, ParseRawForm(NewBinary), NewText))
        return Canonical;
    const String LineEnd = Original.find("\r\n") != String::npos ? "\r\n" : "\n";
    String Result = Splicer.Apply(LineEnd);
    if (!Original.empty() && Original.back() != '\n' && !Result.empty())
        Result.resize(Result.size() - LineEnd.size());
    try {
        if (BinaryOf(Result) == NewBinary)
            return Result;
    } catch (const Exception&) {
        // The splice is not a valid form: the canonical text is.
    }
    return Canonical;
}

} // namespace orlo::glossa
