#include "apps/glossa/CheckCommand.h"

#include "apps/glossa/FormFile.h"
#include "design/GlossaParser.h"
#include "platform/classes/Strings.h"
#include "platform/os/FileSystem.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <ostream>

namespace orlo::glossa {

namespace {

constexpr const char* Usage = "usage: glossa check [--qualified | --unqualified] FORM SOURCE...\n";

struct TDiagnostic {
    Integer Offset;
    String Text;
};

void Report(std::ostream& Out, const String& File, TTextPosition Position, const String& Text) {
    Out << File << ':' << Position.Line << ':' << Position.Column << ": " << Text << '\n';
}

// The undefined names and the calls not checked, in text order.
std::vector<TDiagnostic> DiagnosticsOf(const TGlossaParser& Parser, const String& FormFile) {
    std::vector<TDiagnostic> Result;
    const TStringList* Undefined = Parser.UndefinedNames();
    for (Integer I = 0; I < Undefined->Count(); ++I)
        Result.push_back(
            {TGlossaParser::OffsetOf(Undefined, I),
             "error: string \"" + Undefined->Strings(I) + "\" is not defined in " + FormFile});
    const TStringList* Invalid = Parser.InvalidCalls();
    for (Integer I = 0; I < Invalid->Count(); ++I)
        Result.push_back({TGlossaParser::OffsetOf(Invalid, I),
                          "warning: call not checked: " + Invalid->Strings(I)});
    std::stable_sort(Result.begin(), Result.end(), [](const TDiagnostic& A, const TDiagnostic& B) {
        return A.Offset < B.Offset;
    });
    return Result;
}

bool IsTextForm(const TSourceParser& Form) {
    const auto First = Form.FindNextToken(0, -1);
    return First && (SameText(First->Text, "object") || SameText(First->Text, "inherited") ||
                     SameText(First->Text, "inline"));
}

// Where a text form stores the name; the start of the file for other forms.
TTextPosition NamePosition(const TSourceParser& Form, const String& Name) {
    if (!IsTextForm(Form))
        return {1, 1};
    const size_t Names = Form.Text().find("LanguageManager_Names");
    if (Names == String::npos)
        return {1, 1};
    const size_t At = Form.Text().find("'" + StringToPascalString(Name) + "'", Names);
    return Form.PositionOf(At == String::npos ? static_cast<Integer>(Names)
                                              : static_cast<Integer>(At));
}

void ReportUnused(const TCheckTable& Table, const TStringList& Unused, std::ostream& Out) {
    if (Unused.Count() == 0)
        return;
    String FormText;
    try {
        FormText = ReadFileContent(Table.FormFile);
    } catch (const Exception&) {
        // The messages then point at the start of the form.
    }
    const TSourceParser Form(FormText);
    for (Integer I = 0; I < Unused.Count(); ++I)
        Report(Out, Table.FormFile, NamePosition(Form, Unused.Strings(I)),
               "warning: string \"" + Unused.Strings(I) + "\" is not used in the sources");
}

} // namespace

TCodeType SourceLanguage(const String& FileName) {
    const String Extension = LowerCase(std::filesystem::path(FileName).extension().string());
    for (const char* Pascal : {".pas", ".pp", ".dpr", ".lpr", ".inc"})
        if (Extension == Pascal)
            return ctPascal;
    return Extension == ".c" ? ctC : ctCpp;
}

int CheckSources(const TCheckTable& Table, const std::vector<String>& Sources, std::ostream& Out,
                 std::ostream& Err) {
    int Status = 0;
    // A name is unused when no source uses it.
    TStringList Unused;
    if (Table.Names)
        Unused.AddStrings(Table.Names);
    for (const String& Source : Sources) {
        String Text;
        try {
            Text = ReadFileContent(Source);
        } catch (const Exception& E) {
            Err << "glossa check: " << E.Message() << '\n';
            Status = 1;
            continue;
        }
        TGlossaParser Parser(Table.ComponentName, Table.Names, std::move(Text),
                             SourceLanguage(Source));
        if (!Parser.Check(Table.QualifiedOnly)) {
            Report(Out, Source, {1, 1},
                   "error: Syntax error in source code. Consistency check aborted.");
            Status = 1;
            continue;
        }
        for (const TDiagnostic& Each : DiagnosticsOf(Parser, Table.FormFile))
            Report(Out, Source, Parser.PositionOf(Each.Offset), Each.Text);
        if (Parser.UndefinedNames()->Count() > 0)
            Status = 1;
        for (Integer I = Unused.Count() - 1; I >= 0; --I)
            if (Parser.UnusedNames()->IndexOf(Unused.Strings(I)) < 0)
                Unused.Delete(I);
    }
    ReportUnused(Table, Unused, Out);
    return Status;
}

int RunCheck(const std::vector<String>& Args, std::ostream& Out, std::ostream& Err) {
    std::optional<bool> Qualified;
    std::vector<String> Files;
    for (const String& Arg : Args) {
        if (Arg == "--qualified" || Arg == "--unqualified") {
            Qualified = Arg == "--qualified";
        } else if (Arg.starts_with("-") && Arg != "-") {
            Err << "glossa check: unknown option \"" << Arg << "\"\n" << Usage;
            return 2;
        } else {
            Files.push_back(Arg);
        }
    }
    if (Files.size() < 2) {
        Err << Usage;
        return 2;
    }
    std::unique_ptr<TFormFile> Form;
    try {
        Form = TFormFile::Load(Files[0]);
    } catch (const Exception& E) {
        Err << "glossa check: " << E.Message() << '\n';
        return 1;
    }
    const TCheckTable Table{Files[0], Form->GlossaName(),
                            Qualified.value_or(Form->FileFormat() != TFormFormat::Resource),
                            Form->LanguageManager()->Names()};
    return CheckSources(Table, std::vector<String>(Files.begin() + 1, Files.end()), Out, Err);
}

int RunCheck(const std::vector<String>& Args) {
    return RunCheck(Args, std::cout, std::cerr);
}

} // namespace orlo::glossa
