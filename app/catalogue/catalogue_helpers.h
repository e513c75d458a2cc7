// Both cores across products: the exports of one product keep only part of a second core
// busy, so a run from the command line hands a share of its rows to helper processes of the
// same program, each a finer shard of its own, and joins their reports into one.
#pragma once

#include <string>
#include <vector>

#include "app/catalogue/catalogue_run.h"

struct catalogue_helpers {
    catalogue_request own;  // the finer shard this process works on itself
    std::vector<void*> processes;
    std::vector<std::string> reports;  // every share's report, this process's first
};

// A helper's summary is its caller's to tell, in the joined report's numbers.
bool catalogue_is_helper();
// Starts a helper for each further core (none in a helper itself, nor on one core).
catalogue_helpers catalogue_helpers_start(const catalogue_request& request);
// Waits for the helpers, then joins the shares' reports, ordered by row, into the request's
// own report and counts its lines into `summary`.
void catalogue_helpers_join(const catalogue_request& request, catalogue_helpers& helpers, catalogue_summary& summary);
