// A module with nothing in it but what its resource script gives it.
extern "C" __declspec(dllexport) int VersionTestModule() { return 0; }
