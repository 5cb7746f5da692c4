#pragma once
// The screen pointer shape a drawing asks for; a widget implements the hook, the command-line
// tool passes none.

namespace plotwell {

enum CursorShape { kDefaultCursor, kHourGlassCursor };

class PointerShape
{
public:
    virtual ~PointerShape() = default;
    virtual void SetCursor(CursorShape cursor) = 0;
};

// Shows the hourglass for the life of a scope and the default pointer afterwards, also when
// the scope is left by an exception.
class BusyPointer
{
public:
    explicit BusyPointer(PointerShape* hook) : hook_(hook)
    {
        if (hook_)
            hook_->SetCursor(kHourGlassCursor);
    }
    ~BusyPointer()
    {
        if (hook_)
            hook_->SetCursor(kDefaultCursor);
    }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    PointerShape* hook_;
};

} // namespace plotwell
