// Row k of n, the product and the time left, one line each, so that a log of a long run says
// where it was; the summary names the report.
#include "app/catalogue/catalogue_console.h"

#include <cstdio>

#include "app/catalogue/catalogue_helpers.h"
#include "app/catalogue/catalogue_run.h"
#include "app/messages/console_output.h"
#include "app/project/whole_file.h"

namespace {

constexpr int all_written = 0;
constexpr int some_failed = 1;
constexpr int wrong_table = 2;

void tell_row(int32_t index, int32_t count, const std::string& product, int32_t seconds_left, void*) {
    char left[48] = "";
    if (seconds_left >= 0)
        std::snprintf(left, sizeof left, ", noch etwa %d:%02d min", int(seconds_left / 60), int(seconds_left % 60));
    console_write("Zeile " + std::to_string(index + 1) + " von " + std::to_string(count) + ": " + product + left, false);
}

}  // namespace

int catalogue_console_run(const command& asked) {
    catalogue_request request{asked.project, asked.target, asked.profile, asked.shard, asked.shards};
    if (request.folder.back() != '\\') request.folder += '\\';
    // A table that cannot be taken is told once, before any helper would tell it again.
    const file_bytes table = whole_file(request.table.c_str());
    const std::string complaint =
        table ? catalogue_table_read(*table).complaint : "Die Tabelle kann nicht gelesen werden: " + request.table;
    if (!complaint.empty()) {
        console_write(complaint, true);
        return wrong_table;
    }
    catalogue_helpers helpers = catalogue_helpers_start(request);
    catalogue_summary summary = catalogue_run(helpers.own, {tell_row, nullptr, nullptr});
    catalogue_helpers_join(request, helpers, summary);
    if (!summary.complaint.empty()) {
        console_write(summary.complaint, true);
        return wrong_table;
    }
    if (!catalogue_is_helper())
        console_write("Katalog: " + std::to_string(summary.written) + " geschrieben, " + std::to_string(summary.skipped) +
                          " schon aktuell, " + std::to_string(summary.failed) + " fehlgeschlagen. Bericht: " + summary.report,
                      summary.failed > 0);
    return summary.failed > 0 ? some_failed : all_written;
}
