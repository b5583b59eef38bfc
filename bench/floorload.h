#ifndef FLOORLOAD_H
#define FLOORLOAD_H

#ifdef __cplusplus
extern "C" {
#endif

enum {
    FloorOpenat = 1, /* each file opened by name in the folder opened once, not by its full path */
    FloorDirect = 2  /* each header read past the page cache: one aligned 512-byte O_DIRECT read */
};

/* The system-call floor of loading a folder: list it, then open each "*.jpg", read its first 45
   bytes and close it. Returns how many files gave their 45 bytes. */
int floorLoad(const char *directory, int how);

#ifdef __cplusplus
}
#endif

#endif /* FLOORLOAD_H */
