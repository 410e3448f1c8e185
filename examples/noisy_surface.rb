!COMMENT!
The manual's worked example with two inputs: z from x1 and x2, to be learned from the noisy
data of examples/data/noisy_surface.txt (written by examples/cpp/noisy_data). It holds no
rules yet.
!END_COMMENT!

TypeOfDescription=linguistic
InfMethod=Logical_Deduction
DefuzzMethod=SimpDefuzzLingExpression
UseFuzzyFilter=false

NumberOfAntecedentVariables=2
NumberOfSuccedentVariables=1
NumberOfRules=0

AntVariable1
 name=x1
 settings=linguistic
 context=<0,10>
 discretization=301
 lingparams=0.05 0.304 0.4 0.94
End_AntVariable1

AntVariable2
 name=x2
 settings=linguistic
 context=<0,10>
 discretization=301
 lingparams=0.05 0.304 0.4 0.94
End_AntVariable2

SucVariable1
 name=z
 settings=linguistic
 context=<0,10>
 discretization=301
 lingparams=0.05 0.304 0.4 0.94
End_SucVariable1

RULES
END_RULES
