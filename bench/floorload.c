#define _GNU_SOURCE
#include "floorload.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

/* The first 45 bytes; with FloorDirect one sector straight from the device, through the cache
   only where the file system refuses that, as Scanlet does. */
static int readHeader(int fd, int how)
{
    static _Alignas(4096) char sector[4096];
    if ((how & FloorDirect) && fcntl(fd, F_SETFL, O_RDONLY | O_DIRECT) == 0
        && pread(fd, sector, 512, 0) >= 45)
        return 1;
    if (how & FloorDirect)
        fcntl(fd, F_SETFL, O_RDONLY);
    return read(fd, sector, 45) == 45;
}

int floorLoad(const char *directory, int how)
{
    DIR *dir = opendir(directory);
    if (!dir)
        return 0;
    const int folder = (how & FloorOpenat) ? open(directory, O_PATH | O_DIRECTORY | O_CLOEXEC) : -1;
    int read45 = 0;
    char path[4096];
    for (struct dirent *entry; (entry = readdir(dir)) != NULL;) {
        const size_t length = strlen(entry->d_name);
        if (length < 5 || strcasecmp(entry->d_name + length - 4, ".jpg") != 0)
            continue;
        int fd;
        if (how & FloorOpenat) {
            fd = openat(folder, entry->d_name, O_RDONLY | O_CLOEXEC);
        } else {
            /* by its full path, as a program given a folder opens it */
            if (snprintf(path, sizeof path, "%s/%s", directory, entry->d_name) >= (int)sizeof path)
                continue;
            fd = open(path, O_RDONLY | O_CLOEXEC);
        }
        if (fd < 0)
            continue;
        read45 += readHeader(fd, how);
        close(fd);
    }
    if (folder >= 0)
        close(folder);
    closedir(dir);
    return read45;
}
