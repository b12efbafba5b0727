#pragma once

namespace horlan {

// Seam: ends the program at once. No window event runs afterwards and nothing is saved.
// The real one never returns; callers still return right after calling it, so that a
// recording stand-in leaves them where the program would have stopped.
class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    virtual void End() = 0;
};

// Ends the process immediately with exit code 0.
class ImmediateEnd : public ProgramEnd {
public:
    [[noreturn]] void End() override;
};

} // namespace horlan
