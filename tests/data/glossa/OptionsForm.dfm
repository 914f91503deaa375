object OptionsForm: TOptionsForm
  Caption = 'Einstellungen'
  object Label1: TTestLabel
    Caption = 'Ü&bernehmen'
    Hint = 'Die Einstellungen übernehmen'
  end
  object Label2: TTestLabel
    Caption = 'Abbrechen'
  end
  object Memo1: TTestMemo
    Lines.Strings = (
      'Änderungen gelten sofort.')
  end
  object Glossa: TGlossa
    Language = 'Deutsch'
    BeforeChange = GlossaBeforeChange
    OnChange = GlossaChange
    AfterChange = GlossaAfterChange
    LanguageManager_Langs = <
      item
        Name = 'English'
        SubIndex = 1
      end
      item
        Name = 'Deutsch'
        SubIndex = 0
      end>
    LanguageManager_Comps = <
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 2
            Values = {
              0A00000000010000264170706C79}
          end
          item
            Name = 'Hint'
            Kind = tkLString
            Count = 2
            Values = {
              15000000000100004170706C7920746865206F7074696F6E73}
          end>
        SubType = [stPubPropObject]
        Ref = Label1
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 2
            Values = {
              0A0000000001000043616E63656C}
          end>
        SubType = [stPubPropObject]
        Ref = Label2
      end
      item
        Items = <
          item
            Name = 'Lines'
            Props = <
              item
                Name = 'Strings[0]'
                Kind = tkString
                Count = 2
                Values = {
                  1A000000000100004368616E676573206170706C79206174206F6E63652E}
              end>
            SubType = [stTStringsObject]
          end>
        SubType = [stPubPropObject]
        Ref = Memo1
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 2
            Values = {
              0B000000000100004F7074696F6E73}
          end>
        SubType = [stPubPropObject]
        Ref = Owner
      end>
    LanguageManager_Names = ''
    LanguageManager_Values = ''
  end
end
