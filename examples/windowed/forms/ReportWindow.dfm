object ReportWindow: TReportWindow
  Left = 660
  Top = 100
  AutoScroll = False
  BorderStyle = bsSingle
  Caption = 'Report'
  ClientHeight = 176
  ClientWidth = 400
  object HeadingLabel: TLabel
    Left = 16
    Top = 16
    Width = 368
    Height = 20
    Caption = 'Notes this week'
  end
  object SummaryLabel: TLabel
    Left = 16
    Top = 44
    Width = 368
    Height = 40
    AutoSize = False
    Caption = 'Three notes, two of them written today.'
    WordWrap = True
  end
  object LanguageLabel: TLabel
    Left = 16
    Top = 132
    Width = 150
    Height = 20
    Caption = 'Report &language:'
    FocusControl = LanguageCombo
  end
  object LanguageCombo: TLangComboBox
    Left = 172
    Top = 128
    Width = 112
    Height = 26
    TabOrder = 0
  end
  object CloseButton: TButton
    Left = 292
    Top = 126
    Width = 92
    Height = 30
    Caption = '&Close'
    TabOrder = 1
    OnClick = CloseButtonClick
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
              18000000000100004E6F74697A656E2064696573657220576F63686517000000
              000100004E6F746573206465206C612073656D61696E65}
          end>
        SubType = [stPubPropObject]
        Ref = HeadingLabel
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              2F0000000001000044726569204E6F74697A656E2C207A776569206461766F6E
              20686575746520676573636872696562656E2E300000000001000054726F6973
              206E6F7465732C20646F6E74206465757820C3A96372697465732061756A6F75
              7264276875692E}
          end>
        SubType = [stPubPropObject]
        Ref = SummaryLabel
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              1A000000000100005370726163686520646573202642657269636874733A1800
              000000010000264C616E67756520647520726170706F7274203A}
          end>
        SubType = [stPubPropObject]
        Ref = LanguageLabel
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
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              0B00000000010000426572696368740B00000000010000526170706F7274}
          end>
        SubType = [stPubPropObject]
        Ref = Owner
      end>
    LanguageManager_Names = ''
    LanguageManager_Values = ''
  end
end
