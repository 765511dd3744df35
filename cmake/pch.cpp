// Compiles the tests' precompiled header once.
