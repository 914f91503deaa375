object Form1: TTestForm
  Caption = 'Settings'
  object Kinds1: TTestKinds
    Tag = -70000
    Align = alClient
    Styles = [fsBold, fsUnderline]
    Ratio = -1.5
    Scale = 0.1s
    Precise = 0.3333333333333333333
    Amount = -12.3456c
    Stamp = 45000.25d
    Big = -9223372036854775808
    Unsigned = 4000000000
    Letter = 'ä'
    Data = 'variant'
    Small = 9
    Negative = -5
    Enabled = False
    Ref = Label1
    OnClick = KidClick
    Left = 10
    Top = 20
  end
  object Label1: TTestLabel
    Caption = 'This caption is longer than two hundred and fifty-five bytes, so' +
      ' the binary form stores it as a long string with a four-byte len' +
      'gth; the text form splits it over several lines joined with plus' +
      ' signs. This caption is longer than two hundred and fifty-five b' +
      'ytes, so the binary form stores it as a long string with a four-' +
      'byte length; the text form splits it over several lines joined w' +
      'ith plus signs. '
    Font.Name = 'Grüße, 日本語 ✓'
    Font.Style = [fsItalic]
    Hint = 'It''s'#9'done'#13#10'next line'
  end
  object Memo1: TTestMemo
    Lines.Strings = (
      'first'
      ''
      'quote '' and tab'#9)
  end
  object Panel1: TTestPanel
    Items = <
      item [1]
        Caption = 'one'
        Width = 40
        Checked = True
      end
      item
        Caption = 'two'
        Checked = False
      end>
  end
  object Glossa1: TComp
    LanguageManager_Langs = <
      item
        Name = 'English'
        SubIndex = 1
      end
      item
        Name = 'Deutsch'
        SubIndex = 0
      end>
    Payload = {
      000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F
      2021}
  end
  object Outer: TTestBox
    Text = 'outer'
    object Inner: TTestBox
      Text = 'inner'
    end
  end
end
