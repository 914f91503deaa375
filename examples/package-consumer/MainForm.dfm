object MainForm: TMainForm
  Caption = 'Orders'
  object Greeting: TLabel
    Caption = 'Welcome back!'
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
              170000000001000057696C6C6B6F6D6D656E207A7572C3BC636B21}
          end>
        SubType = [stPubPropObject]
        Ref = Greeting
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 2
            Values = {
              100000000001000042657374656C6C756E67656E}
          end>
        SubType = [stPubPropObject]
        Ref = Owner
      end
      item
        Items = <
          item
            Name = 'Resources'
            Props = <
              item
                Name = 'Saved'
                Kind = tkLString
                Index = 0
                Count = 2
                Values = {
                  25000000000100004469652042657374656C6C756E6720777572646520676573
                  70656963686572742E}
              end>
            SubType = [stTStringsObject, stNoValidate]
          end>
        SubType = [stPubPropObject]
        Ref = Glossa
      end>
    LanguageManager_Names = 'Saved'#13#10
    LanguageManager_Values = 'The order was saved.'#13#10
  end
end
