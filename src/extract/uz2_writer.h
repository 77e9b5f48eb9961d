#pragma once
// Writes the .uz2 form of a package (uz2_format.h) in chunks of 32,768 bytes as UT2004's own
// tool lays them out, the last one shorter, each a zlib stream at level 9 exactly as zlib's
// compress2 makes it. The chunks are independent, so several threads compress them at once,
// over a window of 16 chunks per thread: memory stays small whatever the package's size,
// and the bytes written do not depend on the number of threads.
#include <cstdint>
#include <string_view>

#include "runtime/file_io.h"
#include "runtime/file_write.h"

namespace quarrix {

// The .uz2 form of the package as pieces for WriteFileAtomic, one piece a chunk, compressed
// on `threads` threads (0: one per processor). An empty package gives an empty file. The
// package should be at most kUz2PackageLimit bytes, the most a reader takes: refusing a
// larger one is the caller's. The file's pieces throw FileOpenError when a read fails or the
// file is shorter than when it was opened; bytes in memory must outlive their pieces.
BytePieces CompressedPackagePieces(RangedFile& package, unsigned threads = 0);
BytePieces CompressedPackagePieces(std::string_view package, unsigned threads = 0);

}  // namespace quarrix
