#include "tests/runtime/GlossaTestForms.h"

#include "platform/classes/Resources.h"
#include "platform/rtl/Exception.h"

namespace orlo::test {

std::vector<String>& GlossaEventLog() {
    static std::vector<String> Log;
    return Log;
}

void TTranslatedForm::GetChildren(const TGetChildProc& Proc, TComponent* Root) const {
    for (Integer I = 0; I < ComponentCount(); ++I)
        Proc(Components(I));
}

String TTranslatedForm::Shown() const {
    String Result = Label1->Caption() + "|" + Label2->Caption();
    for (Integer I = 0; I < Memo1->Lines()->Count(); ++I)
        Result += "|" + Memo1->Lines()->Strings(I);
    return Result;
}

void TTranslatedForm::Handle(const char* Event) {
    GlossaEventLog().push_back(Name() + ":" + Event + ":" + Label1->Caption());
    if (FailIn == Event)
        throw Exception(Name() + " " + Event + " failed");
}

ORLO_PUBLISHED(TTranslatedForm, "GlossaTestForms") {
    P.Property("Caption", &TTranslatedForm::Caption, &TTranslatedForm::SetCaption)
        .Type(TCaptionTypeInfo());
    P.Field("Label1", &TTranslatedForm::Label1);
    P.Field("Label2", &TTranslatedForm::Label2);
    P.Field("Memo1", &TTranslatedForm::Memo1);
    P.Field("Glossa", &TTranslatedForm::Glossa);
    P.Method<&TTranslatedForm::GlossaBeforeChange>("GlossaBeforeChange");
    P.Method<&TTranslatedForm::GlossaChange>("GlossaChange");
    P.Method<&TTranslatedForm::GlossaAfterChange>("GlossaAfterChange");
}

ORLO_PUBLISHED(TMainForm, "GlossaTestForms") {}
ORLO_PUBLISHED(TOptionsForm, "GlossaTestForms") {}
ORLO_PUBLISHED(TToolForm, "GlossaTestForms") {}
ORLO_PUBLISHED(TReportForm, "GlossaTestForms") {}
ORLO_PUBLISHED(TPreviewForm, "GlossaTestForms") {}

void ReadTranslatedForm(TTranslatedForm* Form) {
    if (!InitInheritedComponent(Form, TTranslatedForm::StaticClass()))
        throw EResNotFound("Resource " + Form->ClassName() + " not found");
}

} // namespace orlo::test
