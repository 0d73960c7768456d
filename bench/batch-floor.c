/* The floor under a batch of logos: the I/O that vezodev-render's batch does for its
 * files, and nothing else. Each FILE is read into memory first; then, as the batch
 * does, each is written to a temporary file beside its target in OUT_FOLDER with its
 * write-back started, one syncfs makes the group durable, and the files are renamed
 * over their targets in order. Timing this program beside the batch tells how near
 * the batch comes to what the disk allows.
 *
 * Usage: batch-floor OUT_FOLDER FILE... */
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

struct file {
    char *bytes;
    size_t size;
    char target[4096];
    char temporary[4096];
};

static int fail(const char *what, const char *name)
{
    perror(name);
    fprintf(stderr, "batch-floor: %s failed\n", what);
    return 1;
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: batch-floor OUT_FOLDER FILE...\n");
        return 2;
    }
    const int count = argc - 2;
    struct file *files = calloc((size_t)count, sizeof *files);
    for (int i = 0; i < count; ++i) {
        const char *source = argv[i + 2];
        const int in = open(source, O_RDONLY);
        struct stat info;
        if (in < 0 || fstat(in, &info) != 0)
            return fail("open", source);
        files[i].size = (size_t)info.st_size;
        files[i].bytes = malloc(files[i].size);
        if (read(in, files[i].bytes, files[i].size) != (ssize_t)files[i].size)
            return fail("read", source);
        close(in);
        const char *slash = strrchr(source, '/');
        const char *name = slash ? slash + 1 : source;
        snprintf(files[i].target, sizeof files[i].target, "%s/%s", argv[1], name);
        snprintf(files[i].temporary, sizeof files[i].temporary, "%s/.%s.vezodev-XXXXXX", argv[1], name);
    }
    const int folder = open(argv[1], O_RDONLY | O_DIRECTORY);
    if (folder < 0)
        return fail("open", argv[1]);
    for (int i = 0; i < count; ++i) {
        const int out = mkostemp(files[i].temporary, O_CLOEXEC);
        if (out < 0 || write(out, files[i].bytes, files[i].size) != (ssize_t)files[i].size)
            return fail("write", files[i].temporary);
        fchmod(out, 0644);
        sync_file_range(out, 0, 0, SYNC_FILE_RANGE_WRITE);
        if (close(out) != 0)
            return fail("close", files[i].temporary);
    }
    if (syncfs(folder) != 0)
        return fail("syncfs", argv[1]);
    for (int i = 0; i < count; ++i) {
        if (rename(files[i].temporary, files[i].target) != 0)
            return fail("rename", files[i].target);
    }
    return 0;
}
