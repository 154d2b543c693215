// Interface shared by the Wine smoke test DLL and the program that loads it.
#pragma once

#ifdef SMOKE_LIB_BUILD
#define SMOKE_LIB_API __declspec(dllexport)
#else
#define SMOKE_LIB_API __declspec(dllimport)
#endif

// Reached through its vtable from an object made by the exported factory, so
// the caller needs no import library: the thiscall convention in use.
struct Counter {
    virtual int bump(int by) = 0;
    virtual int value() const = 0;
    virtual void release() = 0;

protected:
    ~Counter() = default;
};

// Factory looked up with GetProcAddress("make_counter").
typedef Counter*(__cdecl* MakeCounterFn)(int start);

// Exported class: its member functions are imported by their mangled names
// through the import library, so a direct thiscall across the DLL boundary.
class SMOKE_LIB_API Accumulator {
public:
    explicit Accumulator(int start);
    void add(int amount);
    int total() const;

private:
    int total_;
};
