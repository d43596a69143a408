// ValueRollback: the skin code's name for the platform's value rollback guard.
#pragma once

#include "platform/base/ScopeGuard.h"

namespace korvex::skin {

template <class T>
using ValueRollback = base::ValueRollback<T>;

}
