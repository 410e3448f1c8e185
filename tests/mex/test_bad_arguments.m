% Refused arguments of every kind end in the fixed messages, crash nothing and leave the slots
% as they were.
triangles = fullfile (getenv ("TAVO_EXAMPLES"), "triangles.rb");
Tavoquery (2, triangles);
y = Tavoquery (2, [0.3 0.6]);

% Slot arguments: only doubles, and only numbers that truncate into 0..9.
notDouble = {"2", int8(2), single(2), true, {2}, struct("slot", 2), @sin};
for k = 1:numel (notDouble)
  expect_error ("Invalid type of argument", notDouble{k}, [0.3 0.6]);
  expect_error ("Invalid type of argument", notDouble{k}, triangles);
end
noSlot = {[], zeros(0, 3), NaN, Inf, -Inf, 10, -1, 1e300, -1e300, 2^31, -2^31 - 1};
for k = 1:numel (noSlot)
  expect_error ("Index of rulebase out of range", noSlot{k}, [0.3 0.6]);
  expect_error ("Index of rulebase out of range", noSlot{k}, triangles);
end
% The slot of a non-scalar or complex number is its first (real) element.
assert (Tavoquery ([2 7], [0.3 0.6]), y);
assert (Tavoquery (2 + 5i, [0.3 0.6]), y);

% Data: a file name or a real, full array of doubles.
notData = {{0.3, 0.6}, {}, [true false], int32([0 1]), single([0.3 0.6]), ...
           struct("x", [0.3 0.6]), @sin, sparse([0.3 0.6]), sparse([0 0.6])};
for k = 1:numel (notData)
  expect_error ("Invalid type of argument", 2, notData{k});
  expect_error ("Invalid type of argument", notData{k});
end
expect_error ("Invalid type of argument: Only real is allowed", 2, [0.3+1i 0.6]);
expect_error ("Invalid type of argument: Only real is allowed", 2, complex ([0.3 0.6]));

% Element counts other than the inputs', however large or shaped.
counts = {[], zeros(1, 0), zeros(0, 2), 0.3, [0.3 0.6 0.9], zeros(2, 2), zeros(2, 1, 2), ...
          zeros(1, 1e7)};
for k = 1:numel (counts)
  expect_error ("Improper count of inference inputs", 2, counts{k});
end
% A char matrix names the file its characters spell in column order.
expect_error ("File does not exists", 2, ["ab"; "cd"]);

% Many outputs: every one past the fired rules is 0.
outputs = cell (1, 40);
[outputs{:}] = Tavoquery (2, [0.3 0.6]);
assert (outputs{1}, y);
assert (all (cellfun (@(r) isscalar (r) && r >= 0 && r <= 25, outputs(2:end))));
assert (outputs{end}, 0);

assert (Tavoquery (2, [0.3 0.6]), y);

% Inputs beyond the context are clamped to it; NaN is passed on and answered somehow.
assert (Tavoquery (2, [Inf 0.6]), Tavoquery (2, [1 0.6]));
assert (Tavoquery (2, [-Inf 0.6]), Tavoquery (2, [0 0.6]));
assert (Tavoquery (2, [7 0.6]), Tavoquery (2, [1 0.6]));
assert (isscalar (Tavoquery (2, [NaN 0.6])));
assert (isscalar (Tavoquery (2, [NaN NaN])));

% An empty char array of any shape empties the slot.
Tavoquery (3, triangles);
Tavoquery (3, char (zeros (0, 5)));
expect_error ("Rulebase not initialized", 3, [0.3 0.6]);

assert (Tavoquery (2, [0.3 0.6]), y);
