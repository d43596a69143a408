// Object-bound window procedures: a fixed pool of plain functions, each calling the function object of its slot.
#include "platform/user/DefWindowProc.h"

#include <array>
#include <mutex>
#include <utility>

namespace korvex::user {

namespace {

struct Slots {
    std::array<ObjectWndProc, MaxObjectInstances> Procs;
    std::array<bool, MaxObjectInstances> Used {};
    std::mutex Mutex;
};

Slots& Pool() {
    static Slots pool;
    return pool;
}

template <std::size_t I>
LRESULT Trampoline(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ObjectWndProc proc = Pool().Procs[I];   // a copy: the procedure may free its own instance
    return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

template <std::size_t... I>
constexpr std::array<WNDPROC, sizeof...(I)> MakeTable(std::index_sequence<I...>) {
    return {&Trampoline<I>...};
}

const std::array<WNDPROC, MaxObjectInstances>& Table() {
    static constexpr std::array<WNDPROC, MaxObjectInstances> table
        = MakeTable(std::make_index_sequence<MaxObjectInstances>());
    return table;
}

}   // namespace

WNDPROC MakeObjectInstance(ObjectWndProc proc) {
    if (!proc) return nullptr;
    Slots& pool = Pool();
    std::lock_guard lock(pool.Mutex);
    for (std::size_t i = 0; i < pool.Used.size(); ++i) {
        if (pool.Used[i]) continue;
        pool.Used[i] = true;
        pool.Procs[i] = std::move(proc);
        return Table()[i];
    }
    return nullptr;
}

void FreeObjectInstance(WNDPROC instance) {
    if (!instance) return;
    Slots& pool = Pool();
    std::lock_guard lock(pool.Mutex);
    const auto& table = Table();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i] != instance) continue;
        pool.Used[i] = false;
        pool.Procs[i] = nullptr;
        return;
    }
}

}
