// TMethodTable: a form's event handlers and component fields by name, for binding a form text to the form.
#pragma once

#include "platform/classes/Forward.h"

#include <any>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::classes {

// A form fills one and hands it to ReadRootComponent:
//
//     TMethodTable methods;
//     methods.Add("Button1Click", this, &TForm1::Button1Click)   // void TForm1::Button1Click(TObject*)
//            .Field("Button1", Button1);                           // TButton* Button1 set when it is made
//
// An event "OnClick = Button1Click" takes the method when the method's type std::function<R(A...)> is the
// event's type exactly. Names are compared without case.
class TMethodTable {
public:
    template <class C, class R, class... A>
    TMethodTable& Add(std::string name, C* instance, R (C::*method)(A...)) {
        return Add(std::move(name), std::function<R(A...)>([instance, method](A... args) -> R {
            return (instance->*method)(std::forward<A>(args)...);
        }));
    }
    template <class R, class... A>
    TMethodTable& Add(std::string name, std::function<R(A...)> function) {
        FMethods.push_back({std::move(name), std::any(std::move(function))});
        return *this;
    }
    template <class T>
    TMethodTable& Field(std::string name, T*& field) {
        FFields.push_back({std::move(name), [&field](TComponent* component) {
                               T* t = dynamic_cast<T*>(component);
                               if (t == nullptr && component != nullptr) return false;
                               field = t;
                               return true;
                           }});
        return *this;
    }

    const std::any* FindMethod(std::string_view name) const;   // nullptr when none
    std::string MethodName(const std::any* method) const;   // "" when not from this table
    // Sets the field named like the component; false when that field is of another class.
    bool BindField(std::string_view name, TComponent* component) const;

private:
    struct TMethod {
        std::string Name;
        std::any Function;
    };
    struct TField {
        std::string Name;
        std::function<bool(TComponent*)> Bind;
    };
    std::vector<TMethod> FMethods;
    std::vector<TField> FFields;
};

}
