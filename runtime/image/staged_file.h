// Saving without risk to the file being replaced: the new content goes to a temporary
// file in the target's folder and replaces the target only once it was written whole.
// Where the folder allows no temporary file, the target is written in place, its old
// content kept aside and put back when the write does not go through; a target that cannot
// be read to keep its content aside is left alone and the save fails.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/image/image.h"

class staged_file {
public:
    explicit staged_file(const char* target);
    ~staged_file();
    staged_file(const staged_file&) = delete;
    staged_file& operator=(const staged_file&) = delete;

    // Null when the temporary file could not be created or the target may not be replaced.
    FILE* stream() const { return stream_; }
    // Flushes, closes and moves the temporary file over the target; false leaves the
    // target as it was (written in place: as far as its old content could be put back).
    bool commit();

private:
    void fail(image_save_failure failure);
    void open_in_place();
    void discard();
    void put_back();

    std::string target_;
    std::string temporary_;
    std::vector<uint8_t> old_content_;  // of a target written in place
    FILE* stream_ = nullptr;
    bool existed_ = false;  // the target written in place was there before
    bool pending_ = false;  // opened and not yet written whole
};

// Forgets the failure of an earlier save, at the start of the next.
void save_failure_clear();
// The reason the save that is ending failed, when its writer knows better than the file.
void save_failure_set(image_save_failure failure);
