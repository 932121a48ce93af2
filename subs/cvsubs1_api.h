// What cvSubs1 shows to its users: the library is built with hidden
// symbols, and only what carries CVSUBS1_API can be used from outside.
#pragma once

#if defined(CVSUBS1_BUILDING)
#define CVSUBS1_API __attribute__((visibility("default")))
#else
#define CVSUBS1_API
#endif
