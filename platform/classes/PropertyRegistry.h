// Published properties: the per-class registry builder (name, kind, getter, setter, default, stored) and MakeClass.
#pragma once

#include "platform/classes/PropInfo.h"

#include <algorithm>
#include <bitset>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

namespace korvex::classes {

// Chaining on a property just published: p.Int(...).Stored(&TFoo::IsWidthStored).
template <class T>
class TPropRef {
public:
    explicit TPropRef(TPropInfo& info)
        : FInfo(info) { }
    TPropRef& Stored(bool value) {
        FInfo.StoredValue = value;
        return *this;
    }
    template <class C>
    TPropRef& Stored(bool (C::*predicate)() const) {
        FInfo.StoredProc = [predicate](const TPersistent& obj) { return (static_cast<const T&>(obj).*predicate)(); };
        return *this;
    }
    TPropRef& Range(std::int64_t min, std::int64_t max) {   // narrows the ordinals the property takes
        FInfo.MinOrd = std::max(FInfo.MinOrd, min);
        FInfo.MaxOrd = std::min(FInfo.MaxOrd, max);
        return *this;
    }
    TPropRef& NoDefault() {   // always written
        FInfo.OrdDefault.reset();
        FInfo.FloatDefault.reset();
        return *this;
    }
    TPropInfo& Info() { return FInfo; }

private:
    TPropInfo& FInfo;
};

namespace detail {
template <class V>
std::int64_t ToOrd(const V& v);
template <class V>
V FromOrd(std::int64_t ord);
template <class V>
void OrdRange(TPropKind kind, TIdentNames names, std::int64_t& min, std::int64_t& max);
template <class V>
V FromFloat(double value);
template <class T, class S, class V>
void CallSetter(T& obj, const S& set, V&& value);
[[noreturn]] void RaiseWrongClass(const TPersistent* value, TClass expected);
}

// Publishes the properties of class T, in declaration order. Getters are member functions (`V (T::*)() const`,
// returning V or const V&) or data members; setters are member functions taking V or const V&, data members,
// or nullptr for a read-only property. Members of a base class of T are fine.
//
//     p.Int("Width", &TFoo::Width, &TFoo::SetWidth, 100);            // default 100: not written when 100
//     p.Int("Tag", &TFoo::Tag, &TFoo::SetTag);                       // no default: always written
//     p.Bool("Visible", &TFoo::Visible, &TFoo::SetVisible, true);
//     p.Enum("Align", &TFoo::Align, &TFoo::SetAlign, AlignIdents, alNone);
//     p.Set("Anchors", &TFoo::Anchors, &TFoo::SetAnchors, AnchorIdents, TAnchors{akLeft, akTop});
//     p.String("Caption", &TFoo::Caption, &TFoo::SetCaption);        // default ""
//     p.Float("Ratio", &TFoo::Ratio, &TFoo::SetRatio, 1.5);          // default 0 when left out
//     p.Color("Color", &TFoo::Color, &TFoo::SetColor, clBtnFace);
//     p.Object("Font", &TFoo::Font, &TFoo::SetFont);                 // TFont* getter; setter optional
//     p.Component("PopupMenu", &TFoo::PopupMenu, &TFoo::SetPopupMenu);
//     p.Event("OnClick", &TFoo::OnClick);                            // a TNotifyEvent member
template <class T>
class TPropertyBuilder {
public:
    explicit TPropertyBuilder(std::vector<std::unique_ptr<TPropInfo>>& list)
        : FList(list) { }

    template <class G>
    using Value = std::remove_cvref_t<std::invoke_result_t<const G&, const T&>>;

    template <class G, class S>
    TPropRef<T> Int(std::string_view name, G get, S set, std::optional<std::int64_t> def = std::nullopt) {
        return Ordinal(name, TPropKind::Integer, get, set, def, {});
    }
    template <class G, class S>
    TPropRef<T> Bool(std::string_view name, G get, S set, std::optional<bool> def = std::nullopt) {
        std::optional<std::int64_t> d;
        if (def) d = *def ? 1 : 0;
        return Ordinal(name, TPropKind::Boolean, get, set, d, BooleanIdents);
    }
    template <class G, class S>
    TPropRef<T> Enum(
        std::string_view name, G get, S set, TIdentNames names, std::optional<Value<G>> def = std::nullopt) {
        std::optional<std::int64_t> d;
        if (def) d = detail::ToOrd(*def);
        return Ordinal(name, TPropKind::Enum, get, set, d, names);
    }
    template <class G, class S>
    TPropRef<T> Set(
        std::string_view name, G get, S set, TIdentNames names, std::optional<Value<G>> def = std::nullopt) {
        std::optional<std::int64_t> d;
        if (def) d = detail::ToOrd(*def);
        return Ordinal(name, TPropKind::Set, get, set, d, names);
    }
    template <class G, class S>
    TPropRef<T> Color(std::string_view name, G get, S set, std::optional<TColor> def = std::nullopt) {
        return Ordinal(name, TPropKind::Color, get, set, def, {});
    }
    template <class G, class S>
    TPropRef<T> String(std::string_view name, G get, S set, std::string def = {}) {
        TPropInfo& info = Add(name, TPropKind::String);
        info.StringDefault = std::move(def);
        info.GetString = [get](const TPersistent& obj) { return std::string(std::invoke(get, Self(obj))); };
        if constexpr (!std::is_null_pointer_v<S>)
            info.SetString = [set](TPersistent& obj, const std::string& v) { detail::CallSetter(Self(obj), set, v); };
        return TPropRef<T>(info);
    }
    template <class G, class S>
    TPropRef<T> Float(std::string_view name, G get, S set, std::optional<double> def = 0.0) {
        TPropInfo& info = Add(name, TPropKind::Float);
        info.FloatDefault = def;
        info.GetFloat = [get](const TPersistent& obj) { return static_cast<double>(std::invoke(get, Self(obj))); };
        if constexpr (!std::is_null_pointer_v<S>)
            info.SetFloat = [set](TPersistent& obj, double v) {
                detail::CallSetter(Self(obj), set, detail::FromFloat<Value<G>>(v));
            };
        return TPropRef<T>(info);
    }
    template <class G, class S = std::nullptr_t>
    TPropRef<T> Object(std::string_view name, G get, S set = nullptr) {
        return Reference(name, TPropKind::Object, get, set);
    }
    template <class G, class S>
    TPropRef<T> Component(std::string_view name, G get, S set) {
        return Reference(name, TPropKind::Component, get, set);
    }
    template <class C, class F>
    TPropRef<T> Event(std::string_view name, F C::*member) {
        static_assert(std::is_base_of_v<C, T>);
        TPropInfo& info = Add(name, TPropKind::Event);
        info.IsEventSet = [member](const TPersistent& obj) { return static_cast<bool>(Self(obj).*member); };
        info.SetEvent = [member](TPersistent& obj, const std::any& handler) {
            if (!handler.has_value()) {
                Self(obj).*member = nullptr;
                return true;
            }
            const F* fn = std::any_cast<F>(&handler);
            if (fn == nullptr) return false;
            Self(obj).*member = *fn;
            return true;
        };
        return TPropRef<T>(info);
    }

private:
    static const T& Self(const TPersistent& obj) { return static_cast<const T&>(obj); }
    static T& Self(TPersistent& obj) { return static_cast<T&>(obj); }

