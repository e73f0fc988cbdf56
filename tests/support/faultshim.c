/* Test-only LD_PRELOAD library: changes one file while the program reads it.
 *
 *   FENNICK_FAULT_FILE    the file (it must exist when the program starts)
 *   FENNICK_FAULT_ACTION  truncate:N  cut the file to N bytes
 *                         delete      unlink it
 *                         fail        later reads of it fail (the descriptor
 *                                     is swapped for one of a folder: EISDIR)
 *   FENNICK_FAULT_AFTER   reads of the file before the action (default 1;
 *                         0 acts before the first read)
 *   FENNICK_FAULT_REPORT  file that receives "READS BYTES" (the reads and
 *                         bytes read before the action) once it happened
 *
 * Reads are caught at fread, through which the library reads every file. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

typedef size_t (*fread_fn)(void*, size_t, size_t, FILE*);

static dev_t target_dev;
static ino_t target_ino;
static int armed;
static long reads_before;
static long reads_done;
static unsigned long long bytes_done;

__attribute__((constructor)) static void setup(void) {
  const char* path = getenv("FENNICK_FAULT_FILE");
  const char* after = getenv("FENNICK_FAULT_AFTER");
  struct stat st;
  if (!path || !getenv("FENNICK_FAULT_ACTION") || stat(path, &st) != 0) return;
  target_dev = st.st_dev;
  target_ino = st.st_ino;
  reads_before = after ? strtol(after, NULL, 10) : 1;
  armed = 1;
}

static int is_target(FILE* stream) {
  struct stat st;
  return fstat(fileno(stream), &st) == 0 && st.st_dev == target_dev && st.st_ino == target_ino;
}

static void act(FILE* stream) {
  const char* path = getenv("FENNICK_FAULT_FILE");
  const char* action = getenv("FENNICK_FAULT_ACTION");
  const char* report = getenv("FENNICK_FAULT_REPORT");
  armed = 0;
  if (strncmp(action, "truncate:", 9) == 0) {
    if (truncate(path, strtoll(action + 9, NULL, 10)) != 0) abort();
  } else if (strcmp(action, "delete") == 0) {
    if (unlink(path) != 0) abort();
  } else if (strcmp(action, "fail") == 0) {
    int folder = open("/", O_RDONLY | O_DIRECTORY);
    if (folder < 0 || dup2(folder, fileno(stream)) < 0) abort();
    close(folder);
  } else {
    abort();
  }
  if (report) {
    FILE* f = fopen(report, "w");
    if (!f) abort();
    fprintf(f, "%ld %llu\n", reads_done, bytes_done);
    fclose(f);
  }
}

size_t fread(void* ptr, size_t size, size_t count, FILE* stream) {
  static fread_fn real;
  if (!real) real = (fread_fn)dlsym(RTLD_NEXT, "fread");
  int mine = armed && is_target(stream);
  if (mine && reads_done == reads_before) act(stream);
  size_t n = real(ptr, size, count, stream);
  if (mine) {
    ++reads_done;
    bytes_done += (unsigned long long)n * size;
  }
  return n;
}
