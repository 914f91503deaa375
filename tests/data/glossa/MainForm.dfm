object MainForm: TMainForm
  Caption = 'Main window'
  object Label1: TTestLabel
    Caption = '&Open'
    Hint = 'Open a file'
  end
  object Label2: TTestLabel
    Caption = 'Close'
  end
  object Memo1: TTestMemo
    Lines.Strings = (
      'First line'
      'Second line')
  end
  object Glossa: TGlossa
    Language = 'English'
    BeforeChange = GlossaBeforeChange
    OnChange = GlossaChange
    AfterChange = GlossaAfterChange
    Left = 8
    Top = 16
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
              0B00000000010000264F75767269720C00000000010000C3962666666E656E}
          end
          item
            Name = 'Hint'
            Kind = tkLString
            Count = 3
            Values = {
              15000000000100004F757672697220756E206669636869657216000000000100
              0045696E6520446174656920C3B666666E656E}
          end>
        SubType = [stPubPropObject]
        Ref = Label1
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              0A000000000100004665726D65720E000000000100005363686C6965C39F656E}
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
                Count = 3
                Values = {
                  13000000000100005072656D69C3A87265206C69676E650F0000000001000045
                  72737465205A65696C65}
              end
              item
                Name = 'Strings[1]'
                Kind = tkString
                Count = 3
                Values = {
                  13000000000100004465757869C3A86D65206C69676E6510000000000100005A
                  7765697465205A65696C65}
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
            Count = 3
            Values = {
              170000000001000046656EC3AA747265207072696E636970616C651000000000
              010000486175707466656E73746572}
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
                Count = 3
                Values = {
                  23000000000100004C652066696368696572206120C3A974C3A920656E726567
                  69737472C3A92E20000000000100004469652044617465692077757264652067
                  657370656963686572742E}
              end
              item
                Name = 'Question'
                Kind = tkLString
                Index = 1
                Count = 3
                Values = {
                  2300000000010000456E726567697374726572206C6573206D6F646966696361
                  74696F6E73203F1A00000000010000C3846E646572756E67656E207370656963
                  6865726E3F}
              end>
            SubType = [stTStringsObject, stNoValidate]
          end>
        SubType = [stPubPropObject]
        Ref = Glossa
      end>
    LanguageManager_Names = 'Saved'#13#10'Question'#13#10
    LanguageManager_Values = 'The file was saved.'#13#10'Save the changes?'#13#10
  end
end
