## -*- texinfo -*-
## @deftypefn  {} {} Tavoquery (@var{file})
## @deftypefnx {} {} Tavoquery (@var{slot}, @var{file})
## @deftypefnx {} {@var{y} =} Tavoquery (@var{x})
## @deftypefnx {} {[@var{y}, @var{r1}, @var{r2}, @dots{}] =} Tavoquery (@var{slot}, @var{x})
## Load fuzzy rule bases and evaluate them on vectors of inputs.
##
## Up to ten rule bases stay loaded at a time, each in a numbered @var{slot}
## from 0 to 9; without @var{slot}, slot 0 is meant.  A @var{slot} that is not
## a whole number is truncated toward zero (9.7 is slot 9).
##
## @code{Tavoquery (@var{slot}, @var{file})} reads the rulebase file named by
## the char array @var{file} (a ".rb" file; see docs/rulebase-format.md) into
## the slot, replacing what the slot held.  An empty @var{file}, @code{""},
## empties the slot.  Nothing is returned.
##
## @code{[@var{y}, @var{r1}, @var{r2}, @dots{}] = Tavoquery (@var{slot},
## @var{x})} runs inference with the rule base of the slot on the real vector
## @var{x}, which holds one value per input variable in the order of the file
## (a row, a column or any array with that many elements).  @var{y} is the
## crisp output.  @var{r1}, @var{r2}, @dots{} are the numbers of the rules that
## fired, counted from 1 in the order of the file's rules section; once the
## fired rules run out, the further outputs are 0.
##
## An input outside its variable's context (the range @code{context=<lo,hi>} of
## the file) is clamped to the nearer end of the context; @var{y} lies within
## the output variable's context.
##
## When no rule fires, @var{r1} is 0, and @var{y} is what the defuzzification
## gives for an empty or flat output: for most methods the middle of the
## output's context.  Ask for @var{r1} to tell this case from a real answer
## that happens to lie in the middle.
##
## Messages:
##
## @table @asis
## @item Cannot load rulebase "@var{file}": @var{reason}
## The file was found but not read as a rule base; @var{reason} is the
## reader's message (for example "unknown type of inference method
## Logical_Deductoin" or "bad expression in rule 2, variable power: atomic term
## expected").  docs/rulebase-format.md lists the messages and what to do
## about them.  The server reads less than the library: it does not know the
## inference methods "Fuzzy_Approximation-func_prod" and
## "Fuzzy_Approximation-func_luk", nor user terms of type "gaussian".  The slot
## is left without a rule base: evaluating it gives "Improper count of
## inference inputs" until a file loads.
##
## @item File does not exists
## No regular file has the given name (relative names are taken from the
## current directory).
##
## @item Improper count of inference inputs
## @var{x} has a number of elements other than the rule base's inputs, or the
## slot's last load failed.
##
## @item Rulebase not initialized
## The slot holds no rule base (never loaded, or emptied), or the server
## Kelrun cannot be created: it is not registered for this user (run
## scripts/setup).
##
## @item Index of rulebase out of range
## @var{slot} does not truncate to a number from 0 to 9.
##
## @item Invalid type of argument
## @var{slot} is not a double, or the data is neither a char array nor a full
## (not sparse) double array.
##
## @item Invalid type of argument: Only real is allowed
## @var{x} is complex.
##
## @item Improper count of input arguments. One or two expected.
## Called with no argument or more than two.
## @end table
##
## Example:
##
## @example
## @group
## Tavoquery (1, "examples/controller.rb");
## [y, r1, r2] = Tavoquery (1, [10 60])
## @end group
## @end example
## @end deftypefn

## Octave shows this file's help for the extension Tavoquery.mex beside it, which takes
## precedence when Tavoquery is called.
