!COMMENT!
A fan driven by temperature and humidity, with terms of every shape.
!END_COMMENT!

TypeOfDescription=linguistic
InfMethod=Fuzzy_Approximation-functional
DefuzzMethod=SimpleCenterOfGravity
UseFuzzyFilter=false

NumberOfAntecedentVariables=2
NumberOfSuccedentVariables=1
NumberOfRules=6

AntVariable1
 name=temperature
 settings=linguistic
 context=<-20,40>
 discretization=301
 lingparams=0.05 0.304 0.4 0.94
 UserTerm
  name=freezing, fr
  type=triang
  parameters= -20 -20 0
 End_UserTerm
 UserTerm
  name=mild, mi
  type=trapezoid
  parameters= 5 12 20 26
 End_UserTerm
 UserTerm
  name=hot, ho
  type=quadratic
  parameters= 20 25 30 40 40 40
 End_UserTerm
 UserTerm
  name=comfortable
  type=gaussian
  parameters= 20 20 23 30
 End_UserTerm
End_AntVariable1

AntVariable2
 name=humidity
 settings=triang
 context=<0,100>
 UserTerm
  name=muggy, mu
  type=trapezoid
  parameters= 60 80 100 100
 End_UserTerm
End_AntVariable2

SucVariable1
 name=fan
 settings=linguistic
 context=<0,10>
 discretization=201
 lingparams=0.05 0.304 0.4 0.94
End_SucVariable1

RULES
 "freezing" "small" | "ze"
 "fr or mi" "medium" | "sm"
 "mild" "mu or medium" | "ml sm"
 "comfortable" "mu" | "me"
 "hot" "big" | "ve bi"
 "ho or comfortable" "mu and big" | "ex bi"
END_RULES