    TPropInfo& Add(std::string_view name, TPropKind kind) {
        FList.push_back(std::make_unique<TPropInfo>());
        TPropInfo& info = *FList.back();
        info.Name = std::string(name);
        info.Kind = kind;
        return info;
    }

    template <class G, class S>
    TPropRef<T> Ordinal(
        std::string_view name, TPropKind kind, G get, S set, std::optional<std::int64_t> def, TIdentNames names) {
        TPropInfo& info = Add(name, kind);
        info.Names = names;
        info.OrdDefault = def;
        detail::OrdRange<Value<G>>(kind, names, info.MinOrd, info.MaxOrd);
        info.GetOrd = [get](const TPersistent& obj) { return detail::ToOrd(std::invoke(get, Self(obj))); };
        if constexpr (!std::is_null_pointer_v<S>) {
            const TPropInfo* self = &info;   // held by the class's list, never moved
            info.SetOrd = [set, self](TPersistent& obj, std::int64_t v) {
                self->CheckOrd(v);
                detail::CallSetter(Self(obj), set, detail::FromOrd<Value<G>>(v));
            };
        }
        return TPropRef<T>(info);
    }

    template <class G, class S>
    TPropRef<T> Reference(std::string_view name, TPropKind kind, G get, S set) {
        using P = Value<G>;
        static_assert(std::is_pointer_v<P>, "an object property's getter returns a pointer");
        using X = std::remove_cv_t<std::remove_pointer_t<P>>;
        TPropInfo& info = Add(name, kind);
        info.ObjectClassOf = &X::StaticClass;
        info.GetObject
            = [get](const TPersistent& obj) -> TPersistent* { return const_cast<X*>(std::invoke(get, Self(obj))); };
        if constexpr (!std::is_null_pointer_v<S>)
            info.SetObject = [set](TPersistent& obj, TPersistent* v) {
                X* x = dynamic_cast<X*>(v);
                if (v != nullptr && x == nullptr) detail::RaiseWrongClass(v, X::StaticClass());
                detail::CallSetter(Self(obj), set, x);
            };
        return TPropRef<T>(info);
    }

    std::vector<std::unique_ptr<TPropInfo>>& FList;
};

// The descriptor of class T with parent TParent (void for TObject), publishing through `publish`.
template <class T, class TParent, class F>
TClassInfo MakeClass(std::string_view name, F publish) {
    std::vector<std::unique_ptr<TPropInfo>> own;
    TPropertyBuilder<T> builder(own);
    publish(builder);
    TClass parent = nullptr;
    if constexpr (!std::is_void_v<TParent>) {
        static_assert(std::is_base_of_v<TParent, T>);
        parent = TParent::StaticClass();
    }
    TClassInfo::TNewComponent newComponent = nullptr;
    TClassInfo::TNewItem newItem = nullptr;
    if constexpr (!std::is_abstract_v<T> && std::is_constructible_v<T, TComponent*> && std::is_base_of_v<TComponent, T>)
        newComponent = [](TComponent* owner) -> TComponent* { return Create<T>(owner); };
    if constexpr (!std::is_abstract_v<
                      T> && std::is_constructible_v<T, TCollection*> && std::is_base_of_v<TCollectionItem, T>)
        newItem = [](TCollection* collection) -> TCollectionItem* { return new T(collection); };
    return TClassInfo(name, parent, newComponent, newItem, std::move(own));
}
template <class T, class TParent>
TClassInfo MakeClass(std::string_view name) {
    return MakeClass<T, TParent>(name, [](TPropertyBuilder<T>&) {});
}

// ---------------------------------------------------------------------------------------------------------
namespace detail {
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
}

}
