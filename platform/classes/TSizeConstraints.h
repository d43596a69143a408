// TSizeConstraints: the smallest and largest width and height a control may take (0: no limit).
#pragma once

#include "platform/classes/TPersistent.h"

namespace korvex::classes {

// Each limit is a width or height in pixels, 0 meaning none. A maximum below the minimum of the same
// dimension is raised to it (and a minimum above the maximum lowers it), so the two never cross. A change
// calls OnChange; the control then applies the limits to its current size.
class TSizeConstraints : public TPersistent {
public:
    TSizeConstraints() = default;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    void Assign(const TPersistent* source) override;

    int MaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(int value);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int value);
    int MinHeight() const { return FMinHeight; }
    void SetMinHeight(int value);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int value);

    // The size within the limits.
    int ConstrainWidth(int width) const;
    int ConstrainHeight(int height) const;

    TNotifyEvent OnChange;

private:
    void Changed();

    int FMaxHeight = 0;
    int FMaxWidth = 0;
    int FMinHeight = 0;
    int FMinWidth = 0;
};

}
