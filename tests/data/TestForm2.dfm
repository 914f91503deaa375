inherited Form2: TTestForm2
  Caption = 'Descendant'
  inherited Label1: TTestLabel
    Hint = 'Changed by the descendant'
  end
  object Label2: TTestLabel
    Caption = 'Only in the descendant'
  end
end
