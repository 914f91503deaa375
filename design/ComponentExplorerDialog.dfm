object ComponentExplorerForm: TComponentExplorerForm
  Left = 200
  Top = 120
  AutoScroll = False
  Caption = 'Select properties'
  ClientHeight = 440
  ClientWidth = 640
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object Explorer: TComponentExplorer
    Left = 0
    Top = 0
    Width = 640
    Height = 392
    Align = alClient
  end
  object ButtonPanel: TButtonPanel
    Left = 0
    Top = 392
    Width = 640
    Height = 48
    Align = alBottom
    BevelOuter = bvNone
    TabOrder = 1
    ButtonAlignment = taRightJustify
    ButtonDimX = 104
    ButtonDimY = 28
    Buttons = <
      item
        Kind = bkOK
        Caption = 'OK'
        TabOrder = 0
      end
      item
        Kind = bkCancel
        Caption = 'Cancel'
        TabOrder = 1
      end
      item
        Kind = bkHelp
        Caption = '&Help'
        TabOrder = 2
      end>
  end
  object Glossa: TGlossa
    Domain = '.Private Orlo Domain'
    Language = 'English'
    OnChange = GlossaChange
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
        Items = <
          item
            Name = 'Buttons[0]'
            Props = <
              item
                Name = 'Caption'
                Kind = tkLString
                Count = 2
                Values = {
                  06000000000100004F4B}
              end>
            SubType = [stPubPropObject, stCollectionObject]
          end
          item
            Name = 'Buttons[1]'
            Props = <
              item
                Name = 'Caption'
                Kind = tkLString
                Count = 2
                Values = {
                  0D0000000001000041626272656368656E}
              end>
            SubType = [stPubPropObject, stCollectionObject]
          end
          item
            Name = 'Buttons[2]'
            Props = <
              item
                Name = 'Caption'
                Kind = tkLString
                Count = 2
                Values = {
                  0A000000000100002648696C6665}
              end>
            SubType = [stPubPropObject, stCollectionObject]
          end>
        SubType = [stPubPropObject]
        Ref = ButtonPanel
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 2
            Values = {
              1C00000000010000456967656E736368616674656E2061757377C3A4686C656E}
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
                Name = 'FilterUser'
                Kind = tkLString
                Index = 0
                Count = 2
                Values = {
                  0B00000000010000456967656E653A}
              end
              item
                Name = 'FilterAll'
                Kind = tkLString
                Index = 1
                Count = 2
                Values = {
                  0800000000010000416C6C65}
              end
              item
                Name = 'FilterAssigned'
                Kind = tkLString
                Index = 2
                Count = 2
                Values = {
                  0F000000000100004E75722062656C65677465}
              end
              item
                Name = 'SortByName'
                Kind = tkLString
                Index = 3
                Count = 2
                Values = {
                  18000000000100004E616368204E616D656E20736F7274696572656E}
              end
              item
                Name = 'SortByType'
                Kind = tkLString
                Index = 4
                Count = 2
                Values = {
                  16000000000100004E6163682054797020736F7274696572656E}
              end
              item
                Name = 'SourceHeading'
                Kind = tkLString
                Index = 5
                Count = 2
                Values = {
                  1D0000000001000056657266C3BC676261726520456967656E73636861667465
                  6E}
              end
              item
                Name = 'DestHeading'
                Kind = tkLString
                Index = 6
                Count = 2
                Values = {
                  1E00000000010000417573676577C3A4686C746520456967656E736368616674
                  656E}
              end
              item
                Name = 'AddHint'
                Kind = tkLString
                Index = 7
                Count = 2
                Values = {
                  27000000000100004D61726B696572746520456967656E736368616674656E20
                  68696E7A7566C3BC67656E}
              end
              item
                Name = 'AddAllHint'
                Kind = tkLString
                Index = 8
                Count = 2
                Values = {
                  2200000000010000416C6C6520456967656E736368616674656E2068696E7A75
                  66C3BC67656E}
              end
              item
                Name = 'RemoveHint'
                Kind = tkLString
                Index = 9
                Count = 2
                Values = {
                  25000000000100004D61726B696572746520456967656E736368616674656E20
                  656E746665726E656E}
              end
              item
                Name = 'RemoveAllHint'
                Kind = tkLString
                Index = 10
                Count = 2
                Values = {
                  2000000000010000416C6C6520456967656E736368616674656E20656E746665
                  726E656E}
              end
              item
                Name = 'InfoNone'
                Kind = tkLString
                Index = 11
                Count = 2
                Values = {
                  1E000000000100004B65696E6520456967656E736368616674206D61726B6965
                  7274}
              end>
            SubType = [stTStringsObject, stNoValidate]
          end>
        SubType = [stPubPropObject]
        Ref = Glossa
      end>
    LanguageManager_Names = 'FilterUser'#13#10'FilterAll'#13#10'FilterAssigned'#13#10'SortByN' +
      'ame'#13#10'SortByType'#13#10'SourceHeading'#13#10'DestHeading' +
      #13#10'AddHint'#13#10'AddAllHint'#13#10'RemoveHint'#13#10'RemoveA' +
      'llHint'#13#10'InfoNone'#13#10
    LanguageManager_Values = 'User:'#13#10'All'#13#10'Assigned only'#13#10'Sort by name'#13 +
      #10'Sort by type'#13#10'Available properties'#13#10'Selected prop' +
      'erties'#13#10'Add the selected properties'#13#10'Add all propert' +
      'ies'#13#10'Remove the selected properties'#13#10'Remove all prop' +
      'erties'#13#10'No property selected'#13#10
  end
end
