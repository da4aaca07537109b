#pragma once

#include <string>

namespace dravin::gst {

// Rewrites a finished MP4 without the room its writer held in reserve for the index, index
// first, and puts it in place of the original in one rename. Streams are copied, not encoded
// again. Blocks until done; run it off the main thread. Returns why the file was left as it
// was (too little free space, a file that does not demux), empty once it is replaced. The
// original is untouched whenever this fails.
std::string compactMovie(const std::string& path);

}  // namespace dravin::gst
