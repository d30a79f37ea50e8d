/* Directories for the runner on POSIX systems. */
#define _POSIX_C_SOURCE 200809L

#include <sys/stat.h>
#include <unistd.h>

#include "binding.h"

int MakeDirectory(const char *path) { return mkdir(path, 0777); }

int ChangeDirectory(const char *path) { return chdir(path); }

int MakeReadOnly(const char *path) { return chmod(path, 0444); }
