object SettingsDialog: TSettingsDialog
  Left = 200
  Top = 140
  AutoScroll = False
  Caption = 'Settings'
  ClientHeight = 176
  ClientWidth = 456
  Position = poScreenCenter
  SizeMinTrack.Enabled = True
  SizeMinTrack.SizeX = 420
  SizeMinTrack.SizeY = 200
  object FolderLabel: TLabel
    Left = 16
    Top = 16
    Width = 200
    Height = 18
    Caption = 'Notes &folder:'
    FocusControl = FolderCombo
  end
  object FolderCombo: TMRUComboBox
    Left = 16
    Top = 38
    Width = 424
    Height = 26
    ButtonHint = 'Choose a folder'
    ButtonVisible = True
    DefaultHeight = 26
    History = '/home/notes;/srv/archive/notes;/tmp/notes'
    TabOrder = 0
  end
  object SaveOnExit: TCheckBox
    Left = 16
    Top = 80
    Width = 420
    Height = 22
    Caption = '&Save notes on exit'
    Checked = True
    TabOrder = 1
  end
  object ButtonPanel: TButtonPanel
    Left = 0
    Top = 128
    Width = 456
    Height = 48
    ButtonAlignment = taRightJustify
    ButtonDimX = 104
    ButtonDimY = 30
    Buttons = <
      item
        Kind = bkOK
        Caption = 'OK'
      end
      item
        Kind = bkCancel
        Caption = 'Cancel'
      end
      item
        Kind = bkHelp
        Caption = '&Help'
      end>
    TabOrder = 2
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
              1900000000010000264F72646E65722066C3BC72204E6F74697A656E3A}
          end>
        SubType = [stPubPropObject]
        Ref = FolderLabel
      end
      item
        Props = <
          item
            Name = 'ButtonHint'
            Kind = tkLString
            Count = 2
            Values = {
              180000000001000045696E656E204F72646E65722077C3A4686C656E}
          end>
        SubType = [stPubPropObject]
        Ref = FolderCombo
      end
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 2
            Values = {
              23000000000100004E6F74697A656E206265696D204265656E64656E20267370
              6569636865726E}
          end>
        SubType = [stPubPropObject]
        Ref = SaveOnExit
      end
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
              110000000001000045696E7374656C6C756E67656E}
          end>
        SubType = [stPubPropObject]
        Ref = Owner
      end>
    LanguageManager_Names = ''
    LanguageManager_Values = ''
  end
end
