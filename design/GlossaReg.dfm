object GlossaModule: TGlossaModule
  OldCreateOrder = False
  OnCreate = GlossaModuleCreate
  Height = 150
  Width = 215
  object ConfigLang: TConfigFile
    Mode = cmRegistry
    RegistryPath = 'Software\Orlo GbR\Designers'
    RegistryRoot = rkCurrentUser
    Section = 'Global'
    ShowSaveError = False
    Left = 24
    Top = 16
    Entries = <
      item
        Props = <
          item
            Name = 'Language'
            Kind = tkLString
          end>
        SubType = [stPubPropObject]
        Ref = Glossa
      end>
  end
  object Glossa: TGlossa
    Domain = '.Private Orlo Domain'
    Language = 'Deutsch'
    OnChange = GlossaChange
    Left = 96
    Top = 16
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
                Name = 'CreateMultilingualForm'
                Kind = tkLString
                Index = 0
                Count = 2
                Values = {
                  3F000000000100004DC3B6636874656E205369652064617320616B7475656C6C
                  6520466F726D756C6172206D65687273707261636869672065696E7269636874
                  656E3F}
              end
              item
                Name = 'CreateMultilingualUnit'
                Kind = tkLString
                Index = 1
                Count = 2
                Values = {
                  48000000000100004DC3B6636874656E205369652064617320616B7475656C6C
                  65205175656C6C74657874646F6B756D656E74206D6568727370726163686967
                  2065696E7269636874656E3F}
              end
              item
                Name = 'EAddComponentFailed'
                Kind = tkLString
                Index = 2
                Count = 2
                Values = {
                  2B000000000100004665686C6572206265696D2048696E7A7566C3BC67656E20
                  646572204B6F6D706F6E656E74652E}
              end
              item
                Name = 'ELangFileError'
                Kind = tkLString
                Index = 3
                Count = 2
                Values = {
                  3600000000010000537072616368646174656920282A2E6C6E6729206B616E6E
                  206E696368742076657261726265697465742077657264656E2E}
              end
              item
                Name = 'ELangFileError ReadOnly Continue'
                Kind = tkLString
                Index = 4
                Count = 2
                Values = {
                  7900000000010000446965205370726163686461746569206B616E6E206E7572
                  206C6573656E64206765C3B666666E65742077657264656E2E20C3846E646572
                  756E67656E206BC3B66E6E656E206461686572206E6963687420626572C3BC63
                  6B73696368746967742077657264656E2E20466F727466616872656E3F}
              end
              item
                Name = 'ENoDesignInterface'
                Kind = tkLString
                Index = 5
                Count = 2
                Values = {
                  3A0000000001000044657369676E2D5363686E6974747374656C6C652066C3BC
                  722044656C70686920697374206E696368742076657266C3BC676261722E}
              end
              item
                Name = 'ENoFileName'
                Kind = tkLString
                Index = 6
                Count = 2
                Values = {
                  32000000000100004E616D652064657220616B7475656C6C656E204461746569
                  20697374206E696368742076657266C3BC676261722E}
              end
              item
                Name = 'ENoFormComponent'
                Kind = tkLString
                Index = 7
                Count = 2
                Values = {
                  28000000000100004B65696E6520466F726D756C61726B6F6D706F6E656E7465
                  2076657266C3BC676261722E}
              end
              item
                Name = 'ENoFormInterface'
                Kind = tkLString
                Index = 8
                Count = 2
                Values = {
                  2B000000000100004B65696E6520466F726D756C61727363686E697474737465
                  6C6C652076657266C3BC676261722E}
              end
              item
                Name = 'ENoModuleInterface'
                Kind = tkLString
                Index = 9
                Count = 2
                Values = {
                  28000000000100004B65696E65204D6F64756C7363686E6974747374656C6C65
                  2076657266C3BC676261722E}
              end
              item
                Name = 'EReadError'
                Kind = tkLString
                Index = 10
                Count = 2
                Values = {
                  36000000000100004665686C6572206265696D204C6573656E20646572205370
                  72616368696E666F726D6174696F6E656E20282A2E6C6E67292E}
              end
              item
                Name = 'ERestoreError Continue'
                Kind = tkLString
                Index = 11
                Count = 2
                Values = {
                  40000000000100005175656C6C74657874206B6F6E6E7465206E696368742077
                  696564657268657267657374656C6C742077657264656E2E20466F7274666168
                  72656E3F}
              end
              item
                Name = 'ERestoreError ReadOnly Continue'
                Kind = tkLString
                Index = 12
                Count = 2
                Values = {
                  72000000000100005175656C6C74657874206B616E6E206E6963687420776965
                  6465726865727374656C6C742077657264656E2C2077656E6E20646965205370
                  72616368646174656920282A2E6C6E6729206E75722067656C6573656E207765
                  7264656E206B616E6E2E20466F727466616872656E3F}
              end
              item
                Name = 'ESaveError ReadOnly Reopen'
                Kind = tkLString
                Index = 13
                Count = 2
                Values = {
                  8600000000010000537072616368696E666F726D6174696F6E656E20282A2E6C
                  6E6729206BC3B66E6E656E206E69636874206765737065696368657274207765
                  7264656E2E20417566204461746569206B616E6E206E7572206C6573656E6420
                  7A7567656772696666656E2077657264656E2E20456469746F722065726E6575
                  74207374617274656E3F}
              end
              item
                Name = 'ESourceReadError'
                Kind = tkLString
                Index = 14
                Count = 2
                Values = {
                  36000000000100005175656C6C74657874206B6F6E6E7465206E696368742067
                  656C6573656E2077657264656E2E20466F727466616872656E3F}
              end
              item
                Name = 'ESourceWriteError Continue'
                Kind = tkLString
                Index = 15
                Count = 2
                Values = {
                  38000000000100005175656C6C74657874206B6F6E6E7465206E696368742067
                  65C3A46E646572742077657264656E2E20466F727466616872656E3F}
              end
              item
                Name = 'EStatementNotFound Restore'
                Kind = tkLString
                Index = 16
                Count = 2
                Values = {
                  4900000000010000496E6974476C6F7373612D4B6F6D6D616E646F206E696368
                  7420676566756E64656E2E205175656C6C746578747A65696C656E2077696564
                  65726865727374656C6C656E3F}
              end
              item
                Name = 'ESyntaxError Continue'
                Kind = tkLString
                Index = 17
                Count = 2
                Values = {
                  2A0000000001000053796E7461786665686C657220696D205175656C6C746578
                  742E20466F727466616872656E3F}
              end
              item
                Name = 'EWriteError Reopen'
                Kind = tkLString
                Index = 18
                Count = 2
                Values = {
                  51000000000100004665686C6572206265696D2053636872656962656E206465
                  7220537072616368696E666F726D6174696F6E656E20282A2E6C6E67292E2045
                  6469746F722065726E657574207374617274656E3F}
              end
              item
                Name = 'Multilingual Form'
                Kind = tkLString
                Index = 19
                Count = 2
                Values = {
                  1E000000000100004D6568727370726163686967657320466F726D756C61722E
                  2E2E}
              end
              item
                Name = 'Multilingual Form Unit'
                Kind = tkLString
                Index = 20
                Count = 2
                Values = {
                  22000000000100004D65687273707261636869676520466F726D756C61722F55
                  6E69742E2E2E}
              end
              item
                Name = 'Multilingual Unit'
                Kind = tkLString
                Index = 21
                Count = 2
                Values = {
                  19000000000100004D65687273707261636869676520556E69742E2E2E}
              end
              item
                Name = 'About'
                Kind = tkLString
                Index = 22
                Count = 2
                Values = {
                  0B00000000010000496E666F2E2E2E}
              end
              item
                Name = 'EditLanguages'
                Kind = tkLString
                Index = 23
                Count = 2
                Values = {
                  1A00000000010000537072616368656E206265617262656974656E2E2E2E}
              end
              item
                Name = 'ReallyAddFurtherComponent'
                Kind = tkLString
                Index = 24
                Count = 2
                Values = {
                  45000000000100004DC3B6636874656E20536965207769726B6C696368206569
                  6E65207765697465726520476C6F7373612D4B6F6D706F6E656E74652068696E
                  7A7566C3BC67656E3F}
              end
              item
                Name = 'Glossa Report'
                Kind = tkLString
                Index = 25
                Count = 2
                Values = {
                  1700000000010000476C6F737361202D20C39C626572626C69636B}
              end>
            SubType = [stTStringsObject, stNoValidate]
          end>
        SubType = [stPubPropObject]
        Ref = Glossa
      end>
    LanguageManager_Names = 'CreateMultilingualForm'#13#10'CreateMultilingualUnit'#13#10'EAddComponentFailed'#13#10'ELangFileError'#13#10'ELangFileError ReadOnly Continue'#13#10'ENoDesignInterface'#13#10'ENoFileName'#13#10'ENoFormComponent'#13#10'ENoFormInterface'#13#10'ENoModuleInterface'#13#10'EReadError'#13#10'ERestoreError Continue'#13#10'ERestoreError ReadOnly Continue'#13#10'ESaveError ReadOnly Reopen'#13#10'ESourceReadError'#13#10'ESourceWriteError Continue'#13#10'EStatementNotFound Restore'#13#10'ESyntaxError Continue'#13#10'EWriteError Reopen'#13#10'Multilingual Form'#13#10'Multilingual Form Unit'#13#10'Multilingual Unit'#13#10'About'#13#10'EditLanguages'#13#10'ReallyAddFurtherComponent'#13#10'Glossa Report'#13#10
    LanguageManager_Values = 'Do you want to create a multilingual form?'#13#10'Do you want to create a multilingual source code document?'#13#10'Error adding component.'#13#10'Cannot handle language file (*.lng).'#13#10'Language file (*.lng) is read only and cannot be changed. Continue?'#13#10'Design interface of Delphi not available.'#13#10'Name of current file not available.'#13#10'Could not get form component.'#13#10'Could not get form interface.'#13#10'Could not get module interface.'#13#10'Error reading language file (*.lng)'#13#10'Source code could not be restored. Continue?'#13#10'Cannot restore source code, if language file (*.lng) is read only. Continue?'#13#10'Cannot save data to language file (*.lng). File is read only. Reopen language editor?'#13#10'Source code could not be read. Continue?'#13#10'Source code could not be modified. Continue?'#13#10'InitGlossa statement not found. Restore source code?'#13#10'Syntax error in source code. Continue?'#13#10'Error writing language file (*.lng). Reopen language editor?'#13#10'Multilingual Form...'#13#10'Multilingual Form/Unit...'#13#10'Multilingual Unit...'#13#10'About'#13#10'Edit Languages...'#13#10'Do you really want to add a further Glossa component?'#13#10'Glossa - Overview'#13#10
  end
end
