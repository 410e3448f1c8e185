!COMMENT!
The manual's worked example with one input: y from x, to be learned from the noisy data of
examples/data/noisy_sine.txt (written by examples/cpp/noisy_data). It holds no rules yet.
!END_COMMENT!

TypeOfDescription=linguistic
InfMethod=Logical_Deduction
DefuzzMethod=SimpDefuzzLingExpression
UseFuzzyFilter=false

NumberOfAntecedentVariables=1
NumberOfSuccedentVariables=1
NumberOfRules=0

AntVariable1
 name=x
 settings=linguistic
 context=<0,10>
 discretization=301
 lingparams=0.05 0.304 0.4 0.94
End_AntVariable1

SucVariable1
 name=y
 settings=linguistic
 context=<0,4>
 discretization=301
 lingparams=0.05 0.304 0.4 0.94
End_SucVariable1

RULES
END_RULES
