// Mesa keeps a few allocations of its own alive until the process ends; they are not
// ours, so the leak checker is told to pass over them. Every other leak still fails.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libOSMesa.so\n"
           "leak:libGLX_mesa.so\n"
           "leak:swrast_dri.so\n"
           "leak:libglapi.so\n";
}

// How often each was passed over is no news to the user: standard error stays the program's.
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
