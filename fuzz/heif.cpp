// The picture loader on HEIF files: every input starts with the file type box
// of a HEIC or (when its brand already says so) an AVIF file, as the encoder
// writes it; the rest is the fuzzer's.

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    vz::fuzz::startGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    const bool avif = input.sliced(qMin<qsizetype>(input.size(), 8)).startsWith("avif");
    const QByteArrayView fileType(avif ? "\0\0\0\x1C" "ftypavif" : "\0\0\0\x1C" "ftypheic", 12);
    vz::fuzz::loadPictureFile(vz::fuzz::withSignature(data, size, fileType));
    vz::fuzz::letTimersRun();
    return 0;
}
