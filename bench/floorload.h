#ifndef FLOORLOAD_H
#define FLOORLOAD_H

#ifdef __cplusplus
extern "C" {
#endif

/* The system-call floor of loading a folder: list it, then open each "*.jpg", read its first 45
   bytes and close it. Returns how many files gave their 45 bytes. */
int floorLoad(const char *directory);

#ifdef __cplusplus
}
#endif

#endif /* FLOORLOAD_H */
