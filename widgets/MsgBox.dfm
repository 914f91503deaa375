object MyMsgForm: TMyMsgForm
  Left = 200
  Top = 150
  AutoScroll = False
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Message'
  ClientHeight = 112
  ClientWidth = 320
  Position = poScreenCenter
  OnCloseQuery = FormCloseQuery
  object Image: TImage
    Left = 16
    Top = 16
    Width = 32
    Height = 32
  end
  object MsgLabel: TLabel
    Left = 64
    Top = 16
    Width = 240
    Height = 16
    ShowAccelChar = False
    WordWrap = True
  end
  object ButtonPanel: TButtonPanel
    Left = 0
    Top = 64
    Width = 320
    Height = 48
    ButtonDimX = 104
    ButtonDimY = 28
    ButtonsEmpty = True
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
        Items = <
          item
            Name = 'Resources'
            Props = <
              item
                Name = 'Yes'
                Kind = tkLString
                Index = 0
                Count = 2
                Values = {
                  0700000000010000264A61}
              end
              item
                Name = 'No'
                Kind = tkLString
                Index = 1
                Count = 2
                Values = {
                  0900000000010000264E65696E}
              end
              item
                Name = 'OK'
                Kind = tkLString
                Index = 2
                Count = 2
                Values = {
                  0700000000010000264F4B}
              end
              item
                Name = 'Cancel'
                Kind = tkLString
                Index = 3
                Count = 2
                Values = {
                  0E000000000100002641626272656368656E}
              end
              item
                Name = 'Abort'
                Kind = tkLString
                Index = 4
                Count = 2
                Values = {
                  0C000000000100002641626272756368}
              end
              item
                Name = 'Retry'
                Kind = tkLString
                Index = 5
                Count = 2
                Values = {
                  100000000001000026576965646572686F6C656E}
              end
              item
                Name = 'Ignore'
                Kind = tkLString
                Index = 6
                Count = 2
                Values = {
                  0F000000000100002649676E6F72696572656E}
              end
              item
                Name = 'All'
                Kind = tkLString
                Index = 7
                Count = 2
                Values = {
                  0800000000010000416C6C65}
              end
              item
                Name = 'NoToAll'
                Kind = tkLString
                Index = 8
                Count = 2
                Values = {
                  11000000000100004E65696E207A7520616C6C656E}
              end
              item
                Name = 'YesToAll'
                Kind = tkLString
                Index = 9
                Count = 2
                Values = {
                  0F000000000100004A61207A7520616C6C656E}
              end
              item
                Name = 'Debug'
                Kind = tkLString
                Index = 10
                Count = 2
                Values = {
                  0A00000000010000264465627567}
              end
              item
                Name = 'CopyErrorAddr'
                Kind = tkLString
                Index = 11
                Count = 2
                Values = {
                  1200000000010000416464722E206B6F70696572656E}
              end
              item
                Name = 'Terminate'
                Kind = tkLString
                Index = 12
                Count = 2
                Values = {
                  0C00000000010000264265656E64656E}
              end
              item
                Name = 'Help'
                Kind = tkLString
                Index = 13
                Count = 2
                Values = {
                  0A000000000100002648696C6665}
              end
              item
                Name = 'Warning'
                Kind = tkLString
                Index = 14
                Count = 2
                Values = {
                  0B000000000100005761726E756E67}
              end
              item
                Name = 'Error'
                Kind = tkLString
                Index = 15
                Count = 2
                Values = {
                  0A000000000100004665686C6572}
              end
              item
                Name = 'Information'
                Kind = tkLString
                Index = 16
                Count = 2
                Values = {
                  0F00000000010000496E666F726D6174696F6E}
              end
              item
                Name = 'Confirmation'
                Kind = tkLString
                Index = 17
                Count = 2
                Values = {
                  100000000001000042657374C3A4746967756E67}
              end
              item
                Name = 'ErrorHasOccured'
                Kind = tkLString
                Index = 18
                Count = 2
                Values = {
                  1E0000000001000045696E204665686C65722069737420617566676574726574
                  656E}
              end>
            SubType = [stTStringsObject, stNoValidate]
          end>
        SubType = [stPubPropObject]
        Ref = Glossa
      end>
    LanguageManager_Names = 'Yes'#13#10'No'#13#10'OK'#13#10'Cancel'#13#10'Abort'#13#10'Retry'#13#10'Ignore'#13#10'All'#13#10'NoToAll'#13#10'YesToAll'#13#10'Debug'#13#10'CopyErrorAddr'#13#10'Terminate'#13#10'Help'#13#10'Warning'#13#10'Error'#13#10'Information'#13#10'Confirmation'#13#10'ErrorHasOccured'#13#10
    LanguageManager_Values = '&Yes'#13#10'&No'#13#10'&OK'#13#10'&Cancel'#13#10'&Abort'#13#10'&Retry'#13#10'&Ignore'#13#10'All'#13#10'No to all'#13#10'Yes to all'#13#10'&Debug'#13#10'Copy Address'#13#10'&Terminate'#13#10'&Help'#13#10'Warning'#13#10'Error'#13#10'Information'#13#10'Confirmation'#13#10'An error has occured'#13#10
  end
end
