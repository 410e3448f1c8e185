% Evaluates two of the shipped rule bases through the Octave extension Tavoquery, each kept in a
% slot of its own, over a grid of inputs, and prints the inputs, the crisp output and the rules
% that fired. Run by scripts/run; needs Tavoquery on the path and the server Kelrun registered.
here = fileparts (mfilename ("fullpath"));
demos = struct ( ...
  "file", {"controller.rb", "singleton.rb"}, ...
  "slot", {1, 2}, ...
  "inputs", {{"distance", "speed"}, {"load", "temperature"}}, ...
  "output", {"braking", "valve"}, ...
  "grid", {{0:12.5:50, 0:40:120}, {0:25:100, 0:20:40}});

for demo = demos
  Tavoquery (demo.slot, fullfile (here, demo.file));
end

maxFired = 4;
for demo = demos
  printf ("\n%s in slot %d\n", demo.file, demo.slot);
  printf ("%12s %12s %12s   %s\n", demo.inputs{:}, demo.output, "fired rules");
  [first, second] = ndgrid (demo.grid{:});
  for point = [first(:) second(:)]'
    answers = cell (1, 1 + maxFired);
    [answers{:}] = Tavoquery (demo.slot, point');
    fired = [answers{2:end}];
    printf ("%12g %12g %12.4f   %s\n", point, answers{1}, num2str (fired(fired > 0)));
  end
end
