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
      end
      item
        Name = 'Deutsch'
        SubIndex = 1
      end>
    LanguageManager_Comps = <
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 2
            Values = {
              1A0000000001000053707261636865206465732050726F6772616D6D733A}
          end>
        SubType = [stPubPropObject]
        Ref = LanguageLabel
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 2
            Values = {
              06000000000100004F4B}
          end
          item
            Name = 'Hint'
            Kind = tkLString
            Count = 2
            Values = {
              1B00000000010000C3846E646572756E67656E20C3BC6265726E65686D656E}
          end>
        SubType = [stPubPropObject]
        Ref = OkButton
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 2
            Values = {
              0D0000000001000041626272656368656E}
          end
          item
            Name = 'Hint'
            Kind = tkLString
            Count = 2
            Values = {
              1900000000010000C3846E646572756E67656E2076657277657266656E}
          end>
        SubType = [stPubPropObject]
        Ref = CancelButton
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 2
            Values = {
              110000000001000045696E7374656C6C756E67656E}
          end>
        SubType = [stPubPropObject]
        Ref = Owner
      end>
    LanguageManager_Names = ''
    LanguageManager_Values = ''
  end
end
