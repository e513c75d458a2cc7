// Saving without risk to the file being replaced: the new content goes to a temporary
// file in the target's folder and replaces the target only once it was written whole.
// Where the folder allows no temporary file, the target is written in place.
#pragma once

#include <cstdio>
#include <string>

class staged_file {
public:
    explicit staged_file(const char* target);
    ~staged_file();
    staged_file(const staged_file&) = delete;
    staged_file& operator=(const staged_file&) = delete;

    // Null when the temporary file could not be created or the target may not be replaced.
    FILE* stream() const { return stream_; }
    // Flushes, closes and moves the temporary file over the target; false leaves the
    // target as it was, unless it was being written in place.
    bool commit();

private:
    void discard();

    std::string target_;
    std::string temporary_;
    FILE* stream_ = nullptr;
};
