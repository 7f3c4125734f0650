#include "alloc_counter.h"

#include <cstddef>
#include <new>

// glibc's own allocator entry points, under the names it exports for wrappers like this one.
extern "C" void* __libc_malloc(size_t size);
extern "C" void* __libc_calloc(size_t count, size_t size);
extern "C" void* __libc_realloc(void* pointer, size_t size);
extern "C" void __libc_free(void* pointer);

namespace {
uint64_t allocations = 0;
}

namespace bench {

uint64_t AllocationCount() {
    return allocations;
}

}  // namespace bench

extern "C" void* malloc(size_t size) {
    ++allocations;
    return __libc_malloc(size);
}

extern "C" void* calloc(size_t count, size_t size) {
    ++allocations;
    return __libc_calloc(count, size);
}

extern "C" void* realloc(void* pointer, size_t size) {
    ++allocations;
    return __libc_realloc(pointer, size);
}

extern "C" void free(void* pointer) {
    __libc_free(pointer);
}

void* operator new(size_t size) {
    void* pointer = malloc(size == 0 ? 1 : size);
    if (pointer == nullptr) {
        throw std::bad_alloc();
    }
    return pointer;
}

void* operator new[](size_t size) {
    return operator new(size);
}

void operator delete(void* pointer) noexcept {
    free(pointer);
}

void operator delete[](void* pointer) noexcept {
    free(pointer);
}

void operator delete(void* pointer, size_t) noexcept {
    free(pointer);
}

void operator delete[](void* pointer, size_t) noexcept {
    free(pointer);
}
