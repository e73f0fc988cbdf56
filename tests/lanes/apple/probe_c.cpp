// Must not compile for the lane's targets: the C library underneath is
// Apple's. memrchr is a GNU extension macOS does not have; aligned_alloc
// came with macOS 10.15 (so only the x86_64 slice, at 10.13, refuses it).
#include <stdlib.h>
#include <string.h>

#ifdef FENNICK_PROBE_MEMRCHR
const void* lastSlash(const char* path);
const void* lastSlash(const char* path) { return memrchr(path, '/', strlen(path)); }
#endif
#ifdef FENNICK_PROBE_ALIGNED_ALLOC
void* page();
void* page() { return aligned_alloc(4096, 4096); }
#endif
