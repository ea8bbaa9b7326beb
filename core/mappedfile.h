// Whole-file reader: a file read in one call into one memory block, so that
// parsers scan it with a position instead of stream calls.
#pragma once

#include <cstdio>
#include <string>

struct MappedFile {
    char* begin = nullptr;   // first byte of the contents, or null
    char* end = nullptr;     // one past the last byte
    FILE* file = nullptr;    // kept open while the object holds the contents
    std::string path;        // the path it was loaded from, named by alerts about its contents

    MappedFile() = default;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();
};

void MappedFile_create(MappedFile* object, const char* path, char** out_begin);
char* MappedFile_load(MappedFile* object, const char* path);
void MappedFile_destroy(MappedFile* object);
