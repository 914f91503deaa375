object NotesForm: TNotesForm
  Caption = 'Notes'
  object Glossa: TGlossa
    Language = 'English'
    LanguageManager_Langs = <
      item
        Name = 'English'
        SubIndex = 0
      end
      item
        Name = 'Deutsch'
        SubIndex = 1
      end>
    LanguageManager_Comps = <
      item
        Items = <
          item
            Name = 'Resources'
            Props = <
              item
                Name = 'Title'
                Kind = tkLString
                Index = 0
                Count = 2
                Values = {
                  0900000000010000546974656C}
              end
              item
                Name = 'Saved'
                Kind = tkLString
                Index = 1
                Count = 2
                Values = {
                  0F000000000100004765737065696368657274}
              end
              item
                Name = 'Spare'
                Kind = tkLString
                Index = 2
                Count = 2
                Values = {
                  0C00000000010000526573657276652E}
              end>
            SubType = [stTStringsObject, stNoValidate]
          end>
        SubType = [stPubPropObject]
        Ref = Glossa
      end>
    LanguageManager_Names = 'Title'#13#10'Saved'#13#10'Spare'#13#10
    LanguageManager_Values = 'Notes'#13#10'Saved.'#13#10'Spare.'#13#10
  end
end
