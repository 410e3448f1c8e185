TypeOfDescription=singleton
InfMethod=Takagi-Sugeno Inference
DefuzzMethod=SimpDefuzzLingExpression
UseFuzzyFilter=false
NumberOfAntecedentVariables=2
NumberOfSuccedentVariables=1
NumberOfRules=2
AntVariable1
 name=load
 settings=linguistic
 context=<0,100>
 discretization=301
End_AntVariable1
AntVariable2
 name=heat
 settings=linguistic
 context=<0,40>
 discretization=301
End_AntVariable2
SucVariable1
 name=valve
 settings=linc
 context=<0,1>
End_SucVariable1
RULES
 "sm" "sm" | "0.1"
 "bi" "bi" | "0.9"
END_RULES
