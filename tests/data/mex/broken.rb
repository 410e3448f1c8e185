This is not a rulebase file.
