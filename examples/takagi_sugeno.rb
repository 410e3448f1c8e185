TypeOfDescription=takagi_sugeno
InfMethod=Takagi-Sugeno Inference
DefuzzMethod=SimpDefuzzLingExpression
UseFuzzyFilter=false

NumberOfAntecedentVariables=2
NumberOfSuccedentVariables=1
NumberOfRules=3

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
 "sm" "sm" | "0.1 + 0.002*x1"
 "me" "ro me" | "0.2 + 0.004*x1 + 0.01*x2"
 "bi" "bi" | "0.9 - 0.01*x2"
END_RULES
