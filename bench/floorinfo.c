/* The floor of `scanlet-info --json FOLDER` in plain C: list the folder's "*.jpg" regular files,
   order them by the number their names begin with, open each once without blocking, check the
   descriptor, read its first block, and write one JSON object per file (file, title and
   configuration escaped; the settings array, which only costs formatting, given as a fixed text)
   into one buffer written at the end. Usage: floor_info FOLDER SETTINGS-JSON */
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

struct Name
{
    long number;
    char *text;
};

static struct
{
    char *bytes;
    size_t size, capacity;
} out;

static void put(const char *bytes, size_t size)
{
    if (out.size + size > out.capacity) {
        out.capacity = 2 * (out.size + size);
        out.bytes = realloc(out.bytes, out.capacity);
        if (!out.bytes)
            exit(1);
    }
    memcpy(out.bytes + out.size, bytes, size);
    out.size += size;
}

static void putText(const char *text)
{
    put(text, strlen(text));
}

static void putJsonString(const char *text, size_t size)
{
    put("\"", 1);
    for (size_t i = 0; i < size; ++i) {
        const unsigned char c = (unsigned char)text[i];
        if (c >= 0x20 && c != '"' && c != '\\') {
            put(text + i, 1);
        } else {
            char escaped[8];
            snprintf(escaped, sizeof escaped, "\\u%04x", c);
            put(escaped, 6);
        }
    }
    put("\"", 1);
}

static int byNumber(const void *a, const void *b)
{
    const struct Name *x = a, *y = b;
    return x->number < y->number ? -1 : x->number > y->number;
}

int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    const char *directory = argv[1];
    DIR *dir = opendir(directory);
    if (!dir)
        return 1;
    struct Name *names = NULL;
    size_t count = 0, capacity = 0;
    for (struct dirent *entry; (entry = readdir(dir)) != NULL;) {
        const size_t length = strlen(entry->d_name);
        if (entry->d_type != DT_REG || length < 5 || strcasecmp(entry->d_name + length - 4, ".jpg") != 0)
            continue;
        if (count == capacity) {
            capacity = capacity ? 2 * capacity : 1024;
            names = realloc(names, capacity * sizeof *names);
            if (!names)
                return 1;
        }
        names[count].number = strtol(entry->d_name, NULL, 10);
        names[count++].text = strdup(entry->d_name);
    }
    closedir(dir);
    qsort(names, count, sizeof *names, byNumber);

    char path[4096], head[4096];
    putText("[");
    for (size_t i = 0; i < count; ++i) {
        snprintf(path, sizeof path, "%s/%s", directory, names[i].text);
        putText(i > 0 ? ",\n {\"file\": " : "\n {\"file\": ");
        putJsonString(path, strlen(path));
        const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        struct stat info;
        if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || read(fd, head, sizeof head) < 610) {
            putText(", \"error\": \"not an A-scan file\"}");
        } else {
            putText(", \"title\": ");
            putJsonString(head + 13, strnlen(head + 13, 31));
            putText(", \"configuration\": ");
            putJsonString(head + 578, strnlen(head + 578, 31));
            putText(", \"settings\": ");
            putText(argv[2]);
            putText("}");
        }
        if (fd >= 0)
            close(fd);
    }
    putText("\n]\n");
    for (size_t done = 0; done < out.size;) {
        const ssize_t wrote = write(1, out.bytes + done, out.size - done);
        if (wrote <= 0)
            return 1;
        done += (size_t)wrote;
    }
    return 0;
}
