!COMMENT!
A room heater: its power from the room temperature and how fast the temperature changes.
!END_COMMENT!

TypeOfDescription=linguistic
InfMethod=Fuzzy_Approximation-functional
DefuzzMethod=SimpleCenterOfGravity
UseFuzzyFilter=false

NumberOfAntecedentVariables=2
NumberOfSuccedentVariables=1
NumberOfRules=8

AntVariable1
 name=temperature
 settings=linguistic
 context=<5,30>
 discretization=301
 lingparams=0.05 0.304 0.4 0.94
 UserTerm
  name=comfortable, co
  type=trapezoid
  parameters= 19 20.5 22 23.5
 End_UserTerm
End_AntVariable1

AntVariable2
 name=change
 settings=linguistic
 context=<-2,2>
 discretization=301
 lingparams=0.05 0.304 0.4 0.94
End_AntVariable2

SucVariable1
 name=power
 settings=linguistic
 context=<0,100>
 discretization=301
 lingparams=0.05 0.304 0.4 0.94
End_SucVariable1

RULES
 "ex sm" "undef" | "ex bi"
 "ve sm" "-sm or ze" | "ve bi"
 "ml sm" "-bi" | "bi"
 "ml sm" "+sm" | "me"
 "comfortable" "ze" | "about 30"
 "comfortable" "+me" | "sm"
 "bi" "undef" | "ze"
# "me and not co" "-sm" | "ro me"
END_RULES
