#include "tests/forms/FormsTestSupport.h"

#include "platform/classes/FormText.h"
#include "platform/classes/Streams.h"
#include "platform/os/FileSystem.h"
#include "platform/os/SystemInfo.h"
#include "tests/classes/FormTextOf.h"

#include <cstdlib>
#include <filesystem>

namespace orlo::test {

String ScreenshotFolder() {
    const char* Base = std::getenv("ORLO_TEST_TMP");
    const String Folder = String(Base ? Base : "/tmp") + "/screenshots";
    std::filesystem::create_directories(Folder);
    return Folder;
}

TFormResource::TFormResource(const String& ClassName, const String& Text) : FName(ClassName) {
    TStringStream Input(Text);
    TMemoryStream Binary;
    ObjectTextToBinary(&Input, &Binary);
    FData.resize(static_cast<size_t>(Binary.Size()));
    Binary.SetPosition(0);
    Binary.ReadBuffer(FData.data(), static_cast<Integer>(FData.size()));
    RegisterComponentResource(FName, FData.data(), FData.size());
}

TFormResource::~TFormResource() {
    UnregisterComponentResource(FName, FData.data());
}

String FormText(TComponent* Root) {
    return FormTextOf(Root);
}

String ScreenshotPath(const String& Name) {
    String Folder = GetEnvironmentVariable("ORLO_TEST_TMP");
    if (Folder.empty())
        Folder = TempDirectory();
    Folder += "/screenshots";
    ForceDirectories(Folder);
    return Folder + "/" + Name + ".png";
}

ORLO_PUBLISHED(TSettingsDialog, "FormsTestSupport") {
    P.Field("NameLabel", &TSettingsDialog::NameLabel);
    P.Field("NameEdit", &TSettingsDialog::NameEdit);
    P.Field("ModeGroup", &TSettingsDialog::ModeGroup);
    P.Field("FastRadio", &TSettingsDialog::FastRadio);
    P.Field("SafeRadio", &TSettingsDialog::SafeRadio);
    P.Field("BackupCheck", &TSettingsDialog::BackupCheck);
    P.Field("LanguageCombo", &TSettingsDialog::LanguageCombo);
    P.Field("NotesMemo", &TSettingsDialog::NotesMemo);
    P.Field("ButtonPanel", &TSettingsDialog::ButtonPanel);
    P.Field("OkButton", &TSettingsDialog::OkButton);
    P.Field("CancelButton", &TSettingsDialog::CancelButton);
    P.Method<&TSettingsDialog::FormCreate>("FormCreate");
    P.Method<&TSettingsDialog::FormShow>("FormShow");
    P.Method<&TSettingsDialog::FormActivate>("FormActivate");
}

ORLO_PUBLISHED(TBrokenForm, "FormsTestSupport") {}

const char* const SettingsDialogText = R"(object SettingsDialog: TSettingsDialog
  Left = 192
  Top = 107
  AutoScroll = False
  BorderStyle = bsDialog
  Caption = 'Settings'
  ClientHeight = 300
  ClientWidth = 400
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  OnActivate = FormActivate
  OnCreate = FormCreate
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object NameLabel: TLabel
    Left = 8
    Top = 12
    Width = 31
    Height = 13
    Hint = 'Your name|The name shown on every page'
    Caption = '&Name:'
    FocusControl = NameEdit
  end
  object NameEdit: TEdit
    Left = 80
    Top = 8
    Width = 200
    Height = 21
    TabOrder = 0
    Text = 'Anna'
  end
  object ModeGroup: TGroupBox
    Left = 8
    Top = 40
    Width = 185
    Height = 73
    Caption = 'Mode'
    TabOrder = 1
    object FastRadio: TRadioButton
      Left = 8
      Top = 20
      Width = 113
      Height = 17
      Caption = 'Fast'
      Checked = True
      TabOrder = 0
      TabStop = True
    end
    object SafeRadio: TRadioButton
      Left = 8
      Top = 44
      Width = 113
      Height = 17
      Caption = 'Safe'
      TabOrder = 1
    end
  end
  object BackupCheck: TCheckBox
    Left = 208
    Top = 48
    Width = 97
    Height = 17
    Caption = 'Backup'
    ParentShowHint = False
    ShowHint = True
    TabOrder = 2
  end
  object LanguageCombo: TComboBox
    Left = 208
    Top = 80
    Width = 145
    Height = 21
    Style = csDropDownList
    ItemHeight = 13
    TabOrder = 3
    Items.Strings = (
      'English'
      'Deutsch')
  end
  object NotesMemo: TMemo
    Left = 8
    Top = 120
    Width = 385
    Height = 89
    Lines.Strings = (
      'First line'
      'Second line')
    ScrollBars = ssBoth
    TabOrder = 4
    WordWrap = False
  end
  object ButtonPanel: TPanel
    Left = 0
    Top = 259
    Width = 400
    Height = 41
    Align = alBottom
    BevelOuter = bvNone
    TabOrder = 5
    object OkButton: TBitBtn
      Left = 232
      Top = 8
      Width = 75
      Height = 25
      Anchors = [akTop, akRight]
      TabOrder = 0
      Kind = bkOK
    end
    object CancelButton: TBitBtn
      Left = 316
      Top = 8
      Width = 75
      Height = 25
      Anchors = [akTop, akRight]
      TabOrder = 1
      Kind = bkCancel
    end
  end
end
)";

} // namespace orlo::test
