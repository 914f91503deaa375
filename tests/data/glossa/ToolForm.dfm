object ToolForm: TToolForm
  Caption = 'Tools'
  object Label1: TTestLabel
    Caption = '&Run'
    Hint = 'Run the tool'
  end
  object Label2: TTestLabel
    Caption = 'Stop'
  end
  object Memo1: TTestMemo
    Lines.Strings = (
      'Ready.')
  end
  object Glossa: TGlossa
    Language = 'English'
    TopLevel = True
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
              0F000000000100002641757366C3BC6872656E}
          end
          item
            Name = 'Hint'
            Kind = tkLString
            Count = 2
            Values = {
              1B00000000010000446173205765726B7A6575672061757366C3BC6872656E}
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
              0C00000000010000416E68616C74656E}
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
                  0B000000000100004265726569742E}
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
              0D000000000100005765726B7A65756765}
          end>
        SubType = [stPubPropObject]
        Ref = Owner
      end>
    LanguageManager_Names = ''
    LanguageManager_Values = ''
  end
end
