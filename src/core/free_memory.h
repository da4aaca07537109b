#pragma once

namespace dravin {

// Hands memory freed by finished work (a recording's encoder, a snapshot's pictures) back to the
// system. The allocator keeps freed pages of each thread's heap for reuse, and the heaps of the
// threads that come and go with recordings otherwise grow with every recording.
void releaseFreedMemory();

}  // namespace dravin
