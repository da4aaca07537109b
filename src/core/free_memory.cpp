#include "free_memory.h"

#include <malloc.h>

namespace dravin {

void releaseFreedMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace dravin
