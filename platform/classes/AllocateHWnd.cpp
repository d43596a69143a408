// Hidden message-only windows whose messages go to a function.
#include "platform/classes/AllocateHWnd.h"

#include "platform/user/DefWindowProc.h"
#include "platform/user/Window.h"

#include <map>

namespace korvex::classes {

namespace {

constexpr const char* UtilWindowClass = "TPUtilWindow";

std::map<user::HWND, user::WNDPROC>& Instances() {
    static std::map<user::HWND, user::WNDPROC> instances;
    return instances;
}

bool RegisterUtilClass() {
    user::WNDCLASSEX existing;
    if (user::GetClassInfoEx(UtilWindowClass, &existing)) return true;
    user::WNDCLASSEX wc;
    wc.lpfnWndProc = user::DefWindowProc;
    wc.lpszClassName = UtilWindowClass;
    return user::RegisterClassEx(&wc) != 0;
}

}

user::HWND AllocateHWnd(std::function<void(TMessage&)> method) {
    if (!RegisterUtilClass()) return nullptr;
    user::HWND hwnd
        = user::CreateWindowEx(0, UtilWindowClass, "", 0, 0, 0, 0, 0, user::HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (hwnd == nullptr) return nullptr;
    user::WNDPROC instance = user::MakeObjectInstance(
        [method = std::move(method)](user::HWND, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
            TMessage message {msg, wParam, lParam, 0};
            method(message);
            return message.Result;
        });
    if (instance == nullptr) {
        user::DestroyWindow(hwnd);
        return nullptr;
    }
    // Stale entries of windows that went with their thread's queue are replaced.
    auto& instances = Instances();
    if (auto it = instances.find(hwnd); it != instances.end()) user::FreeObjectInstance(it->second);
    instances[hwnd] = instance;
    user::SetWindowLongPtr(hwnd, user::GWL_WNDPROC, user::LongFromProc(instance));
    return hwnd;
}

void DeallocateHWnd(user::HWND hwnd) {
    if (hwnd == nullptr) return;
    auto& instances = Instances();
    auto it = instances.find(hwnd);
    user::WNDPROC instance = it != instances.end() ? it->second : nullptr;
    if (it != instances.end()) instances.erase(it);
    if (user::IsWindow(hwnd)) user::DestroyWindow(hwnd);
    user::FreeObjectInstance(instance);
}

}
