#include "core/mappedfile.h"

#include <new>

#include "platform/plat_files.h"
#include "core/alert.h"

MappedFile::~MappedFile() { MappedFile_destroy(this); }

void MappedFile_create(MappedFile* object, const char* path, char** out_begin)
{
    if (!object) {
        if (out_begin) *out_begin = nullptr;
        return;
    }
    // An object handed in still holding a file gives it back first, so nothing leaks.
    MappedFile_destroy(object);
    char* begin = MappedFile_load(object, path);
    if (out_begin) *out_begin = begin;
}

char* MappedFile_load(MappedFile* object, const char* path)
{
    if (!object) return nullptr;
    MappedFile_destroy(object);
    if (!path) return nullptr;

    // Only a regular file has contents to read: a folder opens on this system,
    // but its length reads as the largest file offset, which no block can hold.
    if (!PLAT_file_exists(path)) return nullptr;
    FILE* f = PLAT_fopen(path, "rb");
    if (!f) return nullptr;
    object->file = f;

    // A length that cannot be read (-1) would be taken as a huge block size.
    long size = -1;
    if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
    if (size < 0 || std::fseek(f, 0, SEEK_SET) != 0) {
        MappedFile_destroy(object);
        return nullptr;
    }

    // An empty file still gets a block, so that begin is not null and begin == end.
    const size_t bytes = static_cast<size_t>(size);
    char* block = new (std::nothrow) char[bytes ? bytes : 1];
    if (!block) {
        MACIBM_nuke_alert(0, "Xmapped file ran out of memory", path, "", "", ALERT_FATAL);
        MappedFile_destroy(object);
        return nullptr;
    }
    object->begin = block;
    object->path = path;
    // Only the bytes actually read count as the contents: a file cut short
    // while it is read would otherwise leave unread bytes to be scanned.
    const size_t got = bytes ? std::fread(block, 1, bytes, f) : 0;
    object->end = block + got;
    return object->begin;
}

void MappedFile_destroy(MappedFile* object)
{
    if (!object) return;
    delete[] object->begin;
    object->begin = nullptr;
    object->end = nullptr;
    if (object->file) std::fclose(object->file);
    object->file = nullptr;
    object->path.clear();
}
