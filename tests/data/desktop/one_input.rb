TypeOfDescription=linguistic
InfMethod=Logical_Deduction
DefuzzMethod=SimpleCenterOfGravity
UseFuzzyFilter=false
NumberOfAntecedentVariables=1
NumberOfSuccedentVariables=1
NumberOfRules=2
AntVariable1
 name=t
 settings=linguistic
 context=<-10,10>
 discretization=301
End_AntVariable1
SucVariable1
 name=p
 settings=linguistic
 context=<0,1>
 discretization=301
End_SucVariable1
RULES
 "sm" | "bi"
 "bi" | "sm"
END_RULES
