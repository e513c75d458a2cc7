// The catalogue's loop: the table read, each of the shard's rows skipped when its files are
// newer than its inputs or else written, and the report's line appended once the row ends,
// so that a stopped run leaves a true report of what it did.
#include "app/catalogue/catalogue_run.h"

#include <cstdio>
#include <ctime>

#include "app/catalogue/catalogue_product.h"
#include "app/project/project_state.h"
#include "app/project/whole_file.h"
#include "runtime/core/windows_host.h"

namespace {

constexpr const char* report_file = "catalogue-report";

uint64_t written_time(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime;
}

// Every file of the row there and newer than every input it was made from.
bool up_to_date(const catalogue_product& product) {
    uint64_t newest_input = 0;
    for (const std::string& input : catalogue_product_inputs(product)) {
        const uint64_t time = written_time(input);
        if (time == 0) return false;
        newest_input = time > newest_input ? time : newest_input;
    }
    for (const std::string& file : catalogue_product_files(product))
        if (written_time(product.out_folder + file) <= newest_input) return false;
    return true;
}

std::string folder_of(const std::string& path) { return path.substr(0, path.find_last_of("\\/") + 1); }

bool in_shard(const catalogue_request& request, size_t row) { return int32_t(row % size_t(request.shards)) == request.shard; }

// The row's product, or the reason it has none.
std::string product_of_row(const catalogue_request& request, const project& start, const catalogue_table& table,
                           size_t row, catalogue_product& product) {
    product = {&start, &table, row, folder_of(request.table), request.folder, request.profile, {}, 0};
    const catalogue_identifier id = catalogue_identify(table, row, request.profile);
    if (!id.complaint.empty()) return id.complaint;
    product.identifier = id.text;
    std::string complaint;
    product.outputs = catalogue_outputs(catalogue_field(table, row, "outputs"), complaint);
    return complaint;
}

struct report_writer {
    FILE* file;
    char separator;
    void add(const catalogue_line& line) {
        if (!file) return;
        std::fputs(catalogue_report_line(line, separator).c_str(), file);
        std::fflush(file);
    }
};

// Seconds the rows still to do take at the pace of those done so far.
int32_t seconds_left(std::time_t began, int32_t done, int32_t remaining) {
    if (done == 0) return -1;
    return int32_t(double(std::time(nullptr) - began) / done * remaining + 0.5);
}

}  // namespace

std::string catalogue_report_name(const catalogue_request& request) {
    if (request.shards == 1) return request.folder + report_file + ".csv";
    return request.folder + report_file + "-" + std::to_string(request.shard) + "-of-" + std::to_string(request.shards) + ".csv";
}

catalogue_summary catalogue_run(const catalogue_request& request, const catalogue_watch& watch) {
    catalogue_summary summary;
    const file_bytes bytes = whole_file(request.table.c_str());
    if (!bytes) {
        summary.complaint = "Die Tabelle kann nicht gelesen werden: " + request.table;
        return summary;
    }
    const catalogue_table table = catalogue_table_read(*bytes);
    if (!table.complaint.empty()) {
        summary.complaint = table.complaint;
        return summary;
    }
    CreateDirectoryA(request.folder.c_str(), nullptr);
    summary.report = catalogue_report_name(request);
    report_writer report{std::fopen(summary.report.c_str(), "wb"), table.separator};
    if (report.file) std::fputs(catalogue_report_header(table.separator).c_str(), report.file);
    int32_t count = 0, index = 0, done = 0;
    for (size_t row = 0; row < table.rows.size(); ++row) count += in_shard(request, row) ? 1 : 0;
    const std::time_t began = std::time(nullptr);
    const project start = project_of_window();
    for (size_t row = 0; row < table.rows.size(); ++row) {
        if (!in_shard(request, row)) continue;
        if (watch.goes_on && !watch.goes_on(watch.context)) {
            summary.stopped = true;
            break;
        }
        catalogue_product product;
        catalogue_line line;
        line.row = table.lines[row];
        line.reason = product_of_row(request, start, table, row, product);
        line.identifier = product.identifier.empty() ? catalogue_field(table, row, "sku") : product.identifier;
        if (watch.row_begins) watch.row_begins(index, count, line.identifier, seconds_left(began, done, count - index), watch.context);
        ++index;
        if (!line.reason.empty()) {
            line.status = catalogue_status::failed;
        } else if (up_to_date(product)) {
            line.status = catalogue_status::skipped;
            line.files = catalogue_product_files(product);
        } else {
            catalogue_product_write(product, line);
            ++done;
        }
        (line.status == catalogue_status::written ? summary.written
         : line.status == catalogue_status::skipped ? summary.skipped
                                                    : summary.failed)++;
        report.add(line);
    }
    if (report.file) std::fclose(report.file);
    return summary;
}
