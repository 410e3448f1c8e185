!COMMENT!
A regulator of the error and its change; every context is symmetric about zero.
!END_COMMENT!

TypeOfDescription=linguistic
InfMethod=Fuzzy_Approximation-logical
DefuzzMethod=Smooth Deffuz Ling Expr
UseFuzzyFilter=true

NumberOfAntecedentVariables=2
NumberOfSuccedentVariables=1
NumberOfRules=8

AntVariable1
 name=error
 settings=linguistic
 context=<-10,10>
 discretization=201
 lingparams=0.05 0.304 0.4 0.94
End_AntVariable1

AntVariable2
 name=change
 settings=linguistic
 context=<-1,1>
 discretization=101
 lingparams=0.05 0.304 0.4 0.94
End_AntVariable2

SucVariable1
 name=action
 settings=linguistic
 context=<-5,5>
 discretization=201
 lingparams=0.05 0.304 0.4 0.94
End_SucVariable1

RULES
 "-bi" "-sm" | "+bi"
 "-sm" "ze" | "+sm"
 "ze" "ze" | "ze"
 "+sm" "ze" | "-sm"
 "+bi" "+sm" | "-bi"
 "-ve bi" "ro ze" | "+ve bi"
 "-ml me" "+ro sm" | "+me"
 "+ex bi" "-bi" | "-ex bi"
END_RULES
