// Pages of their own from the system, and the address space left.
#include "platform/os/Pages.h"

#include <new>
#include <sys/mman.h>
#include <utility>

namespace korvex::os {

Pages::Pages(std::size_t bytes) {
    if (bytes == 0) return;
    void* pages = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages == MAP_FAILED) throw std::bad_alloc();
    FData = static_cast<char*>(pages);
    FSize = bytes;
}

Pages::Pages(Pages&& other) noexcept
    : FData(std::exchange(other.FData, nullptr))
    , FSize(std::exchange(other.FSize, 0)) { }

Pages& Pages::operator=(Pages&& other) noexcept {
    std::swap(FData, other.FData);
    std::swap(FSize, other.FSize);
    return *this;
}

Pages::~Pages() {
    if (FData) ::munmap(FData, FSize);
}

bool AddressRoomFor(std::size_t bytes) {
    // Reserved without access and without a commitment: it costs the system nothing, and counts against an
    // address limit as any allocation would.
    void* room = ::mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (room == MAP_FAILED) return false;
    ::munmap(room, bytes);
    return true;
}

}
