object PreviewForm: TPreviewForm
  Caption = 'Preview'
  object Label1: TTestLabel
    Caption = '&Zoom'
    Hint = 'Zoom the page'
  end
  object Label2: TTestLabel
    Caption = 'Close'
  end
  object Memo1: TTestMemo
    Lines.Strings = (
      'Page 1 of 3')
  end
  object Glossa: TGlossa
    Domain = 'REPORTS'
    Language = 'English'
    BeforeChange = GlossaBeforeChange
    OnChange = GlossaChange
    AfterChange = GlossaAfterChange
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
              0B00000000010000265A6F6F6D656E}
          end
          item
            Name = 'Hint'
            Kind = tkLString
            Count = 2
            Values = {
              1400000000010000446965205365697465207A6F6F6D656E}
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
              0E000000000100005363686C6965C39F656E}
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
                  11000000000100005365697465203120766F6E2033}
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
              0C00000000010000566F727363686175}
          end>
        SubType = [stPubPropObject]
        Ref = Owner
      end>
    LanguageManager_Names = ''
    LanguageManager_Values = ''
  end
end
