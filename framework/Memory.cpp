// The exe's own operator new and delete on the process heap. The standard library's
// throwing versions would pull the exception machinery into an exe that has no use
// for it. Out of memory ends the process silently: the program reports nothing, and
// an installer waiting for it goes on.
#include <windows.h>

#include <cstddef>
#include <new>

namespace {
void* Allocate(std::size_t size) {
    void* p = HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
    if (!p)
        ExitProcess(0);
    return p;
}
void Release(void* p) noexcept {
    if (p)
        HeapFree(GetProcessHeap(), 0, p);
}
} // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Release(p);
}
