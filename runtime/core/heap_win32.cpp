// Runtime heaps on the host's private heaps. HEAP_ZERO_MEMORY gives the zero-filled blocks
// and the zero-filled growth that tables and strings rely on.
#include "runtime/core/windows_host.h"

#include "runtime/core/core.h"
#include "runtime/core/heap_host.h"

namespace {

HANDLE host(runtime_heap* heap) { return reinterpret_cast<HANDLE>(heap); }

}  // namespace

runtime_heap* host_heap_create(size_t initial_size, bool serialised) {
    // a maximum size of 0 lets the heap grow as needed
    HANDLE heap = HeapCreate(serialised ? 0 : HEAP_NO_SERIALIZE, initial_size, 0);
    return reinterpret_cast<runtime_heap*>(heap);
}

void host_heap_destroy(runtime_heap* heap) {
    if (heap) HeapDestroy(host(heap));
}

void* heap_alloc(runtime_heap* heap, size_t size) {
    return HeapAlloc(host(heap), HEAP_ZERO_MEMORY, size);
}

void* heap_resize(runtime_heap* heap, void* block, size_t size) {
    if (!block) return heap_alloc(heap, size);
    return HeapReAlloc(host(heap), HEAP_ZERO_MEMORY, block, size);
}

void heap_free(runtime_heap* heap, void* block) {
    if (block) HeapFree(host(heap), 0, block);
}
