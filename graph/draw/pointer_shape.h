#pragma once
// The screen pointer shape a drawing asks for; a widget implements the hook, the command-line
// tool passes none.

namespace plotwell {

enum TCursor { crDefault, crHourGlass };

class TPointerShape
{
public:
    virtual ~TPointerShape() = default;
    virtual void SetCursor(TCursor cursor) = 0;
};

// Shows the hourglass for the life of a scope and the default pointer afterwards, also when
// the scope is left by an exception.
class TBusyPointer
{
public:
    explicit TBusyPointer(TPointerShape* hook) : hook_(hook)
    {
        if (hook_)
            hook_->SetCursor(crHourGlass);
    }
    ~TBusyPointer()
    {
        if (hook_)
            hook_->SetCursor(crDefault);
    }
    TBusyPointer(const TBusyPointer&) = delete;
    TBusyPointer& operator=(const TBusyPointer&) = delete;

private:
    TPointerShape* hook_;
};

} // namespace plotwell
