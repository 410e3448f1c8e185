% A file that the server does not read is reported at once, naming the file and the reader's
% message; the slot then holds nothing loaded and refuses inference with the fixed message.
controller = fullfile (getenv ("TAVO_EXAMPLES"), "controller.rb");
text = fileread (controller);
folder = tempname ();
mkdir (folder);
unwind_protect
  Tavoquery (4, controller);
  y = Tavoquery (4, [10 60]);
  % Help comes from the text beside the module.
  assert (! isempty (strfind (evalc ("help Tavoquery"), "Index of rulebase out of range")));

  damaged = {"=Logical_Deduction", "=Logical_Deductoin", ...
             "unknown type of inference method Logical_Deductoin";
             "End_AntVariable1", "End_AntVariable", ...
             "Variable dont match End_Variable";
             "\"ml me\" \"sm\" | \"me\"", "\"ml me\" \"sm\" | \"ml\"", ...
             "bad expression in rule 12, variable braking: atomic term expected"};
  for k = 1:rows (damaged)
    file = fullfile (folder, sprintf ("damaged %d%%s.rb", k));
    fid = fopen (file, "w");
    fputs (fid, strrep (text, damaged{k, 1}, damaged{k, 2}));
    fclose (fid);
    expect_error (sprintf ("Cannot load rulebase \"%s\": %s", file, damaged{k, 3}), 4, file);
    expect_error ("Improper count of inference inputs", 4, [10 60]);
  end

  % The next good load reads as before and says nothing.
  Tavoquery (4, controller);
  assert (Tavoquery (4, [10 60]), y);
unwind_protect_cleanup
  Tavoquery (4, "");
  confirm_recursive_rmdir (false, "local");
  rmdir (folder, "s");
end_unwind_protect
