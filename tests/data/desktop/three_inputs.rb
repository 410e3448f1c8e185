TypeOfDescription=linguistic
InfMethod=Fuzzy_Approximation-functional
DefuzzMethod=SimpleCenterOfGravity
UseFuzzyFilter=false
NumberOfAntecedentVariables=3
NumberOfSuccedentVariables=1
NumberOfRules=3
AntVariable1
 name=a
 settings=linguistic
 context=<0,1000>
 discretization=301
End_AntVariable1
AntVariable2
 name=b
 settings=linguistic
 context=<-5,5>
 discretization=301
End_AntVariable2
AntVariable3
 name=c
 settings=linguistic
 context=<0,1>
 discretization=301
End_AntVariable3
SucVariable1
 name=out
 settings=linguistic
 context=<10,20>
 discretization=301
End_SucVariable1
RULES
 "sm" "undef" "undef" | "sm"
 "me" "undef" "undef" | "me"
 "bi" "undef" "undef" | "bi"
END_RULES
