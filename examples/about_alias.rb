!COMMENT!
Fuzzy numbers, shared settings and rules switched off.
!END_COMMENT!

TypeOfDescription=linguistic
InfMethod=Fuzzy_Approximation-func_prod
DefuzzMethod=ModifiedCenterOfGravity
UseFuzzyFilter=false

NumberOfAntecedentVariables=3
NumberOfSuccedentVariables=2
NumberOfRules=5

AntVariable1
 name=pressure
 settings=linguistic
 context=<0,10>
 discretization=101
 lingparams=0.05 0.304 0.4 0.94
End_AntVariable1

AntVariable2
 name=pressure2
 settings=alias(pressure)
End_AntVariable2

AntVariable3
 name=flow
 settings=linguistic
 context=<0.5,2.5>
 discretization=201
 lingparams=0.05 0.304 0.4 0.94
End_AntVariable3

SucVariable1
 name=valve
 settings=linguistic
 context=<0,1>
 discretization=101
 lingparams=0.05 0.304 0.4 0.94
End_SucVariable1

SucVariable2
 name=valve2
 settings=alias(valve)
End_SucVariable2

RULES
 "about 2" "about 2" "sm" | "about 0.2" "sm"
# "about 5" "me" "about 1.5" | "me" "me"
 "about 8" "bi" "bi" | "about 0.9" "bi"
 "me" "about 5" "ro me" | "ml me" "about 0.5"
# "bi" "sm" "about 0.6" | "sm" "bi"
END_RULES
