!COMMENT!
Valve opening from load and temperature, one constant per rule.
!END_COMMENT!

TypeOfDescription=singleton
InfMethod=Takagi-Sugeno Inference
DefuzzMethod=SimpDefuzzLingExpression
UseFuzzyFilter=false

NumberOfAntecedentVariables=2
NumberOfSuccedentVariables=1
NumberOfRules=5

AntVariable1
 name=load
 settings=linguistic
 context=<0,100>
 discretization=301
 lingparams=0.05 0.304 0.4 0.94
End_AntVariable1

AntVariable2
 name=temperature
 settings=linguistic
 context=<0,40>
 discretization=301
 lingparams=0.05 0.304 0.4 0.94
End_AntVariable2

SucVariable1
 name=valve
 settings=linc
 context=<0,1>
End_SucVariable1

RULES
 "sm" "sm" | "0.1"
 "sm" "bi" | "0.3"
 "me" "undef" | "0.5"
 "bi" "sm" | "0.7"
 "bi" "bi" | "0.95"
END_RULES
