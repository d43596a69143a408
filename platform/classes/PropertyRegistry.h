// Published properties: the per-class registry builder (name, kind, getter, setter, default, stored) and MakeClass.
#pragma once

#include "platform/classes/PropInfo.h"
#include "platform/classes/PropertyConversions.h"

#include <algorithm>
#include <bitset>
#include <cstdint>
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

}
