// The timing-constants snapshot built into the library, so that a fresh install converts UTC to
// UT1 without any file. The assembler copies the file in at build time (.incbin); CMake passes its
// path and its SHA-256 (so that a new snapshot rebuilds this object, compiler caches included).
#include <string_view>

#include "timefunc/timing_constants.hpp"

#if !defined(TALVORAN_EOP_SNAPSHOT_PATH) || !defined(TALVORAN_EOP_SNAPSHOT_SHA256)
#error "CMake passes TALVORAN_EOP_SNAPSHOT_PATH and TALVORAN_EOP_SNAPSHOT_SHA256"
#endif

__asm__("# snapshot sha256 " TALVORAN_EOP_SNAPSHOT_SHA256
        "\n"
        ".pushsection .rodata.talvoran_eop_snapshot, \"a\", @progbits\n"
        ".globl talvoran_eop_snapshot_begin\n"
        ".hidden talvoran_eop_snapshot_begin\n"
        ".globl talvoran_eop_snapshot_end\n"
        ".hidden talvoran_eop_snapshot_end\n"
        "talvoran_eop_snapshot_begin:\n"
        ".incbin \"" TALVORAN_EOP_SNAPSHOT_PATH
        "\"\n"
        "talvoran_eop_snapshot_end:\n"
        ".byte 0\n"
        ".popsection\n");

extern "C" {
__attribute__((visibility("hidden"))) extern const char talvoran_eop_snapshot_begin[];
__attribute__((visibility("hidden"))) extern const char talvoran_eop_snapshot_end[];
}

namespace timefunc {

std::string_view EmbeddedEopText() {
  return {talvoran_eop_snapshot_begin,
          static_cast<std::size_t>(talvoran_eop_snapshot_end - talvoran_eop_snapshot_begin)};
}

}  // namespace timefunc
