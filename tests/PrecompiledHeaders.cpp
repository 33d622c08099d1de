// The targets that precompile the tests' headers need a source of their own to build them with;
// the headers themselves are listed in tests/CMakeLists.txt and tests/ui/CMakeLists.txt.
