// Memory in pages of its own straight from the system, which go back to it as soon as they are freed whatever
// the allocator keeps for itself; and whether address space is left for more.
#pragma once

#include <cstddef>

namespace korvex::os {

class Pages {
public:
    Pages() = default;
    explicit Pages(std::size_t bytes);   // throws std::bad_alloc when the system gives none
    Pages(Pages&& other) noexcept;
    Pages& operator=(Pages&& other) noexcept;
    Pages(const Pages&) = delete;
    Pages& operator=(const Pages&) = delete;
    ~Pages();

    char* Data() const { return FData; }
    std::size_t Size() const { return FSize; }

private:
    char* FData = nullptr;
    std::size_t FSize = 0;
};

// Whether this many more bytes of address space could be had now. A process under an address limit runs out of
// address space long before the system runs out of memory, and then every allocation fails, painting's too.
bool AddressRoomFor(std::size_t bytes);

}
