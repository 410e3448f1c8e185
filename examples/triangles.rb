!COMMENT!
Two inputs and one output with five triangular terms each: the model that the
benchmarks also run in fuzzylite.
!END_COMMENT!

TypeOfDescription=linguistic
InfMethod=Fuzzy_Approximation-functional
DefuzzMethod=SimpleCenterOfGravity
UseFuzzyFilter=false

NumberOfAntecedentVariables=2
NumberOfSuccedentVariables=1
NumberOfRules=25

AntVariable1
 name=x1
 settings=linguistic
 context=<0,1>
 discretization=301
 lingparams=0.05 0.304 0.4 0.94
 UserTerm
  name=NB
  type=triang
  parameters= 0 0 0.25
 End_UserTerm
 UserTerm
  name=NS
  type=triang
  parameters= 0 0.25 0.5
 End_UserTerm
 UserTerm
  name=Z
  type=triang
  parameters= 0.25 0.5 0.75
 End_UserTerm
 UserTerm
  name=PS
  type=triang
  parameters= 0.5 0.75 1
 End_UserTerm
 UserTerm
  name=PB
  type=triang
  parameters= 0.75 1 1
 End_UserTerm
End_AntVariable1

AntVariable2
 name=x2
 settings=linguistic
 context=<0,1>
 discretization=301
 lingparams=0.05 0.304 0.4 0.94
 UserTerm
  name=NB
  type=triang
  parameters= 0 0 0.25
 End_UserTerm
 UserTerm
  name=NS
  type=triang
  parameters= 0 0.25 0.5
 End_UserTerm
 UserTerm
  name=Z
  type=triang
  parameters= 0.25 0.5 0.75
 End_UserTerm
 UserTerm
  name=PS
  type=triang
  parameters= 0.5 0.75 1
 End_UserTerm
 UserTerm
  name=PB
  type=triang
  parameters= 0.75 1 1
 End_UserTerm
End_AntVariable2

SucVariable1
 name=y
 settings=linguistic
 context=<0,1>
 discretization=301
 lingparams=0.05 0.304 0.4 0.94
 UserTerm
  name=NB
  type=triang
  parameters= 0 0 0.25
 End_UserTerm
 UserTerm
  name=NS
  type=triang
  parameters= 0 0.25 0.5
 End_UserTerm
 UserTerm
  name=Z
  type=triang
  parameters= 0.25 0.5 0.75
 End_UserTerm
 UserTerm
  name=PS
  type=triang
  parameters= 0.5 0.75 1
 End_UserTerm
 UserTerm
  name=PB
  type=triang
  parameters= 0.75 1 1
 End_UserTerm
End_SucVariable1

RULES
 "NB" "NB" | "NB"
 "NB" "NS" | "NB"
 "NB" "Z" | "NS"
 "NB" "PS" | "NS"
 "NB" "PB" | "Z"
 "NS" "NB" | "NB"
 "NS" "NS" | "NS"
 "NS" "Z" | "NS"
 "NS" "PS" | "Z"
 "NS" "PB" | "PS"
 "Z" "NB" | "NS"
 "Z" "NS" | "NS"
 "Z" "Z" | "Z"
 "Z" "PS" | "PS"
 "Z" "PB" | "PS"
 "PS" "NB" | "NS"
 "PS" "NS" | "Z"
 "PS" "Z" | "PS"
 "PS" "PS" | "PS"
 "PS" "PB" | "PB"
 "PB" "NB" | "Z"
 "PB" "NS" | "PS"
 "PB" "Z" | "PS"
 "PB" "PS" | "PB"
 "PB" "PB" | "PB"
END_RULES
