// The runtime's three heaps and the library state blocks taken from the main heap.
// The heaps themselves come from the host primitives of heap_host.h.
#include "runtime/core/core.h"
#include "runtime/core/heap_host.h"

namespace {

constexpr size_t main_heap_initial_size = 4096;
constexpr size_t list_heap_initial_size = 1024;
constexpr size_t string_heap_initial_size = 4096;

runtime_heap* main_handle = nullptr;
runtime_heap* list_handle = nullptr;
runtime_heap* string_handle = nullptr;

}  // namespace

void main_heap_create() {
    if (!main_handle) main_handle = host_heap_create(main_heap_initial_size, true);
}

void main_heap_destroy() {
    host_heap_destroy(main_handle);
    main_handle = nullptr;
}

runtime_heap* main_heap() { return main_handle; }
runtime_heap* list_heap() { return list_handle; }
runtime_heap* string_heap() { return string_handle; }

void object_heap_init() {
    if (!list_handle) list_handle = host_heap_create(list_heap_initial_size, true);
}

// Strings are main-thread only, so their heap skips the host's locking.
void string_heap_create() {
    if (!string_handle) string_handle = host_heap_create(string_heap_initial_size, false);
}

void* state_block_alloc(size_t size, void (*init)(void* block)) {
    void* block = heap_alloc(main_handle, size);
    if (block && init) init(block);
    return block;
}
