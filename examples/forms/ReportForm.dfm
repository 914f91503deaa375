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
        Ref = Heading
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
        Ref = PrintButton
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
