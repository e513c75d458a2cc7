// A set's picture written on a thread of its own while the next one renders: the rows of the
// whole picture are handed to the image writer there, and once the file is whole the pixels
// are shown to whoever watches the set (the spin's animation).
#pragma once

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "app/export/stills/box_export.h"

class written_behind {
public:
    written_behind(const export_type& type, export_frame_seen seen, void* context)
        : type_(type), seen_(seen), context_(context) {}
    ~written_behind() { finish(); }
    written_behind(const written_behind&) = delete;
    written_behind& operator=(const written_behind&) = delete;

    // Starts writing `pixels` (type.size square, B, G, R, A) as file `file` at `path`; the
    // buffer handed back is the one the file before was written from. Call finish() first.
    // False, with `pixels` kept and nothing written, when no thread could be started.
    bool start(const std::string& path, int32_t file, std::vector<uint32_t>& pixels);
    // Waits for the file being written; none when there was none.
    export_failure finish();
    bool writing() const { return worker_.joinable(); }

private:
    void write(const std::string& path, int32_t file);

    const export_type& type_;
    export_frame_seen seen_;
    void* context_;
    std::vector<uint32_t> pixels_;
    export_failure failure_ = export_failure::none;
    std::thread worker_;
};
