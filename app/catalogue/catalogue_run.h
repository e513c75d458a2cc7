// The catalogue run: each row of the table applied to the hidden window's box and exported
// through the program's own exports, named by the profile, with the report beside them. A
// failed row leaves no file of its own behind and never stops the rows after it.
#pragma once

#include <cstdint>
#include <string>

#include "app/catalogue/catalogue.h"

struct catalogue_request {
    std::string table;   // full path
    std::string folder;  // full path of the output folder
    catalogue_profile profile = catalogue_profile::amazon;
    int32_t shard = 0;   // rows whose number, counted from 0, modulo `shards` is `shard`
    int32_t shards = 1;
};

// Where the run tells how far it is; `goes_on` false stops it before the next row.
struct catalogue_watch {
    void (*row_begins)(int32_t index, int32_t count, const std::string& product, int32_t seconds_left, void* context);
    bool (*goes_on)(void* context);
    void* context;
};

struct catalogue_summary {
    int32_t written = 0, failed = 0, skipped = 0;
    bool stopped = false;
    std::string complaint;  // the table could not be taken; nothing was done
    std::string report;     // the report's full path
};

catalogue_summary catalogue_run(const catalogue_request& request, const catalogue_watch& watch);
// The report's name in the output folder: a shard's has its number, so shards sharing a
// folder keep theirs apart.
std::string catalogue_report_name(const catalogue_request& request);
