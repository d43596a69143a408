// Published properties: how values of a property's type become the ordinals and doubles the registry passes,
// and back, with the ordinals each type holds.
#pragma once

#include "platform/classes/PropInfo.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <type_traits>
#include <utility>

namespace korvex::classes::detail {

template <class V>
std::int64_t ToOrd(const V& v) {
    if constexpr (std::is_same_v<V, bool>)
        return v ? 1 : 0;
    else if constexpr (std::is_integral_v<V>)
        return static_cast<std::int64_t>(v);
    else if constexpr (std::is_enum_v<V>)
        return static_cast<std::int64_t>(v);
    else if constexpr (requires { v.Bits(); })
        return static_cast<std::int64_t>(v.Bits());
    else
        return static_cast<std::int64_t>(v.to_ullong());
}
template <class V>
V FromOrd(std::int64_t ord) {
    if constexpr (std::is_same_v<V, bool>)
        return ord != 0;
    else if constexpr (std::is_integral_v<V> || std::is_enum_v<V>)
        return static_cast<V>(ord);
    else if constexpr (requires { V::FromBits(0); })
        return V::FromBits(static_cast<std::uint64_t>(ord));
    else
        return V(static_cast<unsigned long long>(ord));
}
// The ordinals a value of type V holds, narrowed by the kind: an enumeration's names, a set's element bits,
// a colour's 32-bit pattern (negative system colours and unsigned values alike).
template <class V>
void OrdRange(TPropKind kind, TIdentNames names, std::int64_t& min, std::int64_t& max) {
    using Limits = std::numeric_limits<std::int64_t>;
    if (kind == TPropKind::Color) {
        min = std::numeric_limits<std::int32_t>::min();
        max = std::numeric_limits<std::uint32_t>::max();
        return;
    }
    if (kind == TPropKind::Set) {
        min = 0;
        max = names.size() >= 63 ? Limits::max() : (std::int64_t(1) << names.size()) - 1;
        return;
    }
    if constexpr (std::is_same_v<V, bool>) {
        min = 0;
        max = 1;
    } else if constexpr (std::is_integral_v<V> || std::is_enum_v<V>) {
        using U = typename std::conditional_t<std::is_enum_v<V>, std::underlying_type<V>, std::type_identity<V>>::type;
        min = std::is_signed_v<U> ? std::int64_t(std::numeric_limits<U>::min()) : 0;
        max = std::uint64_t(std::numeric_limits<U>::max()) > std::uint64_t(Limits::max())
            ? Limits::max()
            : std::int64_t(std::numeric_limits<U>::max());
    }
    if (kind == TPropKind::Enum && !names.empty()) {
        min = std::max<std::int64_t>(min, 0);
        max = std::min<std::int64_t>(max, std::int64_t(names.size()) - 1);
    }
}
[[noreturn]] void RaiseFloatRange(double value);
// A double as the property's type holds it; values beyond that type raise EConvertError.
template <class V>
V FromFloat(double value) {
    if constexpr (std::is_same_v<V, double>) {
        return value;
    } else if constexpr (std::is_floating_point_v<V>) {
        if (std::isfinite(value) && std::fabs(value) > double(std::numeric_limits<V>::max())) RaiseFloatRange(value);
        return static_cast<V>(value);
    } else {
        if (!(value >= double(std::numeric_limits<V>::lowest()) && value < double(std::numeric_limits<V>::max()) + 1.0))
            RaiseFloatRange(value);
        return static_cast<V>(value);
    }
}
template <class T, class S, class V>
void CallSetter(T& obj, const S& set, V&& value) {
    if constexpr (std::is_member_object_pointer_v<S>)
        obj.*set = std::forward<V>(value);
    else
        std::invoke(set, obj, std::forward<V>(value));
}

[[noreturn]] void RaiseWrongClass(const TPersistent* value, TClass expected);

}
