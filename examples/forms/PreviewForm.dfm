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
        Ref = PageLabel
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
        Ref = CloseButton
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
