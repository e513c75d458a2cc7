// A zip archive of whole files, stored as they are (pictures gain nothing from deflating),
// each under its bare file name, written by minizip.
#pragma once

#include <string>
#include <vector>

#include "app/export/write_failure.h"

// The names are taken in the program's code page and written as UTF-8, flagged so (general
// purpose bit 11), so that every unpacking tool shows them as typed. Past 4 GiB the archive
// carries ZIP64 records. On failure nothing is left and the cause is answered.
write_failure write_stored_zip(const std::string& archive, const std::vector<std::string>& files);
