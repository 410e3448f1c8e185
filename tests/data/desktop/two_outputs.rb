TypeOfDescription=linguistic
InfMethod=Fuzzy_Approximation-logical
DefuzzMethod=DefuzzLingExpression
UseFuzzyFilter=false
NumberOfAntecedentVariables=2
NumberOfSuccedentVariables=2
NumberOfRules=3
AntVariable1
 name=x
 settings=linguistic
 context=<0,10>
 discretization=301
End_AntVariable1
AntVariable2
 name=y
 settings=linguistic
 context=<0,1>
 discretization=301
End_AntVariable2
SucVariable1
 name=u
 settings=linguistic
 context=<0,100>
 discretization=301
End_SucVariable1
SucVariable2
 name=w
 settings=linguistic
 context=<0,5>
 discretization=301
End_SucVariable2
RULES
 "sm" "sm" | "sm" "me"
 "me" "bi" | "bi" "ro bi"
 "bi" "sm" | "ve sm" "sm"
END_RULES
