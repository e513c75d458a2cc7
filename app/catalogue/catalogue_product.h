// One product of a catalogue: its box put into the hidden window from the row, then its files
// exported under temporary names and moved into their places only once all were written.
#pragma once

#include <string>
#include <vector>

#include "app/catalogue/catalogue.h"
#include "app/project/project_file.h"

struct catalogue_product {
    const project* start;  // what the window showed when the run began: a row's look starts there
    const catalogue_table* table;
    size_t row;
    std::string table_folder;  // relative paths in the table are taken from here, with '\'
    std::string out_folder;    // ends with '\'
    catalogue_profile profile;
    std::string identifier;
    unsigned outputs;
};

// The input files the row names, as full paths.
std::vector<std::string> catalogue_product_inputs(const catalogue_product& product);
// The files the row writes, relative to the output folder.
std::vector<std::string> catalogue_product_files(const catalogue_product& product);
// Fills `line` with the files written and the main picture's measures, or the reason of the
// failure.
void catalogue_product_write(const catalogue_product& product, catalogue_line& line);
