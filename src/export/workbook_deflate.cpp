#include "export/workbook_deflate.h"

#include <dlfcn.h>

// libxlsxwriter packs a workbook's parts into the file through minizip at zlib's default level
// and offers no setting for it. A sheet of a million households is about 700 MB of XML, and
// deflating it at the default level took more CPU time than everything else of the export
// together; the fastest level takes about a third of that for a file about a third larger,
// which every spreadsheet program reads alike. So the one minizip call that opens a part of the
// file is defined here, in the program, where the dynamic linker finds it before minizip's own,
// and passed on to minizip's with the fastest level. The parts' contents are unchanged.

namespace {

constexpr int kDeflated = 8;  // Z_DEFLATED
constexpr int kBestSpeed = 1; // Z_BEST_SPEED

using OpenInZip = int (*)(void *, const char *, const void *, const void *, unsigned, const void *, unsigned,
                          const char *, int, int, int, int, int, int, const char *, unsigned long, unsigned long,
                          unsigned long, int);

} // namespace

extern "C" __attribute__((visibility("default"))) int
zipOpenNewFileInZip4_64(void *file, const char *filename, const void *zipfi, const void *extrafield_local,
                        unsigned size_extrafield_local, const void *extrafield_global, unsigned size_extrafield_global,
                        const char *comment, int method, int level, int raw, int windowBits, int memLevel,
                        int strategy, const char *password, unsigned long crcForCrypting, unsigned long versionMadeBy,
                        unsigned long flagBase, int zip64)
{
    static const auto minizip = reinterpret_cast<OpenInZip>(dlsym(RTLD_NEXT, "zipOpenNewFileInZip4_64"));
    if (!minizip)
        return -104; // ZIP_INTERNALERROR: the workbook is reported as not written
    if (method == kDeflated && !raw)
        level = kBestSpeed;
    return minizip(file, filename, zipfi, extrafield_local, size_extrafield_local, extrafield_global,
                   size_extrafield_global, comment, method, level, raw, windowBits, memLevel, strategy, password,
                   crcForCrypting, versionMadeBy, flagBase, zip64);
}

namespace fenlark {

void useFastWorkbookDeflate() {}

} // namespace fenlark
