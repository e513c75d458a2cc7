// Reads raw data resources out of the running program's image.
#include "app/resources/resource_ids.h"

#include "runtime/core/windows_host.h"

resource_block embedded_resource(int id) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_RCDATA);
    if (!found) return {nullptr, 0};
    HGLOBAL loaded = LoadResource(nullptr, found);
    // Resources stay mapped for the life of the module: nothing to free.
    const auto* address = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    if (!address) return {nullptr, 0};
    return {address, size_t(SizeofResource(nullptr, found))};
}
