// Tiny 32-bit DLL for the Wine smoke test: a cdecl and a stdcall export found
// with GetProcAddress, a factory for a vtable object, and an exported class.
#define SMOKE_LIB_BUILD
#include "smoke_lib.h"

extern "C" SMOKE_LIB_API int __cdecl add(int a, int b) { return a + b; }

// Callee pops its arguments; linked with --kill-at so the export is plain
// "scale" rather than "scale@8".
extern "C" SMOKE_LIB_API int __stdcall scale(int value, int factor) { return value * factor; }

namespace {

class CounterImpl final : public Counter {
public:
    explicit CounterImpl(int start) : value_(start) {}
    int bump(int by) override { return value_ += by; }
    int value() const override { return value_; }
    void release() override { delete this; }

private:
    int value_;
};

}  // namespace

extern "C" SMOKE_LIB_API Counter* __cdecl make_counter(int start) { return new CounterImpl(start); }

Accumulator::Accumulator(int start) : total_(start) {}
void Accumulator::add(int amount) { total_ += amount; }
int Accumulator::total() const { return total_; }
