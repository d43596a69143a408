// TSet: a set of up to 64 enumeration values, one bit per value, as the run time's set types.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace korvex::classes {

// Element e is bit static_cast<int>(e); values must lie in 0..63.
// Contains/Include/Exclude for single elements; + union, - difference, * intersection.
template <class E>
class TSet {
public:
    using Element = E;

    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items) {
        for (E e : items)
            FBits |= Bit(e);
    }
    static constexpr TSet FromBits(std::uint64_t bits) {
        TSet s;
        s.FBits = bits;
        return s;
    }
    constexpr std::uint64_t Bits() const { return FBits; }

    constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TSet& Include(E e) {
        FBits |= Bit(e);
        return *this;
    }
    constexpr TSet& Exclude(E e) {
        FBits &= ~Bit(e);
        return *this;
    }

    constexpr TSet operator+(TSet other) const { return FromBits(FBits | other.FBits); }
    constexpr TSet operator-(TSet other) const { return FromBits(FBits & ~other.FBits); }
    constexpr TSet operator*(TSet other) const { return FromBits(FBits & other.FBits); }
    constexpr TSet& operator+=(TSet other) {
        FBits |= other.FBits;
        return *this;
    }
    constexpr TSet& operator-=(TSet other) {
        FBits &= ~other.FBits;
        return *this;
    }
    constexpr TSet& operator*=(TSet other) {
        FBits &= other.FBits;
        return *this;
    }
    friend constexpr bool operator==(TSet a, TSet b) = default;

private:
    static constexpr std::uint64_t Bit(E e) { return std::uint64_t(1) << static_cast<unsigned>(e); }

    std::uint64_t FBits = 0;
};

}
