object PreviewForm: TPreviewForm
  Caption = 'Print preview'
  object PageLabel: TLabel
    Caption = 'Page 1 of 4'
  end
  object CloseButton: TLabel
    Caption = 'Close'
    Hint = 'Back to the report'
  end
  object Glossa: TGlossa
    Domain = 'REPORTS'
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
              11000000000100005365697465203120766F6E2034}
          end>
        SubType = [stPubPropObject]
        Ref = PageLabel
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 2
            Values = {
              0E000000000100005363686C6965C39F656E}
          end
          item
            Name = 'Hint'
            Kind = tkLString
            Count = 2
            Values = {
              17000000000100005A7572C3BC636B207A756D2042657269636874}
          end>
        SubType = [stPubPropObject]
        Ref = CloseButton
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 2
            Values = {
              1100000000010000447275636B766F727363686175}
          end>
        SubType = [stPubPropObject]
        Ref = Owner
      end>
    LanguageManager_Names = ''
    LanguageManager_Values = ''
  end
end
