!COMMENT!
Four inputs; rule k fires only when input k is small, so the fired rule tells which input
took which element.
!END_COMMENT!

TypeOfDescription=singleton
InfMethod=Takagi-Sugeno Inference
DefuzzMethod=SimpDefuzzLingExpression
UseFuzzyFilter=false

NumberOfAntecedentVariables=4
NumberOfSuccedentVariables=1
NumberOfRules=4

AntVariable1
 name=a
 settings=linguistic
 context=<0,1>
 discretization=301
 lingparams=0.05 0.304 0.4 0.94
End_AntVariable1

AntVariable2
 name=b
 settings=alias(a)
End_AntVariable2

AntVariable3
 name=c
 settings=alias(a)
End_AntVariable3

AntVariable4
 name=d
 settings=alias(a)
End_AntVariable4

SucVariable1
 name=y
 settings=linc
 context=<0,1>
End_SucVariable1

RULES
 "sm" "undef" "undef" "undef" | "0.1"
 "undef" "sm" "undef" "undef" | "0.2"
 "undef" "undef" "sm" "undef" | "0.3"
 "undef" "undef" "undef" "sm" | "0.4"
END_RULES
