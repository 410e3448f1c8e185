function expect_error (message, varargin)
  % Calls Tavoquery with the arguments; it must fail with exactly this message.
  try
    Tavoquery (varargin{:});
  catch err
    assert (err.message, ["Tavoquery: " message]);
    return;
  end
  error ("Tavoquery did not fail with \"%s\"", message);
end
