// A typo in a string name.
void TNotesForm::Save() {
    Status(Glossa->GetString("Saevd"));
    Status(Glossa->GetString(Name));
}
