object ReportForm: TReportForm
  Caption = 'Monthly report'
  object Heading: TLabel
    Caption = 'Sales by region'
  end
  object PrintButton: TLabel
    Caption = '&Print'
    Hint = 'Print the report'
  end
  object Glossa: TGlossa
    Domain = 'Reports'
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
              1600000000010000556D7361747A206E61636820526567696F6E}
          end>
        SubType = [stPubPropObject]
        Ref = Heading
      end
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
        Ref = PrintButton
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 2
            Values = {
              11000000000100004D6F6E61747362657269636874}
          end>
        SubType = [stPubPropObject]
        Ref = Owner
      end>
    LanguageManager_Names = ''
    LanguageManager_Values = ''
  end
end
