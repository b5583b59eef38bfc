#include "floorload.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

int floorLoad(const char *directory)
{
    DIR *dir = opendir(directory);
    if (!dir)
        return 0;
    int read45 = 0;
    char header[45];
    char path[4096];
    for (struct dirent *entry; (entry = readdir(dir)) != NULL;) {
        const size_t length = strlen(entry->d_name);
        if (length < 5 || strcasecmp(entry->d_name + length - 4, ".jpg") != 0)
            continue;
        /* by its full path, as a program given a folder opens it */
        if (snprintf(path, sizeof path, "%s/%s", directory, entry->d_name) >= (int)sizeof path)
            continue;
        const int fd = open(path, O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (read(fd, header, sizeof header) == (ssize_t)sizeof header)
            ++read45;
        close(fd);
    }
    closedir(dir);
    return read45;
}
