% Every call form of the extension, several slots at once, reloads, and the messages of refused
% calls with the slots they leave behind.
examples = getenv ("TAVO_EXAMPLES");
data = fullfile (getenv ("TAVO_TEST_DATA"), "mex");
triangles = fullfile (examples, "triangles.rb");
singleton = fullfile (examples, "singleton.rb");
controller = fullfile (examples, "controller.rb");
fourInputs = fullfile (data, "four_inputs.rb");

% A file name alone loads slot 0, a vector alone evaluates it; the same in a numbered slot.
Tavoquery (triangles);
y = Tavoquery ([0.3 0.6]);
assert (isscalar (y) && y > 0 && y < 1);
Tavoquery (4, triangles);
assert (Tavoquery (4, [0.3 0.6]), y);
% Rows, columns and arrays of any shape alike, when the element count fits.
assert (Tavoquery (4, [0.3; 0.6]), y);
assert (Tavoquery (4, reshape ([0.3 0.6], 1, 1, 2)), y);
expect_error ("Improper count of inference inputs", 4, [0.3 0.6 0.9]);
expect_error ("Improper count of inference inputs", 4, 0.3);

% Elements go over in column order: rule k fires only when input k is 0.
Tavoquery (5, fourInputs);
[~, first, second] = Tavoquery (5, [0 1 1 1]);
assert ([first second], [1 0]);
[~, first] = Tavoquery (5, [1 1; 1 0]);
assert (first, 4);
[~, first] = Tavoquery (5, [1 0; 1 1]);
assert (first, 3);
[~, first] = Tavoquery (5, reshape ([1 0 1 1], 1, 2, 1, 2));
assert (first, 2);

% Further outputs name the fired rules in order, 0 past the last one. A call without outputs
% still answers.
Tavoquery (1, singleton);
[y1, r1, r2, r3] = Tavoquery (1, [50 0]);
assert ([r1 r2 r3], [3 4 0]);
Tavoquery (1, [50 0]);
assert (ans, y1);
[~, r1, r2, r3, r4, r5] = Tavoquery (1, [0 0]);
assert ([r1 r2 r3 r4 r5], [1 0 0 0 0]);

% The slot number is truncated toward zero.
Tavoquery (9.7, singleton);
assert (Tavoquery (9, [50 0]), y1);
Tavoquery (-0.5, controller);
yController = Tavoquery ([0.2 0.7]);
Tavoquery (0, triangles);
assert (Tavoquery ([0.3 0.6]), y);
Tavoquery (-0.99, controller);
assert (Tavoquery ([0.2 0.7]), yController);
expect_error ("Index of rulebase out of range", 10, triangles);
expect_error ("Index of rulebase out of range", -1, triangles);
expect_error ("Index of rulebase out of range", 10, [0.3 0.6]);

% Several slots hold their own rule bases; reloading a slot replaces what it held.
assert (Tavoquery (1, [50 0]), y1);
assert (Tavoquery (4, [0.3 0.6]), y);
Tavoquery (4, singleton);
assert (Tavoquery (4, [50 0]), y1);
assert (Tavoquery (9, [50 0]), y1);
Tavoquery (4, triangles);
assert (Tavoquery (4, [0.3 0.6]), y);

% A file that does not parse is reported, and the slot then takes no inputs.
broken = fullfile (data, "broken.rb");
expect_error (["Cannot load rulebase \"" broken "\": bad file type"], 4, broken);
expect_error ("Improper count of inference inputs", 4, [0.3 0.6]);
expect_error ("Improper count of inference inputs", 4, []);
Tavoquery (4, triangles);
assert (Tavoquery (4, [0.3 0.6]), y);

% An empty name empties the slot.
Tavoquery (4, "");
expect_error ("Rulebase not initialized", 4, [0.3 0.6]);
Tavoquery ("");
expect_error ("Rulebase not initialized", [0.3 0.6]);
expect_error ("Rulebase not initialized", 7, [0.3 0.6]);

% A name of no regular file is refused and leaves the slot as it was.
Tavoquery (4, triangles);
expect_error ("File does not exists", 4, fullfile (data, "absent.rb"));
expect_error ("File does not exists", 4, data);
expect_error ("File does not exists", fullfile (data, "absent.rb"));
assert (Tavoquery (4, [0.3 0.6]), y);

% Names travel as UTF-8, blanks and all.
folder = tempname ();
mkdir (folder);
unwind_protect
  copy = fullfile (folder, "r\xC3\xA9glage 1.rb");
  copyfile (triangles, copy);
  Tavoquery (6, copy);
  assert (Tavoquery (6, [0.3 0.6]), y);
unwind_protect_cleanup
  confirm_recursive_rmdir (false, "local");
  rmdir (folder, "s");
end_unwind_protect

% Argument counts.
expect_error ("Improper count of input arguments. One or two expected.");
expect_error ("Improper count of input arguments. One or two expected.", 1, triangles, 2);

% When the server cannot be created the slot is left empty; the other slots keep theirs.
store = getenv ("TAVO_REGISTRY");
setenv ("TAVO_REGISTRY", [store "-without-server"]);
expect_error ("Rulebase not initialized", 4, triangles);
setenv ("TAVO_REGISTRY", store);
expect_error ("Rulebase not initialized", 4, [0.3 0.6]);
assert (Tavoquery (1, [50 0]), y1);
Tavoquery (4, triangles);
assert (Tavoquery (4, [0.3 0.6]), y);
