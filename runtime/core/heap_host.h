// Host heap primitives behind the runtime's three heaps, internal to the core library:
// heap_win32.cpp implements them on Windows, heap_native.cpp on other hosts.
#pragma once

#include <cstddef>

struct runtime_heap;

// A serialised heap may be used from several threads; the other one only from one.
runtime_heap* host_heap_create(size_t initial_size, bool serialised);
void host_heap_destroy(runtime_heap* heap);

// Creates string_heap once; the string library's start calls it.
void string_heap_create();
