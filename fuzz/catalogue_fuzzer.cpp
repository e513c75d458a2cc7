// libFuzzer target for the catalogue's table reader and what reads its fields: identifiers,
// outputs and the report's quoting of them.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/catalogue/catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const catalogue_table table = catalogue_table_read(std::string(reinterpret_cast<const char*>(data), size));
    for (size_t row = 0; row < table.rows.size(); ++row) {
        catalogue_line line;
        line.identifier = catalogue_identify(table, row, catalogue_profile::gs1).text +
                          catalogue_identify(table, row, catalogue_profile::amazon).complaint;
        std::string complaint;
        catalogue_outputs(catalogue_field(table, row, "outputs"), complaint);
        line.reason = complaint;
        catalogue_report_line(line, table.separator);
    }
    return 0;
}
