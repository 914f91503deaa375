// Uses the named strings of NotesForm.dfm as they are defined.
void TNotesForm::Show() {
    SetCaption(Glossa->GetString("Title"));
    Status(Glossa->GetString("Saved"));
}
