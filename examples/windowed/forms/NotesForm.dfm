object NotesForm: TNotesForm
  Left = 120
  Top = 80
  AutoScroll = False
  Caption = 'Orlo Notes'
  ClientHeight = 408
  ClientWidth = 520
  Menu = MainMenu
  Position = poScreenCenter
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  object TitleLabel: TLabel
    Left = 16
    Top = 47
    Width = 200
    Height = 20
    Caption = 'Your notes'
  end
  object LanguageLabel: TLabel
    Left = 280
    Top = 47
    Width = 90
    Height = 20
    Alignment = taRightJustify
    AutoSize = False
    Caption = '&Language:'
    FocusControl = LanguageCombo
  end
  object LanguageCombo: TLangComboBox
    Left = 376
    Top = 43
    Width = 128
    Height = 24
    TabOrder = 0
  end
  object Notes: TMemo
    Left = 16
    Top = 77
    Width = 488
    Height = 244
    Lines.Strings = (
      'Nothing written yet.'
      'Settings choose where notes are kept.')
    TabOrder = 1
  end
  object SettingsButton: TButton
    Left = 16
    Top = 337
    Width = 120
    Height = 32
    Hint = 'Choose where notes are kept'
    Caption = 'Settings...'
    ParentShowHint = False
    ShowHint = True
    TabOrder = 2
    OnClick = SettingsButtonClick
  end
  object ReportButton: TButton
    Left = 144
    Top = 337
    Width = 120
    Height = 32
    Hint = 'Show a summary in its own window'
    Caption = 'Report'
    ParentShowHint = False
    ShowHint = True
    TabOrder = 3
    OnClick = ReportButtonClick
  end
  object AboutButton: TButton
    Left = 272
    Top = 337
    Width = 104
    Height = 32
    Caption = '&About'
    TabOrder = 4
    OnClick = AboutButtonClick
  end
  object CloseButton: TButton
    Left = 400
    Top = 337
    Width = 104
    Height = 32
    Caption = '&Close'
    TabOrder = 5
    OnClick = CloseButtonClick
  end
  object ToolBar: TToolBar
    Left = 0
    Top = 0
    Width = 520
    Height = 29
    ButtonWidth = 90
    Caption = 'ToolBar'
    ParentShowHint = False
    ShowHint = True
    TabOrder = 6
    object SettingsTool: TToolButton
      Left = 0
      Top = 2
      Width = 90
      Height = 22
      Hint = 'Choose where notes are kept'
      Caption = '&Settings...'
      MenuItem = SettingsItem
    end
    object ReportTool: TToolButton
      Left = 90
      Top = 2
      Width = 90
      Height = 22
      Hint = 'Show a summary in its own window'
      Caption = '&Report'
      MenuItem = ReportItem
    end
    object StringsTool: TToolButton
      Left = 180
      Top = 2
      Width = 90
      Height = 22
      Hint = 'List the named strings of this window'
      Caption = 'Named s&trings'
      MenuItem = StringsItem
    end
  end
  object StatusBar: TStatusBar
    Left = 0
    Top = 389
    Width = 520
    Height = 19
    Panels = <
      item
        Width = 150
      end
      item
        Width = 200
      end>
  end
  object Glossa: TGlossa
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
              100000000001000049687265204E6F74697A656E0D00000000010000566F7320
              6E6F746573}
          end>
        SubType = [stPubPropObject]
        Ref = TitleLabel
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              0D0000000001000053267072616368653A0D00000000010000264C616E677565
              203A}
          end>
        SubType = [stPubPropObject]
        Ref = LanguageLabel
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
                  1C000000000100004E6F6368206E696368747320676573636872696562656E2E
                  21000000000100005269656E206427C3A96372697420706F7572206C27696E73
                  74616E742E}
              end
              item
                Name = 'Strings[1]'
                Kind = tkString
                Count = 3
                Values = {
                  3A00000000010000556E7465722045696E7374656C6C756E67656E206C656765
                  6E2053696520666573742C20776F204E6F74697A656E206C696567656E2E2E00
                  0000000100004C65732072C3A9676C6167657320646973656E74206FC3B92072
                  616E676572206C6573206E6F7465732E}
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
              140000000001000045696E7374656C6C756E67656E2E2E2E1000000000010000
              52C3A9676C616765732E2E2E}
          end
          item
            Name = 'Hint'
            Kind = tkLString
            Count = 3
            Values = {
              2000000000010000466573746C6567656E2C20776F204E6F74697A656E206C69
              6567656E200000000001000043686F69736972206FC3B92072616E676572206C
              6573206E6F746573}
          end>
        SubType = [stPubPropObject]
        Ref = SettingsButton
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              0B00000000010000426572696368740B00000000010000526170706F7274}
          end
          item
            Name = 'Hint'
            Kind = tkLString
            Count = 3
            Values = {
              2D0000000001000045696E6520C39C626572736963687420696E20656967656E
              656D2046656E73746572207A656967656E300000000001000041666669636865
              7220756E2072C3A973756DC3A92064616E732073612070726F7072652066656E
              C3AA747265}
          end>
        SubType = [stPubPropObject]
        Ref = ReportButton
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              090000000001000026496E666F0E00000000010000C380202670726F706F73}
          end>
        SubType = [stPubPropObject]
        Ref = AboutButton
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              0F00000000010000265363686C6965C39F656E0B00000000010000462665726D
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
              10000000000100004F726C6F204E6F74697A656E0E000000000100004E6F7465
              73204F726C6F}
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
              15000000000100002645696E7374656C6C756E67656E2E2E2E11000000000100
              002652C3A9676C616765732E2E2E}
          end
          item
            Name = 'Hint'
            Kind = tkLString
            Count = 3
            Values = {
              2000000000010000466573746C6567656E2C20776F204E6F74697A656E206C69
              6567656E200000000001000043686F69736972206FC3B92072616E676572206C
              6573206E6F746573}
          end>
        SubType = [stPubPropObject]
        Ref = SettingsTool
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              0C0000000001000026426572696368740C0000000001000052617070266F7274}
          end
          item
            Name = 'Hint'
            Kind = tkLString
            Count = 3
            Values = {
              2D0000000001000045696E6520C39C626572736963687420696E20656967656E
              656D2046656E73746572207A656967656E300000000001000041666669636865
              7220756E2072C3A973756DC3A92064616E732073612070726F7072652066656E
              C3AA747265}
          end>
        SubType = [stPubPropObject]
        Ref = ReportTool
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              130000000001000042656E616E6E746520265465787465130000000001000026
              546578746573206E6F6D6DC3A973}
          end
          item
            Name = 'Hint'
            Kind = tkLString
            Count = 3
            Values = {
              31000000000100004469652062656E616E6E74656E2054657874652064696573
              65732046656E7374657273206175666C697374656E2F000000000100004C6973
              746572206C657320746578746573206E6F6D6DC3A97320646520636574746520
              66656EC3AA747265}
          end>
        SubType = [stPubPropObject]
        Ref = StringsTool
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              0A000000000100002644617465690C000000000100002646696368696572}
          end>
        SubType = [stPubPropObject]
        Ref = FileMenu
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              15000000000100002645696E7374656C6C756E67656E2E2E2E11000000000100
              002652C3A9676C616765732E2E2E}
          end
          item
            Name = 'Hint'
            Kind = tkLString
            Count = 3
            Values = {
              2000000000010000466573746C6567656E2C20776F204E6F74697A656E206C69
              6567656E200000000001000043686F69736972206FC3B92072616E676572206C
              6573206E6F746573}
          end>
        SubType = [stPubPropObject]
        Ref = SettingsItem
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              0C0000000001000026426572696368740C0000000001000052617070266F7274}
          end
          item
            Name = 'Hint'
            Kind = tkLString
            Count = 3
            Values = {
              2D0000000001000045696E6520C39C626572736963687420696E20656967656E
              656D2046656E73746572207A656967656E300000000001000041666669636865
              7220756E2072C3A973756DC3A92064616E732073612070726F7072652066656E
              C3AA747265}
          end>
        SubType = [stPubPropObject]
        Ref = ReportItem
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              130000000001000042656E616E6E746520265465787465130000000001000026
              546578746573206E6F6D6DC3A973}
          end
          item
            Name = 'Hint'
            Kind = tkLString
            Count = 3
            Values = {
              31000000000100004469652062656E616E6E74656E2054657874652064696573
              65732046656E7374657273206175666C697374656E2F000000000100004C6973
              746572206C657320746578746573206E6F6D6DC3A97320646520636574746520
              66656EC3AA747265}
          end>
        SubType = [stPubPropObject]
        Ref = StringsItem
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              1E000000000100002647656D65726B746520456967656E736368616674656E2E
              2E2E20000000000100002650726F707269C3A974C3A97320636F6E73657276C3
              A965732E2E2E}
          end
          item
            Name = 'Hint'
            Kind = tkLString
            Count = 3
            Values = {
              3D00000000010000446965207A7769736368656E207A776569204CC3A4756665
              6E2067656D65726B74656E20456967656E736368616674656E2077C3A4686C65
              6E3E0000000001000043686F69736972206C65732070726F707269C3A974C3A9
              7320636F6E73657276C3A9657320656E7472652064657578206C616E63656D65
              6E7473}
          end>
        SubType = [stPubPropObject]
        Ref = PickItem
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              0F00000000010000265363686C6965C39F656E0B00000000010000462665726D
              6572}
          end>
        SubType = [stPubPropObject]
        Ref = CloseItem
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              0A000000000100002648696C666509000000000100002641696465}
          end>
        SubType = [stPubPropObject]
        Ref = HelpMenu
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 3
            Values = {
              090000000001000026496E666F0E00000000010000C380202670726F706F73}
          end>
        SubType = [stPubPropObject]
        Ref = AboutItem
      end
      item
        Items = <
          item
            Name = 'Resources'
            Props = <
              item
                Name = 'AboutText'
                Kind = tkLString
                Index = 0
                Count = 3
                Values = {
                  5F000000000100004F726C6F204E6F74697A656E207A65696774207365696E65
                  2046656E7374657220696E206D6568726572656E20537072616368656E2E2057
                  C3A4686C656E20536965206F62656E2065696E652061757320646572204C6973
                  74652E62000000000100004E6F746573204F726C6F206D6F6E74726520736573
                  2066656EC3AA7472657320656E20706C75736965757273206C616E677565732E
                  2043686F6973697373657A2D656E20756E652064616E73206C61206C69737465
                  20656E20686175742E}
              end
              item
                Name = 'CloseQuestion'
                Kind = tkLString
                Index = 1
                Count = 3
                Values = {
                  1C000000000100004F726C6F204E6F74697A656E207363686C6965C39F656E3F
                  17000000000100004665726D6572204E6F746573204F726C6F203F}
              end
              item
                Name = 'Saved'
                Kind = tkLString
                Index = 2
                Count = 3
                Values = {
                  29000000000100004469652045696E7374656C6C756E67656E2077757264656E
                  2067657370656963686572742E29000000000100004C65732072C3A9676C6167
                  6573206F6E7420C3A974C3A920656E72656769737472C3A9732E}
              end>
            SubType = [stTStringsObject, stNoValidate]
          end>
        SubType = [stPubPropObject]
        Ref = Glossa
      end>
    LanguageManager_Names = 'AboutText'#13#10'CloseQuestion'#13#10'Saved'#13#10
    LanguageManager_Values = 'Orlo Notes shows its windows in several languages. Pick one from the list at the top.'#13#10'Close Orlo Notes?'#13#10'The settings were saved.'#13#10
  end
  object MainMenu: TMainMenu
    Left = 440
    Top = 60
    object FileMenu: TMenuItem
      Caption = '&File'
      object SettingsItem: TMenuItem
        Caption = '&Settings...'
        Hint = 'Choose where notes are kept'
        ShortCut = 117
        OnClick = SettingsButtonClick
      end
      object ReportItem: TMenuItem
        Caption = '&Report'
        Hint = 'Show a summary in its own window'
        ShortCut = 119
        OnClick = ReportButtonClick
      end
      object StringsItem: TMenuItem
        Caption = 'Named s&trings'
        Hint = 'List the named strings of this window'
        ShortCut = 16468
        OnClick = StringsItemClick
      end
      object PickItem: TMenuItem
        Caption = '&Kept properties...'
        Hint = 'Pick the properties kept between runs'
        OnClick = PickItemClick
      end
      object FileSeparator: TMenuItem
        Caption = '-'
      end
      object CloseItem: TMenuItem
        Caption = '&Close'
        ShortCut = 32856
        OnClick = CloseButtonClick
      end
    end
    object HelpMenu: TMenuItem
      Caption = '&Help'
      object AboutItem: TMenuItem
        Caption = '&About'
        OnClick = AboutButtonClick
      end
    end
  end
  object Config: TConfigFile
    SaveSuperFormState = True
    Entries = <
      item
        Ref = Glossa
        Items = <>
        Props = <
          item
            Name = 'Language'
            Kind = tkLString
          end>
        SubType = [stPubPropObject]
      end>
  end
end
