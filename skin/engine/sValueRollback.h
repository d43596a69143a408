// ValueRollback: sets a value for the length of a scope and puts the old one back.
#pragma once

namespace korvex::skin {

// The old value comes back also when an exception passes (not false or 0: whatever it was).
template <class T>
class ValueRollback {
public:
    ValueRollback(T& value, T scoped) : FValue(value), FOld(value) { FValue = scoped; }
    ~ValueRollback() { FValue = FOld; }
    ValueRollback(const ValueRollback&) = delete;
    ValueRollback& operator=(const ValueRollback&) = delete;

private:
    T& FValue;
    T FOld;
};

}
