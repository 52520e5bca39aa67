// Sanitizer settings compiled into the test binary, so they hold however the tests are started.

// libbulletml keeps the state of a running <repeat> on a stack of raw pointers that its
// runner's destructor does not free: a runner deleted inside a repeat (every aborted
// pattern) leaks it. Only the library's frame is named; a leak of ours still fails.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:BulletMLRunnerImpl::runRepeat\n";
}
extern "C" const char* __asan_default_options() { return "detect_leaks=1"; }
extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }
