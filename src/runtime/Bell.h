#pragma once

namespace horlan {

// Seam: the system beep.
class Bell {
public:
    virtual ~Bell() = default;
    virtual void Beep() = 0;
};

// The beep of the window system.
class QtBell : public Bell {
public:
    void Beep() override;
};

} // namespace horlan
