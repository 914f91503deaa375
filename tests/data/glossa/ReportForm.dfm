object ReportForm: TReportForm
  Caption = 'Report'
  object Label1: TTestLabel
    Caption = '&Print'
    Hint = 'Print the report'
  end
  object Label2: TTestLabel
    Caption = 'Close'
  end
  object Memo1: TTestMemo
    Lines.Strings = (
      'Page 1')
  end
  object Glossa: TGlossa
    Domain = 'Reports'
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
              0C0000000001000026447275636B656E}
          end
          item
            Name = 'Hint'
            Kind = tkLString
            Count = 2
            Values = {
              170000000001000044656E204265726963687420647275636B656E}
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
                  0B0000000001000053656974652031}
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
              0B0000000001000042657269636874}
          end>
        SubType = [stPubPropObject]
        Ref = Owner
      end>
    LanguageManager_Names = ''
    LanguageManager_Values = ''
  end
end
