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
        Ref = Title
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
                Count = 1
                Values = {}
              end
              item
                Name = 'Strings[1]'
                Kind = tkString
                Count = 1
                Values = {}
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
