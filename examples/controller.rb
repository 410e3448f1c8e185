!COMMENT!
Braking force from the distance to an obstacle and the speed.
Every rule is written in short forms.
!END_COMMENT!

TypeOfDescription=linguistic
InfMethod=Logical_Deduction
DefuzzMethod=DefuzzLingExpression
UseFuzzyFilter=false

NumberOfAntecedentVariables=2
NumberOfSuccedentVariables=1
NumberOfRules=25

AntVariable1
 name=distance
 settings=linguistic
 context=<0,50>
 discretization=301
 lingparams=0.05 0.304 0.4 0.94
End_AntVariable1

AntVariable2
 name=speed
 settings=linguistic
 context=<0,120>
 discretization=301
 lingparams=0.1 0.3 0.5 0.9
End_AntVariable2

SucVariable1
 name=braking
 settings=linguistic
 context=<0,100>
 discretization=301
 lingparams=0.05 0.304 0.4 0.94
End_SucVariable1

RULES
 "ve sm" "ex sm" | "ml me"
 "ve sm" "sm" | "ro bi"
 "ve sm" "me" | "bi"
 "ve sm" "bi" | "ve bi"
 "ve sm" "ex bi" | "ex bi"
 "ml sm" "ex sm" | "me"
 "ml sm" "sm" | "ml me"
 "ml sm" "me" | "ro bi"
 "ml sm" "bi" | "bi"
 "ml sm" "ex bi" | "ve bi"
 "ml me" "ex sm" | "sm"
 "ml me" "sm" | "me"
 "ml me" "me" | "ml me"
 "ml me" "bi" | "ro bi"
 "ml me" "ex bi" | "bi"
 "ro bi" "ex sm" | "ve sm"
 "ro bi" "sm" | "sm"
 "ro bi" "me" | "me"
 "ro bi" "bi" | "ml me"
 "ro bi" "ex bi" | "ro bi"
 "ve bi" "ex sm" | "ex sm"
 "ve bi" "sm" | "ve sm"
 "ve bi" "me" | "sm"
 "ve bi" "bi" | "me"
 "ve bi" "ex bi" | "ml me"
END_RULES
