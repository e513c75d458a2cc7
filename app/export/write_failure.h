// Why a file of an export was not written, as the writer that failed saw it, so that the
// message names that writer's own cause; a file of bytes written so that it answers one; and
// the folders a typed name asks for, made.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/image/image.h"

enum class write_failure : int32_t {
    none,
    no_drive,        // the drive or network share is not there or not reachable
    no_folder,       // the file's folder is not there
    source_gone,     // a file to be taken in (a frame into the zip) is no longer there
    file_in_way,     // a file stands where a folder of the path should be
    access_denied,   // read-only, or the user may not write there
    bad_name,        // a name Windows does not allow
    in_use,          // another program holds the file
    disk_full,
    not_written,     // the write broke off: full or unreachable, Windows does not say which
    target_damaged,  // written in place, and the old content could not be put back
    no_memory,
    unknown,
};

// The cause of a Windows error code that a failed file call left.
write_failure write_failure_of_system(uint32_t error);
// The same for a call known to have failed: a failure Windows left no code for is still one.
write_failure failure_told(uint32_t error);
// The cause of the image library's failed save of `path`, which tells a read-only folder
// from a missing one only by looking.
write_failure write_failure_of_save(image_save_failure failure, const std::string& path);

struct folders_made {
    write_failure failure = write_failure::none;
    std::string folder;  // the one that could not be made
};
// Writes `size` bytes as the file `path`; on failure nothing is left of it.
write_failure write_file_bytes(const char* path, const uint8_t* bytes, size_t size);

// False for a file name Windows refuses: empty, or with a control character or one of < > : " | ? *.
bool write_name_allowed(const std::string& file_path);
// Makes every folder of `file_path` that is not there yet, outermost first.
folders_made write_folders_make(const std::string& file_path);
