object Form1: TTestForm
  Caption = 'Ancestor'
  object Label1: TTestLabel
    Caption = 'From the ancestor'
  end
  object Kinds1: TTestKinds
    Small = 5
    Ref = Label1
    OnClick = KidClick
  end
end
