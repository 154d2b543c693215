// The constructor as Visual Studio callers call it: they take `this` back from the
// constructor, which GCC's does not return. Exported under the MSVC constructor name.
#include <new>

#include "ZelInterstitial.h"

#if defined(__i386__)
#define ZI_MEMBER_CALL __attribute__((thiscall)) // the object in ecx, as for any member
#else
#define ZI_MEMBER_CALL
#endif

extern "C" ZI_MEMBER_CALL CInterstitial *ZiConstructForMsvc(CInterstitial *self) {
    return new (self) CInterstitial;
}
