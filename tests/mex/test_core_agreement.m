% Every example, each in a slot of its own, gives through the server what the core gives on a
% grid of inputs (tables written by tavoquery_expected). Examples that the server's reader
% refuses are reported when loaded and take no inputs; where the server computes differently
% only the shape of the answer is checked.
examples = getenv ("TAVO_EXAMPLES");
expected = getenv ("TAVO_EXPECTED");
fid = fopen (fullfile (expected, "manifest.txt"));
manifest = textscan (fid, "%s %d %d %d");
fclose (fid);
names = manifest{1};
assert (numel (names) >= 5 && numel (names) <= 10);

for k = 1:numel (names)
  try
    Tavoquery (k - 1, fullfile (examples, [names{k} ".rb"]));
    assert (manifest{2}(k));
  catch err
    assert (! manifest{2}(k) && strncmp (err.message, "Tavoquery: Cannot load", 22), err.message);
  end
end
for k = 1:numel (names)
  slot = k - 1;
  loads = manifest{2}(k);
  agrees = manifest{3}(k);
  n = double (manifest{4}(k));
  table = load ("-ascii", fullfile (expected, [names{k} ".txt"]));
  if (! loads)
    expect_error ("Improper count of inference inputs", slot, table(1, 1:n));
    continue;
  end
  for row = 1:rows (table)
    [y, r1, r2, r3] = Tavoquery (slot, table(row, 1:n));
    if (agrees)
      want = table(row, n + 1);
      if (abs (y - want) > 1e-12 * max (1, abs (want))
          || ! isequal ([r1 r2 r3], table(row, n + 2:n + 4)))
        error ("%s at [%s]: %.17g fired [%d %d %d], core %.17g fired [%d %d %d]", names{k},
               num2str (table(row, 1:n)), y, r1, r2, r3, want, table(row, n + 2:n + 4));
      end
    else
      assert (isscalar (y) && isa (y, "double"));
    end
  end
end
