object SettingsForm: TSettingsForm
  Caption = 'Settings'
  object LanguageLabel: TLabel
    Caption = 'Language of the program:'
  end
  object OkButton: TLabel
    Caption = 'OK'
    Hint = 'Keep the changes'
  end
  object CancelButton: TLabel
    Caption = 'Cancel'
    Hint = 'Forget the changes'
  end
  object Glossa: TGlossa
    Language = 'English'
    LanguageManager_Langs = <
      item
        Name = 'English'
        SubIndex = 0
      end>
    LanguageManager_Comps = <
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 1
            Values = {}
          end>
        SubType = [stPubPropObject]
        Ref = LanguageLabel
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 1
            Values = {}
          end
          item
            Name = 'Hint'
            Kind = tkLString
            Count = 1
            Values = {}
          end>
        SubType = [stPubPropObject]
        Ref = OkButton
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 1
            Values = {}
          end
          item
            Name = 'Hint'
            Kind = tkLString
            Count = 1
            Values = {}
          end>
        SubType = [stPubPropObject]
        Ref = CancelButton
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 1
            Values = {}
          end>
        SubType = [stPubPropObject]
        Ref = Owner
      end>
    LanguageManager_Names = ''
    LanguageManager_Values = ''
  end
end
