object MainForm: TMainForm
  Caption = 'Orlo Notes'
  object Title: TLabel
    Caption = 'Your notes'
  end
  object OpenButton: TLabel
    Caption = '&Open...'
    Hint = 'Open a notebook'
  end
  object Notes: TMemo
    Lines.Strings = (
      'Nothing written yet.'
      'Press Open to start.')
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
        SubIndex = 2
      end
      item
        Name = 'Français'
        SubIndex = 1
      end>
    LanguageManager_Comps = <
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              0D00000000010000566F73206E6F746573100000000001000049687265204E6F
              74697A656E}
          end>
        SubType = [stPubPropObject]
        Ref = Title
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              0E00000000010000264F75767269722E2E2E0F00000000010000C3962666666E
              656E2E2E2E}
          end
          item
            Name = 'Hint'
            Kind = tkLString
            Count = 3
            Values = {
              14000000000100004F757672697220756E206361726E65741900000000010000
              45696E204E6F74697A6275636820C3B666666E656E}
          end>
        SubType = [stPubPropObject]
        Ref = OpenButton
      end
      item
        Items = <
          item
            Name = 'Lines'
            Props = <
              item
                Name = 'Strings[0]'
                Kind = tkString
                Count = 3
                Values = {
                  21000000000100005269656E206427C3A96372697420706F7572206C27696E73
                  74616E742E1C000000000100004E6F6368206E69636874732067657363687269
                  6562656E2E}
              end
              item
                Name = 'Strings[1]'
                Kind = tkString
                Count = 3
                Values = {
                  26000000000100004170707579657A20737572204F757672697220706F757220
                  636F6D6D656E6365722E29000000000100004472C3BC636B656E2053696520C3
                  9666666E656E2C20756D207A7520626567696E6E656E2E}
              end>
            SubType = [stTStringsObject]
          end>
        SubType = [stPubPropObject]
        Ref = Notes
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              0E000000000100004E6F746573204F726C6F10000000000100004F726C6F204E
              6F74697A656E}
          end>
        SubType = [stPubPropObject]
        Ref = Owner
      end>
    LanguageManager_Names = ''
    LanguageManager_Values = ''
  end
end
