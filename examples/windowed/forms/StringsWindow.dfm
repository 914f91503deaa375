object StringsWindow: TStringsWindow
  Left = 200
  Top = 120
  AutoScroll = False
  Caption = 'Named strings'
  ClientHeight = 260
  ClientWidth = 480
  Position = poScreenCenter
  object Grid: TStringGrid
    Left = 8
    Top = 8
    Width = 464
    Height = 204
    ColCount = 2
    DefaultColWidth = 140
    FixedCols = 0
    RowCount = 2
    Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goColSizing]
    TabOrder = 0
  end
  object CloseButton: TButton
    Left = 352
    Top = 220
    Width = 120
    Height = 32
    Cancel = True
    Caption = '&Close'
    TabOrder = 1
    OnClick = CloseButtonClick
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
      end
      item
        Name = 'Français'
        SubIndex = 2
      end>
    LanguageManager_Comps = <
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              120000000001000042656E616E6E746520546578746512000000000100005465
              78746573206E6F6D6DC3A973}
          end>
        SubType = [stPubPropObject]
        Ref = Owner
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              0F00000000010000265363686C6965C39F656E0B00000000010000264665726D
              6572}
          end>
        SubType = [stPubPropObject]
        Ref = CloseButton
      end
      item
        Items = <
          item
            Name = 'Resources'
            Props = <
              item
                Name = 'NameColumn'
                Kind = tkLString
                Index = 0
                Count = 3
                Values = {
                  08000000000100004E616D6507000000000100004E6F6D}
              end
              item
                Name = 'TextColumn'
                Kind = tkLString
                Index = 1
                Count = 3
                Values = {
                  08000000000100005465787409000000000100005465787465}
              end>
            SubType = [stTStringsObject, stNoValidate]
          end>
        SubType = [stPubPropObject]
        Ref = Glossa
      end>
    LanguageManager_Names = 'NameColumn'#13#10'TextColumn'#13#10
    LanguageManager_Values = 'Name'#13#10'Text'#13#10
  end
end
