// Helpers are the program itself with a finer /shard and a mark in their environment, their
// output on this process's console; the shares' reports are joined line by line by row.
#include "app/catalogue/catalogue_helpers.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/project/whole_file.h"
#include "runtime/core/windows_host.h"

namespace {

constexpr const char* helper_mark = "TESSARYN_CATALOGUE_HELPER";
// Each helper holds a whole export's memory; past a few the disk is the limit anyway.
constexpr DWORD most_processes = 4;
const char* const profile_names[] = {"amazon", "gs1", "plain"};

DWORD process_count() {
    if (catalogue_is_helper()) return 1;
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    return std::min(std::max<DWORD>(system.dwNumberOfProcessors, 1), most_processes);
}

// A backslash before the closing quote would escape it: a folder goes without its last one.
std::string quoted(std::string text) {
    if (!text.empty() && text.back() == '\\') text.pop_back();
    return "\"" + text + "\"";
}

void* start_helper(const catalogue_request& share) {
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string line = quoted(program) + " /catalogue " + quoted(share.table) + " /out " + quoted(share.folder) +
                       " /profile " + profile_names[int(share.profile)] + " /shard " + std::to_string(share.shard) + "/" +
                       std::to_string(share.shards);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info = {};
    SetEnvironmentVariableA(helper_mark, "1");
    const BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info);
    SetEnvironmentVariableA(helper_mark, nullptr);
    if (!started) return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

// The lines of a report after its header.
std::vector<std::string> report_lines(const std::string& path) {
    std::vector<std::string> lines;
    const file_bytes bytes = whole_file(path.c_str());
    if (!bytes) return lines;
    size_t at = bytes->find('\n');
    while (at != std::string::npos && at + 1 < bytes->size()) {
        const size_t end = bytes->find('\n', at + 1);
        lines.push_back(bytes->substr(at + 1, end == std::string::npos ? std::string::npos : end - at));
        at = end;
    }
    return lines;
}

void count_status(const std::string& line, char separator, catalogue_summary& summary) {
    const std::string s(1, separator);
    if (line.find(s + "failed" + s) != std::string::npos) ++summary.failed;
    else if (line.find(s + "skipped" + s) != std::string::npos) ++summary.skipped;
    else ++summary.written;
}

}  // namespace

bool catalogue_is_helper() { return GetEnvironmentVariableA(helper_mark, nullptr, 0) != 0; }

catalogue_helpers catalogue_helpers_start(const catalogue_request& request) {
    catalogue_helpers helpers{request, {}, {}};
    const int32_t count = int32_t(process_count());
    if (count == 1) return helpers;
    // Rows of shard K of N are those of shards K, K + N, ... of count x N.
    helpers.own.shards = request.shards * count;
    helpers.reports.push_back(catalogue_report_name(helpers.own));
    for (int32_t helper = 1; helper < count; ++helper) {
        catalogue_request share = helpers.own;
        share.shard = request.shard + helper * request.shards;
        if (void* process = start_helper(share)) {
            helpers.processes.push_back(process);
            helpers.reports.push_back(catalogue_report_name(share));
        }
    }
    return helpers;
}

void catalogue_helpers_join(const catalogue_request& request, catalogue_helpers& helpers, catalogue_summary& summary) {
    for (void* process : helpers.processes) {
        WaitForSingleObject(process, INFINITE);
        CloseHandle(process);
    }
    if (helpers.reports.empty()) return;
    const file_bytes own = whole_file(helpers.reports.front().c_str());
    const std::string header = own ? own->substr(0, own->find('\n') + 1) : std::string();
    const char separator = header.find(';') != std::string::npos ? ';' : ',';
    std::vector<std::pair<long, std::string>> rows;
    for (const std::string& report : helpers.reports) {
        for (const std::string& line : report_lines(report)) rows.emplace_back(std::strtol(line.c_str(), nullptr, 10), line);
        DeleteFileA(report.c_str());
    }
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    summary.report = catalogue_report_name(request);
    summary.written = summary.failed = summary.skipped = 0;
    FILE* joined = std::fopen(summary.report.c_str(), "wb");
    if (joined) std::fputs(header.c_str(), joined);
    for (const auto& row : rows) {
        if (joined) std::fputs(row.second.c_str(), joined);
        count_status(row.second, separator, summary);
    }
    if (joined) std::fclose(joined);
}
