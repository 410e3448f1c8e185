% Clearing the function releases every slot's object: the server module unloads with the
% extension, and the extension comes back with all slots empty.
examples = getenv ("TAVO_EXAMPLES");
triangles = fullfile (examples, "triangles.rb");
mapped = @(name) ! isempty (strfind (fileread ("/proc/self/maps"), name));
server = [filesep "Kelrun.so"];

Tavoquery (triangles);
Tavoquery (3, fullfile (examples, "singleton.rb"));
Tavoquery (9, triangles);
y = Tavoquery ([0.3 0.6]);
assert (mapped (server));

clear Tavoquery
assert (! mapped (server));
assert (! mapped ("Tavoquery.mex"));

for slot = [0 3 9]
  expect_error ("Rulebase not initialized", slot, [0.3 0.6]);
end
Tavoquery (triangles);
assert (Tavoquery ([0.3 0.6]), y);
Tavoquery ("");
clear functions
assert (! mapped (server));
Tavoquery (5, triangles);
assert (Tavoquery (5, [0.3 0.6]), y);
